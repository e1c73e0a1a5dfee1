// The launcher: one shell request for a path, or one per history record that carries the name.
#include "app/run_application.h"

#include <windows.h>
#include <shellapi.h>

#include "app/launch_policy.h"
#include "catalogue/user_assist.h"
#include "common/path_text.h"

namespace {

// Opens programs with the "open" verb, no arguments, the shell's default folder, shown normally;
// the shell reports its own errors.
class ShellOpener {
  public:
    ShellOpener() : wstrOperation_(WIDE("open")) {
        ZeroMemory(&sif_, sizeof(sif_));
        sif_.cbSize = sizeof(sif_);
        sif_.fMask = 0;
        sif_.hwnd = NULL;
        sif_.lpVerb = wstrOperation_.c_str();
        sif_.lpParameters = NULL;
        sif_.lpDirectory = NULL;
        sif_.nShow = SW_SHOW;
    }
    ShellOpener(const ShellOpener&) = delete;
    ShellOpener& operator=(const ShellOpener&) = delete;

    bool Open(const WideChar* wszFile) {
        sif_.lpFile = wszFile;
        return ShellExecuteExW(&sif_) != FALSE;
    }

  private:
    const WideString wstrOperation_;
    SHELLEXECUTEINFOW sif_;
};

} // namespace

bool IsApplicationPath(const WideString& wstrApplication) {
    return wstrApplication.find(WIDE(":\\")) != WideString::npos;
}

bool LaunchByDisplayName(const std::vector<AppEntry>& vctApps, WideString wstrName) {
    ShellOpener opener;
    for (size_t i = 0; i < vctApps.size(); ++i) {
        const AppEntry& ad = vctApps[i];
        if (!EqualsIgnoringAsciiCase(TextBeforeZero(ad.wszAppName, kPathCapacity), wstrName)) {
            continue;
        }
        const WideString wstrPath = TextBeforeZero(ad.wszIconPath, kPathCapacity);
        if (opener.Open(wstrPath.c_str())) {
            return true;
        }
    }
    return false;
}

bool RunApplication(OsFamily family, const WideString& wstrApplication) {
    // A text too long for a path buffer names no program the shell could open.
    if (!FitsPathBuffer(wstrApplication)) {
        return false;
    }
    if (!LaunchPermittedByPolicy(family, wstrApplication)) {
        return false;
    }
    if (IsApplicationPath(wstrApplication)) {
        ShellOpener opener;
        return opener.Open(wstrApplication.c_str());
    }
    std::vector<AppEntry> vctApps;
    ReadUserAssist(UsageFamilyOf(family), vctApps, NULL);
    return LaunchByDisplayName(vctApps, wstrApplication);
}
