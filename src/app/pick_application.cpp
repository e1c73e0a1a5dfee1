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

// Stores the icon of `wstrAppPath` in the images folder, or keeps its file in `vecIcon`.
bool KeepIcon(const WideString& wstrAppPath, IconKeeping keeping,
              std::vector<unsigned char>& vecIcon) {
    if (keeping == IconsKeptInMemory) {
        return RenderAppIconFile(wstrAppPath, vecIcon);
    }
    // The images folder with a trailing separator; without one no icon can be stored.
    WideChar wszAppFolder[kPathCapacity] = {0};
    const bool bHaveFolder = GetImagesFolder(wszAppFolder);
    const WideString wstrPathPos = TextBeforeZero(wszAppFolder, kPathCapacity) + WIDE("\\");
    return bHaveFolder && SaveAppIcon(wstrAppPath, wstrPathPos);
}

// What the chosen file stands for, its icon kept as `keeping` says.
PickOutcome IdentifyChoice(const WideString& wstrChosen, const WideString& wstrTitle,
                           IconKeeping keeping, PickedApplication& entry) {
    WideString wstrProductName;
    if (!IsShortcutPath(wstrChosen)) {
        // Without a product name the file title serves.
        static_cast<void>(GetProductName(wstrChosen, wstrProductName));
        if (!KeepIcon(wstrChosen, keeping, entry.vecIcon)) {
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
    if (!KeepIcon(wstrExePath, keeping, entry.vecIcon)) {
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

PickOutcome PickApplication(PickedApplication& entry, HWND hOwner, IconKeeping keeping) {
    // The open-file dialog and a chosen shortcut's link object want COM on this thread: it is
    // set up once for the whole pick and left as it was found.
    const ComApartment com;
    WideChar wszFilaPath[kPathCapacity] = {0};
    WideChar wszAppName[kPathCapacity] = {0};
    if (ShowPickerDialog(wszFilaPath, wszAppName, hOwner) != IDOK || wszFilaPath[0] == 0) {
        return PickCancelled;
    }
    const PickOutcome outcome =
        IdentifyChoice(TextBeforeZero(wszFilaPath, kPathCapacity),
                       TextBeforeZero(wszAppName, kPathCapacity), keeping, entry);
    // What a pick returns may be started later even where only listed programs may start.
    if (outcome == PickChosen) {
        RememberPickedPath(entry.wstrPath);
    }
    return outcome;
}
