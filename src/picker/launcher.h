// Starts a program named by its full path or by its display name in the usage history.
#ifndef NPDESKLAUNCH_PICKER_LAUNCHER_H
#define NPDESKLAUNCH_PICKER_LAUNCHER_H

#include <vector>

#include "catalogue/app_entry.h"
#include "common/wide_text.h"

// True when the shell accepted one request to open the program; shows nothing itself.
bool LaunchApplicationNt6(WideString wstrApplication);
bool LaunchApplicationNt5(WideString wstrApplication);

// A text that contains ":\" is a path; anything else is a display name.
bool IsApplicationPath(const WideString& wstrApplication);

// Asks the shell to open each record whose display name equals `wstrName` (A to Z compared
// without case), in list order, until one opens; false when none does.
bool LaunchByDisplayName(const std::vector<AppEntry>& vctApps, WideString wstrName);

#endif
