// The launcher: one shell request for a path, or one per history record that carries the name.
#include "picker/launcher.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "catalogue/usage_history.h"

namespace {

typedef void (*UsageHistoryReader)(std::vector<AppEntry>& vctApps);

bool OpenWithShell(SHELLEXECUTEINFOW& sif, const WideChar* wszFile) {
    sif.lpFile = wszFile;
    return ShellExecuteExW(&sif) != FALSE;
}

bool LaunchApplication(const WideString& wstrApplication, UsageHistoryReader readHistory) {
    const WideString wstrOperation = L"open";
    SHELLEXECUTEINFOW sif;
    ZeroMemory(&sif, sizeof(sif));
    sif.cbSize = sizeof(sif);
    sif.fMask = 0; // the shell reports its own errors
    sif.hwnd = NULL;
    sif.lpVerb = wstrOperation.c_str();
    sif.lpParameters = NULL;
    sif.lpDirectory = NULL;
    sif.nShow = SW_SHOW;

    if (IsApplicationPath(wstrApplication)) {
        return OpenWithShell(sif, wstrApplication.c_str());
    }
    std::vector<AppEntry> vctApps;
    readHistory(vctApps);
    for (size_t i = 0; i < vctApps.size(); ++i) {
        const AppEntry ad = vctApps[i];
        const WideString wstrName = TextBeforeZero(ad.wszAppName, kPathCapacity);
        if (EqualsIgnoringAsciiCase(wstrName, wstrApplication) &&
            OpenWithShell(sif, ad.wszIconPath)) {
            return true;
        }
    }
    return false;
}

} // namespace

bool IsApplicationPath(const WideString& wstrApplication) {
    return wstrApplication.find(WIDE(":\\")) != WideString::npos;
}

bool LaunchApplicationNt6(WideString wstrApplication) {
    return LaunchApplication(wstrApplication, ReadUserAssistNt6);
}

bool LaunchApplicationNt5(WideString wstrApplication) {
    return LaunchApplication(wstrApplication, ReadUserAssistNt5);
}
