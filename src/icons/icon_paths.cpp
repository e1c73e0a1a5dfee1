// Text rules of the icon cache: shortcut and Control Panel paths, bitmap file names, parents.
#include "icons/icon_paths.h"

bool IsShortcutPath(const WideString& wstrPath) {
    return wstrPath.find(WIDE(".lnk")) != WideString::npos;
}

bool IsControlPanelPath(const WideString& wstrIconLocation) {
    return wstrIconLocation.find(WIDE("control.exe")) != WideString::npos;
}

WideString AppIconName(const WideString& wstrAppPath) {
    const size_t iSlash = wstrAppPath.rfind(WIDE('\\'));
    const size_t iStart = iSlash == WideString::npos ? 0 : iSlash + 1;
    const size_t iDot = wstrAppPath.rfind(WIDE('.'));
    if (iDot == WideString::npos || iDot < iStart) {
        return wstrAppPath.substr(iStart);
    }
    return wstrAppPath.substr(iStart, iDot - iStart);
}

bool BitmapFilePath(const WideString& wstrFolder, const WideString& wstrName,
                    WideString* pwstrFilePath) {
    const WideString wstrPath = wstrFolder + WIDE("\\") + wstrName + WIDE(".bmp");
    if (wstrPath.size() > kPathCapacity - 1) {
        return false;
    }
    *pwstrFilePath = wstrPath;
    return true;
}

WideString ParentFolder(const WideString& wstrFolder) {
    const size_t iSlash = wstrFolder.rfind(WIDE('\\'));
    return iSlash == WideString::npos ? WideString() : wstrFolder.substr(0, iSlash);
}
