// A usage-history record as the tests make them: a display name and one path for the icon and
// the executable.
#ifndef NPDESKLAUNCH_TESTS_SUPPORT_APP_RECORD_H
#define NPDESKLAUNCH_TESTS_SUPPORT_APP_RECORD_H

#include <string.h>

#include "catalogue/app_entry.h"

inline AppEntry Record(const WideString& name, const WideString& path) {
    AppEntry ad;
    memset(&ad, 0, sizeof(ad));
    CopyToBuffer(ad.wszAppName, kPathCapacity, name);
    CopyToBuffer(ad.wszIconPath, kPathCapacity, path);
    CopyToBuffer(ad.wszExePath, kPathCapacity, path);
    return ad;
}

#endif
