// Readers of the shell's per-user usage history (the UserAssist registry keys).
#ifndef NPDESKLAUNCH_CATALOGUE_USAGE_HISTORY_H
#define NPDESKLAUNCH_CATALOGUE_USAGE_HISTORY_H

#include <vector>

#include "catalogue/app_entry.h"

// Append the programs of the family's history to `vctApps`, merged by name and by executable.
void ReadUserAssistNt6(std::vector<AppEntry>& vctApps);
void ReadUserAssistNt5(std::vector<AppEntry>& vctApps);

// Orders the list by nRunCount, largest first, by exchanging each record with every later one
// that has a larger count; records with equal counts may change places on the way.
void SortByRunCount(std::vector<AppEntry>& vctApps);

#endif
