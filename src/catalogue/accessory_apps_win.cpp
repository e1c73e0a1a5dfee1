// The accessory paths of this system, from the shell's system folder.
#include <windows.h>
#include <shlobj.h>

#include "catalogue/accessory_apps.h"

bool GetAccessoryApps(std::vector<WideString>& vecAccessory) {
    WideChar szSystem32[kPathCapacity] = {0};
    if (!SHGetSpecialFolderPathW(NULL, szSystem32, CSIDL_SYSTEM, FALSE)) {
        return false;
    }
    return AccessoryPathsFromSystemFolder(TextBeforeZero(szSystem32, kPathCapacity), vecAccessory);
}
