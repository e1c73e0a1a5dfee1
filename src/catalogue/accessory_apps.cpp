// The accessory table, the accessory paths built from the system folder, and duplicate tests.
#include "catalogue/accessory_apps.h"

#include "common/path_text.h"

const WideChar* const AccessoryDisplayNames[kAccessoryCount] = {
    WIDE("\u753B\u56FE"),                   // Paint
    WIDE("\u8BB0\u4E8B\u672C"),             // Notepad
    WIDE("\u8BA1\u7B97\u5668"),             // Calculator
    WIDE("\u63A7\u5236\u9762\u677F"),       // Control Panel
    WIDE("\u8D44\u6E90\u7BA1\u7406\u5668"), // Explorer
};

namespace {

// File names of the accessories; the first four lie in the system folder, the last in Windows.
const WideChar* const cpApp[kAccessoryCount] = {
    WIDE("\\mspaint.exe"), WIDE("\\notepad.exe"),  WIDE("\\calc.exe"),
    WIDE("\\control.exe"), WIDE("\\explorer.exe"),
};
const size_t kWindowsFolderAccessory = 4;

} // namespace

bool AccessoryPathsFromSystemFolder(const WideString& wstrSystemFolder,
                                    std::vector<WideString>& vecAccessory) {
    const size_t nSlash = wstrSystemFolder.rfind(WIDE('\\'));
    if (wstrSystemFolder.empty() || nSlash == WideString::npos) {
        return false;
    }
    const WideString wstrWindowsFolder = wstrSystemFolder.substr(0, nSlash);
    std::vector<WideString> vecPaths;
    for (size_t k = 0; k < kAccessoryCount; ++k) {
        const WideString& wstrFolder =
            k == kWindowsFolderAccessory ? wstrWindowsFolder : wstrSystemFolder;
        const WideString wstrPath = wstrFolder + cpApp[k];
        if (!FitsPathBuffer(wstrPath)) {
            return false;
        }
        vecPaths.push_back(wstrPath);
    }
    vecAccessory.insert(vecAccessory.end(), vecPaths.begin(), vecPaths.end());
    return true;
}

bool IsAccessoryDuplicateNt6(const AppEntry& ad, const std::vector<WideString>& vecAccessory) {
    const WideString wstrExePath = TextBeforeZero(ad.wszExePath, kPathCapacity);
    for (size_t k = 0; k < vecAccessory.size(); ++k) {
        if (EqualsIgnoringAsciiCase(vecAccessory[k], wstrExePath)) {
            return true;
        }
    }
    return false;
}

bool IsAccessoryDuplicateNt5(const AppEntry& ad, const std::vector<WideString>& vecAccessory) {
    const WideString wstrExePath = TextBeforeZero(ad.wszExePath, kPathCapacity);
    const WideString wstrAppName = TextBeforeZero(ad.wszAppName, kPathCapacity);
    for (size_t k = 0; k < vecAccessory.size(); ++k) {
        if (EqualsIgnoringAsciiCase(vecAccessory[k], wstrExePath) ||
            vecAccessory[k].find(wstrAppName) != WideString::npos) {
            return true;
        }
    }
    return false;
}
