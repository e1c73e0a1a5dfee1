// Text rules of the icon cache: Control Panel paths, bitmap file names, folders.
#include "icons/icon_paths.h"

#include "common/path_text.h"

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
    if (!FitsPathBuffer(wstrPath)) {
        return false;
    }
    *pwstrFilePath = wstrPath;
    return true;
}

WideString ImagesFolderBeside(const WideString& wstrModulePath) {
    WideString wstrFolder = wstrModulePath;
    const size_t nSlash = wstrFolder.rfind(WIDE('\\'));
    if (nSlash != WideString::npos) {
        wstrFolder.erase(nSlash);
    }
    wstrFolder += WIDE("\\images");
    if (!FitsPathBuffer(wstrFolder)) {
        return WideString();
    }
    return wstrFolder;
}

WideString ParentFolder(const WideString& wstrFolder) {
    const size_t iSlash = wstrFolder.rfind(WIDE('\\'));
    return iSlash == WideString::npos ? WideString() : wstrFolder.substr(0, iSlash);
}
