// Icon lookup: plain files, shell shortcuts and the Control Panel program.
#include "icons/icon_lookup.h"

#include <shlobj.h>
#include <shlwapi.h>
#include <string.h>

#include "common/path_text.h"
#include "common/shell_link.h"
#include "common/unique_resource.h"
#include "icons/icon_paths.h"

namespace {

// Position of the Control Panel icon in shell32.dll.
const int kControlPanelIconIndex = 21;

// Reads the icon setting of the shortcut at `wstrLinkPath`; with none, the shortcut's target.
// False when that does not begin with a drive.
bool ReadShortcutIconLocation(const WideString& wstrLinkPath, WCHAR* wszIconLocation, int* piIcon) {
    ShellLink psl;
    if (!psl.Load(wstrLinkPath)) {
        return false;
    }
    if (psl->GetIconLocation(wszIconLocation, static_cast<int>(kPathCapacity), piIcon) != S_OK) {
        return false;
    }
    wszIconLocation[kPathCapacity - 1] = 0;
    if (wszIconLocation[0] == 0) {
        WIN32_FIND_DATAW findData;
        memset(&findData, 0, sizeof(findData));
        psl->GetPath(wszIconLocation, static_cast<int>(kPathCapacity), &findData, 0);
        wszIconLocation[kPathCapacity - 1] = 0;
    }
    // What a shortcut names is read only from a drive, never from a server share.
    return BeginsWithDrive(TextBeforeZero(wszIconLocation, kPathCapacity));
}

// The system's shell32.dll; empty when the system folder cannot be had.
WideString ShellLibraryPath() {
    WCHAR szSystem32[kPathCapacity];
    memset(szSystem32, 0, sizeof(szSystem32));
    if (!::SHGetSpecialFolderPathW(NULL, szSystem32, CSIDL_SYSTEM, FALSE) || szSystem32[0] == 0) {
        return WideString();
    }
    return TextBeforeZero(szSystem32, kPathCapacity) + L"\\shell32.dll";
}

} // namespace

HICON ExtractAppIcon(WideString wstrAppPath) {
    WCHAR wszIconLocation[kPathCapacity];
    memset(wszIconLocation, 0, sizeof(wszIconLocation));
    if (!::PathFileExistsW(wstrAppPath.c_str())) {
        return NULL;
    }
    int iIcon = 0;
    if (IsShortcutPath(wstrAppPath)) {
        if (!ReadShortcutIconLocation(wstrAppPath, wszIconLocation, &iIcon)) {
            return NULL;
        }
    } else {
        if (!FitsPathBuffer(wstrAppPath)) {
            return NULL;
        }
        CopyToBuffer(wszIconLocation, kPathCapacity, wstrAppPath);
    }

    HICON hIconLarge = NULL;
    HICON hIconSmall = NULL;
    const WideString wstrIconLocation = TextBeforeZero(wszIconLocation, kPathCapacity);
    UINT nExtracted;
    if (IsControlPanelPath(wstrIconLocation)) {
        const WideString wstrShell = ShellLibraryPath();
        if (wstrShell.empty()) {
            return NULL;
        }
        nExtracted = ::ExtractIconExW(wstrShell.c_str(), kControlPanelIconIndex, &hIconLarge,
                                      &hIconSmall, 1);
    } else {
        nExtracted = ::ExtractIconExW(wstrIconLocation.c_str(), iIcon, &hIconLarge, &hIconSmall, 1);
    }
    UniqueIcon iconLarge(hIconLarge);
    UniqueIcon iconSmall(hIconSmall);
    if (static_cast<INT>(nExtracted) <= 0) {
        return NULL;
    }
    return iconLarge.release();
}
