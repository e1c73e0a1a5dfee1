// The record of one application from the usage history, and the counts parsed from one value.
#ifndef NPDESKLAUNCH_CATALOGUE_APP_ENTRY_H
#define NPDESKLAUNCH_CATALOGUE_APP_ENTRY_H

#include <stdint.h>

#include "common/wide_text.h"

struct AppEntry {
    int32_t nRunCount;                   // ordering key, largest first
    int32_t nFocusCount;                 // summed like nRunCount, otherwise unused
    WideChar wszIconPath[kPathCapacity]; // the executable whose icon is stored and started
    WideChar wszExePath[kPathCapacity];  // the executable path written into the entry text
    WideChar wszAppName[kPathCapacity];  // the display name
};

// The two counters of one usage-history value.
struct UsageCounts {
    int32_t nRunCount;
    int32_t nFocusCount;
};

#endif
