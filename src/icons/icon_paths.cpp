// Text rules of the icon cache: Control Panel paths, bitmap file names, folders.
#include "icons/icon_paths.h"

#include "common/path_text.h"

namespace {

// Windows opens a device for these in every folder, whatever follows the first dot.
const WideChar* const kDeviceNames[] = {WIDE("CON"), WIDE("PRN"), WIDE("AUX"), WIDE("NUL")};
const WideChar* const kNumberedDevices[] = {WIDE("COM"), WIDE("LPT")};

bool IsDeviceDigit(WideChar unit) {
    // The superscript one, two and three count as digits here too.
    return (unit >= WIDE('1') && unit <= WIDE('9')) || unit == 0xB9 || unit == 0xB2 || unit == 0xB3;
}

bool IsDeviceName(const WideString& wstrName) {
    // The device is the text before the first dot, without the spaces that end it.
    WideString wstrBase = wstrName.substr(0, wstrName.find(WIDE('.')));
    wstrBase.erase(wstrBase.find_last_not_of(WIDE(' ')) + 1);
    for (const WideChar* wszDevice : kDeviceNames) {
        if (EqualsIgnoringAsciiCase(wstrBase, wszDevice)) {
            return true;
        }
    }
    if (wstrBase.size() != 4 || !IsDeviceDigit(wstrBase[3])) {
        return false;
    }
    for (const WideChar* wszDevice : kNumberedDevices) {
        if (EqualsIgnoringAsciiCase(wstrBase.substr(0, 3), wszDevice)) {
            return true;
        }
    }
    return false;
}

void AppendHex(WideString& wstrText, uint32_t nValue) {
    const WideChar kDigits[] = WIDE("0123456789abcdef");
    WideString wstrDigits;
    do {
        wstrDigits.insert(wstrDigits.begin(), kDigits[nValue % 16]);
        nValue /= 16;
    } while (nValue != 0);
    wstrText += wstrDigits;
}

} // namespace

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

bool IsStorableBitmapName(const WideString& wstrName) {
    if (wstrName.find_first_of(WIDE("\\/:")) != WideString::npos) {
        return false;
    }
    if (wstrName == WIDE(".") || wstrName == WIDE("..")) {
        return false;
    }
    if (!wstrName.empty() && (wstrName.back() == WIDE('.') || wstrName.back() == WIDE(' '))) {
        return false;
    }
    return !IsDeviceName(wstrName);
}

bool BitmapFilePath(const WideString& wstrFolder, const WideString& wstrName,
                    WideString* pwstrFilePath) {
    if (!IsStorableBitmapName(wstrName)) {
        return false;
    }
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

WideString FolderOfFile(const WideString& wstrFilePath) {
    // Up to the last backslash, then without the backslashes that end it but a drive's own.
    WideString wstrFolder = wstrFilePath.substr(0, wstrFilePath.rfind(WIDE('\\')) + 1);
    while (wstrFolder.size() > 1 && wstrFolder.back() == WIDE('\\') &&
           wstrFolder[wstrFolder.size() - 2] != WIDE(':')) {
        wstrFolder.pop_back();
    }
    return wstrFolder;
}

bool IsWritableImagesFolder(uint32_t nAttributes) {
    return (nAttributes & kAttributeDirectory) != 0 && (nAttributes & kAttributeReparsePoint) == 0;
}

bool IsReplaceableBitmap(uint32_t nAttributes, uint32_t nLinks) {
    const uint32_t nRefused = kAttributeReadOnly | kAttributeDirectory | kAttributeReparsePoint;
    return (nAttributes & nRefused) == 0 && nLinks <= 1;
}

WideString TemporaryFileName(uint32_t nProcess, uint32_t nSerial) {
    WideString wstrName = WIDE("~npd");
    AppendHex(wstrName, nProcess);
    wstrName += WIDE('-');
    AppendHex(wstrName, nSerial);
    return wstrName + WIDE(".tmp");
}
