// What this process holds, counted the ways that tell the truth under Wine as on Windows: GDI
// objects from the shared GDI handle table, USER objects by probing user handles and walking
// the windows, kernel handles and private bytes from the process's own accounts.
#ifndef NPDESKLAUNCH_TESTS_HOST_RESOURCE_COUNTERS_H
#define NPDESKLAUNCH_TESTS_HOST_RESOURCE_COUNTERS_H

#include <windows.h>

#include <stdint.h>

#include <string>
#include <vector>

namespace nphost {

struct ResourceCounters {
    long long nGdiObjects = 0;       // live entries of the GDI handle table that GDI confirms
    long long nDcs = 0;              // of those: device contexts
    long long nBitmaps = 0;          // of those: bitmaps
    long long nUserObjects = 0;      // icons, cursors and menus, and this process's windows
    long long nIcons = 0;            // of those: icons and cursors
    long long nWindows = 0;          // of those: windows
    long long nHandles = 0;          // kernel handles (GetProcessHandleCount)
    long long nPrivateBytes = 0;     // committed private memory (GetProcessMemoryInfo PrivateUsage)
    long long nGuiResourcesGdi = 0;  // what GetGuiResources says, for the record only
    long long nGuiResourcesUser = 0; // (Wine answers 0)
};

ResourceCounters ReadResourceCounters();

// One line: every counter by name.
std::string Describe(const ResourceCounters& counters);

// How much a counter may grow over a soak and still count as flat.
struct FlatnessMargins {
    long long nGdiObjects;
    long long nUserObjects;
    long long nHandles;
    long long nPrivateBytes;
};

// What each counter grew by, per step, over `nSteps` steps from `before` to `after`; rounded
// up, and 0 where it did not grow.
FlatnessMargins GrowthPer(const ResourceCounters& before, const ResourceCounters& after,
                          int nSteps);

// A line for each counter that grew beyond its margin from `before` to `after`, naming the
// counter first ("GDI objects", "USER objects", "kernel handles", "private bytes"); empty when
// all stayed flat.
std::vector<std::string> GrowthBeyond(const ResourceCounters& before, const ResourceCounters& after,
                                      const FlatnessMargins& margins);

} // namespace nphost

#endif
