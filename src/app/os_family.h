// The operating-system families the module tells apart, and the rules each served one reads its
// usage history by; only Nt5 and Nt6 are served.
#ifndef NPDESKLAUNCH_APP_OS_FAMILY_H
#define NPDESKLAUNCH_APP_OS_FAMILY_H

#include "catalogue/history_rules.h"

enum OsFamily {
    OsFamilyOther = 0,
    OsFamilyWin9x = 1,
    OsFamilyNt4 = 2,
    OsFamilyNt5 = 3,
    OsFamilyNt6 = 4,
};

// The family of a version query's answer; `bQueried` false means the query failed.
OsFamily ClassifyOsFamily(bool bQueried, unsigned long dwPlatformId, unsigned long dwMajorVersion);

bool IsServedOsFamily(OsFamily family);

// The usage-history rules of a served family: NT 5's for Nt5, NT 6's otherwise.
UsageFamily UsageFamilyOf(OsFamily family);

// Asks the system afresh on every call.
OsFamily DetectOsFamily();

#endif
