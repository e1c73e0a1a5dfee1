// Readers of the shell's per-user usage history (the UserAssist registry keys), value by value,
// with a record of what became of every value.
#ifndef NPDESKLAUNCH_CATALOGUE_USER_ASSIST_H
#define NPDESKLAUNCH_CATALOGUE_USER_ASSIST_H

#include <windows.h>

#include <vector>

#include "catalogue/history_rules.h"

// The family's Count key under HKEY_CURRENT_USER.
const WideChar* UserAssistKeyPath(UsageFamily family);

// What the enumeration did at one index.
struct UserAssistValue {
    DWORD dwIndex;
    LONG lEnumResult;
    HistoryValueTrace trace; // filled when the value was used
};

// Reads the family's Count key (the same key whichever bitness this process has) into
// `vecAllApps`; with `pvecValues`, also tells what happened at every index.
void ReadUserAssist(UsageFamily family, std::vector<AppEntry>& vecAllApps,
                    std::vector<UserAssistValue>* pvecValues);

// Reads the values of an open Count key; false when the key could not be read to its end.
[[nodiscard]] bool ReadUserAssistKey(UsageFamily family, HKEY hKey,
                                     std::vector<AppEntry>& vecAllApps,
                                     std::vector<UserAssistValue>* pvecValues);

#endif
