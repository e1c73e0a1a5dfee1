// Readers of the shell's per-user usage history (the UserAssist registry keys).
#ifndef NPDESKLAUNCH_CATALOGUE_USAGE_HISTORY_H
#define NPDESKLAUNCH_CATALOGUE_USAGE_HISTORY_H

#include <vector>

#include "catalogue/app_entry.h"

void ReadUserAssistNt6(std::vector<AppEntry>& vctApps);
void ReadUserAssistNt5(std::vector<AppEntry>& vctApps);

#endif
