// Picking a program: the open-file dialog, what the chosen file is, and its icon in the images
// folder.
#ifndef NPDESKLAUNCH_APP_PICK_APPLICATION_H
#define NPDESKLAUNCH_APP_PICK_APPLICATION_H

#include <windows.h>

#include <vector>

#include "app/recent_applications.h"
#include "common/wide_text.h"

enum PickOutcome {
    PickChosen,                // `entry` holds the program
    PickCancelled,             // the user chose nothing
    PickIconNotStored,         // a program was chosen whose icon could not be stored or made
    PickShortcutIconNotStored, // the same for a shortcut's target
};

// The program a pick answers with: its path and display name (at most 259 units); its icon's
// bitmap file when icons are kept in memory.
struct PickedApplication {
    WideString wstrPath;
    WideString wstrName;
    std::vector<unsigned char> vecIcon;
};

// The entry in the catalogue's text form: path, "*", name, "#".
WideString PickedEntryText(const PickedApplication& entry);

// Shows the picker dialog on the calling thread, owned by `hOwner` (without one, the thread's
// active window or the browser's frame), and waits for it to close; COM is set up on the thread
// for the pick and left as it was found. A chosen shortcut stands for its target, named by the
// shortcut's title; a program is named by its product name, else its title. The icon is kept as
// `keeping` says. Shows nothing else: telling the user of a failure is the caller's business.
PickOutcome PickApplication(PickedApplication& entry, HWND hOwner = NULL,
                            IconKeeping keeping = IconsStoredBesideModule);

#endif
