// Starts a program named by its drive path or by its display name in the usage history.
#ifndef NPDESKLAUNCH_APP_RUN_APPLICATION_H
#define NPDESKLAUNCH_APP_RUN_APPLICATION_H

#include <vector>

#include "app/os_family.h"
#include "app/recent_applications.h"
#include "catalogue/app_entry.h"
#include "common/wide_text.h"

// How a front end has a file opened: true when the shell accepted the request.
typedef bool (*FileOpener)(const WideString& wstrFile);

// Asks the shell, in this process, to open `wstrFile` (ShellOpenRequest).
bool ShellOpenFile(const WideString& wstrFile);

// Starts what `wstrApplication` names, the usage history read by the rules of the served
// `family`: true when `open` accepted one request to open a program. Starts nothing that the
// administrator's LaunchCatalogueOnly does not allow (launch_policy.h; its catalogue's icons kept
// as `keeping` says). Shows nothing itself; telling the user of a failure is the caller's
// business.
[[nodiscard]] bool RunApplication(OsFamily family, const WideString& wstrApplication,
                                  IconKeeping keeping = IconsStoredBesideModule,
                                  FileOpener open = ShellOpenFile);

// Whether `wstrPath` is a drive path: a letter A to Z (either case), ":" and "\" first, and no
// double quote anywhere. Only such a path is ever handed to the shell.
bool IsDrivePath(const WideString& wstrPath);

// The drive path that a page's text names: the text, without one pair of double quotes around
// it, when that is a drive path; empty otherwise. Any other text is a display name.
WideString DrivePathOf(const WideString& wstrText);

// Asks `open` to open each record whose display name equals `wstrName` (A to Z compared
// without case) and whose path is a drive path, in list order, until one opens; false when none
// does.
[[nodiscard]] bool LaunchByDisplayName(const std::vector<AppEntry>& vctApps, WideString wstrName,
                                       FileOpener open = ShellOpenFile);

#endif
