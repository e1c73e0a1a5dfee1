// The operating-system families the module tells apart; only Nt5 and Nt6 are served.
#ifndef NPDESKLAUNCH_SCRIPT_OS_FAMILY_H
#define NPDESKLAUNCH_SCRIPT_OS_FAMILY_H

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

// Asks the system afresh on every call.
OsFamily DetectOsFamily();

#endif
