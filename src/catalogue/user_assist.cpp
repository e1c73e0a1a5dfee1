// The usage-history readers: the registry's UserAssist values handed to the history rules.
#include "catalogue/user_assist.h"

#include <windows.h>
#include <shlwapi.h>

#include "catalogue/app_identity.h"
#include "catalogue/known_folders.h"
#include "catalogue/registry_view.h"
#include "common/unique_resource.h"

namespace {

// The file system and shortcuts of this system; folder tokens through `folders`.
class SystemHistoryPlatform : public FolderExpandingPlatform {
  public:
    explicit SystemHistoryPlatform(FolderSource& folders) : FolderExpandingPlatform(folders) {}
    bool FileExists(const WideString& wstrPath) override {
        return PathFileExistsW(wstrPath.c_str()) != FALSE;
    }
    bool ResolveShortcutTarget(const WideString& wstrPath, WideString& wstrTarget) override {
        return ::ResolveShortcutTarget(wstrPath, wstrTarget);
    }
};

} // namespace

const WideChar* UserAssistKeyPath(UsageFamily family) {
    if (family == UsageFamilyNt6) {
        return L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist\\"
               L"{F4E57C4B-2036-45F0-A9AB-443BCFE33D9F}\\Count";
    }
    return L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist\\"
           L"{75048700-EF1F-11D0-9888-006097DEACF9}\\Count";
}

bool ReadUserAssistKey(UsageFamily family, HKEY hKey, std::vector<AppEntry>& vecAllApps,
                       std::vector<UserAssistValue>* pvecValues) {
    SystemFolderSource folders;
    SystemHistoryPlatform platform(folders);
    for (DWORD dwIndex = 0;; ++dwIndex) {
        WideChar szTitle[kPathCapacity] = {0};
        DWORD dwTitleSize = kPathCapacity;
        BYTE szDataFile[kUsageDataCapacity] = {0};
        DWORD dwDataSize = sizeof(szDataFile);
        DWORD dwType = 0;
        const LONG lResult = RegEnumValueW(hKey, dwIndex, szTitle, &dwTitleSize, NULL, &dwType,
                                           szDataFile, &dwDataSize);
        UserAssistValue value = UserAssistValue();
        value.dwIndex = dwIndex;
        value.lEnumResult = lResult;
        const EnumerationStep step = StepAfterEnumeration(lResult);
        if (step == EnumerationStop) {
            return lResult == ERROR_NO_MORE_ITEMS;
        }
        if (step == EnumerationUseValue) {
            const size_t nTitle = dwTitleSize < kPathCapacity ? dwTitleSize : kPathCapacity - 1;
            const size_t nData = dwDataSize < sizeof(szDataFile) ? dwDataSize : sizeof(szDataFile);
            value.trace = AddHistoryValue(family, vecAllApps, WideString(szTitle, nTitle),
                                          szDataFile, nData, platform);
        }
        if (pvecValues != NULL) {
            pvecValues->push_back(value);
        }
    }
}

void ReadUserAssist(UsageFamily family, std::vector<AppEntry>& vecAllApps,
                    std::vector<UserAssistValue>* pvecValues) {
    UniqueRegKey hKey;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, UserAssistKeyPath(family), 0, KEY_READ | SharedUserView(),
                      hKey.put()) != ERROR_SUCCESS) {
        return;
    }
    // A key that could not be read to its end gives the records read until then.
    static_cast<void>(ReadUserAssistKey(family, hKey.get(), vecAllApps, pvecValues));
}
