// Starts a program named by its full path or by its display name in the usage history.
#ifndef NPDESKLAUNCH_APP_RUN_APPLICATION_H
#define NPDESKLAUNCH_APP_RUN_APPLICATION_H

#include <vector>

#include "app/os_family.h"
#include "catalogue/app_entry.h"
#include "common/wide_text.h"

// Starts what `wstrApplication` names, the usage history read by the rules of the served
// `family`: true when the shell accepted one request to open a program. Starts nothing that the
// administrator's LaunchCatalogueOnly does not allow (launch_policy.h). Shows nothing itself;
// telling the user of a failure is the caller's business.
[[nodiscard]] bool RunApplication(OsFamily family, const WideString& wstrApplication);

// A text that contains ":\" is a path; anything else is a display name.
bool IsApplicationPath(const WideString& wstrApplication);

// Asks the shell to open each record whose display name equals `wstrName` (A to Z compared
// without case), in list order, until one opens; false when none does.
[[nodiscard]] bool LaunchByDisplayName(const std::vector<AppEntry>& vctApps, WideString wstrName);

#endif
