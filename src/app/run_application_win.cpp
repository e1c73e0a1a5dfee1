// The launcher: one shell request for a drive path, or one per history record that carries the
// name.
#include "app/run_application.h"

#include "app/launch_policy.h"
#include "app/shell_open.h"
#include "catalogue/user_assist.h"
#include "common/path_text.h"

bool ShellOpenFile(const WideString& wstrFile) {
    SHELLEXECUTEINFOW sei = ShellOpenRequest(wstrFile.c_str());
    return ShellExecuteExW(&sei) != FALSE;
}

bool LaunchByDisplayName(const std::vector<AppEntry>& vctApps, WideString wstrName,
                         FileOpener open) {
    for (size_t i = 0; i < vctApps.size(); ++i) {
        const AppEntry& ad = vctApps[i];
        if (!EqualsIgnoringAsciiCase(TextBeforeZero(ad.wszAppName, kPathCapacity), wstrName)) {
            continue;
        }
        // The history is outside data too: a record reaches the shell only by a drive path.
        const WideString wstrPath = TextBeforeZero(ad.wszIconPath, kPathCapacity);
        if (IsDrivePath(wstrPath) && open(wstrPath)) {
            return true;
        }
    }
    return false;
}

bool RunApplication(OsFamily family, const WideString& wstrApplication, IconKeeping keeping,
                    FileOpener open) {
    // A text too long for a path buffer names no program the shell could open.
    if (!FitsPathBuffer(wstrApplication)) {
        return false;
    }
    if (!LaunchPermittedByPolicy(family, wstrApplication, keeping)) {
        return false;
    }
    const WideString wstrPath = DrivePathOf(wstrApplication);
    if (!wstrPath.empty()) {
        return open(wstrPath);
    }
    std::vector<AppEntry> vctApps;
    ReadUserAssist(UsageFamilyOf(family), vctApps, NULL);
    return LaunchByDisplayName(vctApps, wstrApplication, open);
}
