// The pick: dialog, identity of the chosen file and its icon.
#include "app/pick_application.h"

#include "app/launch_policy.h"
#include "catalogue/app_identity.h"
#include "catalogue/result_text.h"
#include "common/path_text.h"
#include "common/unique_resource.h"
#include "icons/bitmap_file.h"
#include "icons/images_folder.h"
#include "picker/picker_dialog.h"
#include "picker/picker_rules.h"

namespace {

// What the chosen file stands for, its icon stored in the images folder.
PickOutcome IdentifyChoice(const WideString& wstrChosen, const WideString& wstrTitle,
                           PickedApplication& entry) {
    // The images folder with a trailing separator; without one no icon can be stored.
    WideChar wszAppFolder[kPathCapacity] = {0};
    const bool bHaveFolder = GetImagesFolder(wszAppFolder);
    const WideString wstrPathPos = TextBeforeZero(wszAppFolder, kPathCapacity) + WIDE("\\");
    WideString wstrProductName;
    if (!IsShortcutPath(wstrChosen)) {
        // Without a product name the file title serves.
        static_cast<void>(GetProductName(wstrChosen, wstrProductName));
        if (!bHaveFolder || !SaveAppIcon(wstrChosen, wstrPathPos)) {
            return PickIconNotStored;
        }
        if (wstrProductName.empty()) {
            wstrProductName = TitleWithoutLastExtension(wstrTitle);
        }
        entry.wstrPath = wstrChosen;
        entry.wstrName = ReplyDisplayName(wstrProductName);
        return PickChosen;
    }
    wstrProductName = TitleWithoutLastExtension(wstrTitle);
    // A shortcut without a target leaves an empty path, whose icon cannot be stored.
    WideString wstrExePath;
    static_cast<void>(ResolveShortcutTarget(wstrChosen, wstrExePath));
    if (!bHaveFolder || !SaveAppIcon(wstrExePath, wstrPathPos)) {
        return PickShortcutIconNotStored;
    }
    entry.wstrPath = wstrExePath;
    entry.wstrName = ReplyDisplayName(wstrProductName);
    return PickChosen;
}

} // namespace

WideString PickedEntryText(const PickedApplication& entry) {
    WideString wstrText;
    AppendEntryText(wstrText, entry.wstrPath, entry.wstrName);
    return wstrText;
}

PickOutcome PickApplication(PickedApplication& entry) {
    // The open-file dialog and a chosen shortcut's link object want COM on this thread: it is
    // set up once for the whole pick and left as it was found.
    const ComApartment com;
    WideChar wszFilaPath[kPathCapacity] = {0};
    WideChar wszAppName[kPathCapacity] = {0};
    if (ShowPickerDialog(wszFilaPath, wszAppName) != IDOK || wszFilaPath[0] == 0) {
        return PickCancelled;
    }
    const PickOutcome outcome = IdentifyChoice(TextBeforeZero(wszFilaPath, kPathCapacity),
                                               TextBeforeZero(wszAppName, kPathCapacity), entry);
    // What a pick returns may be started later even where only listed programs may start.
    if (outcome == PickChosen) {
        RememberPickedPath(entry.wstrPath);
    }
    return outcome;
}
