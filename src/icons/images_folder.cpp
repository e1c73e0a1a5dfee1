// The images folder beside this module's own file.
#include "icons/images_folder.h"

#include <windows.h>

#include "common/module_handle.h"
#include "icons/icon_paths.h"

bool GetImagesFolder(WideChar (&wszAppFolder)[kPathCapacity]) {
    ZeroMemory(wszAppFolder, sizeof(wszAppFolder));
    WideChar wszModule[kPathCapacity] = {0};
    const DWORD nLength = GetModuleFileNameW(ModuleHandle(), wszModule, kPathCapacity);
    // A length of the whole capacity means the path was cut to fit (XP does not terminate it).
    if (nLength == 0 || nLength >= kPathCapacity) {
        return false;
    }
    const WideString wstrFolder = ImagesFolderBeside(WideString(wszModule, nLength));
    if (wstrFolder.empty()) {
        return false;
    }
    CopyToBuffer(wszAppFolder, kPathCapacity, wstrFolder);
    return true;
}
