// Classification of a version query's platform and major version, and the rules of each family.
#include "app/os_family.h"

namespace {

const unsigned long kPlatformWindows = 1; // VER_PLATFORM_WIN32_WINDOWS
const unsigned long kPlatformNt = 2;      // VER_PLATFORM_WIN32_NT

} // namespace

OsFamily ClassifyOsFamily(bool bQueried, unsigned long dwPlatformId, unsigned long dwMajorVersion) {
    if (!bQueried) {
        return OsFamilyOther;
    }
    if (dwPlatformId == kPlatformWindows) {
        return OsFamilyWin9x;
    }
    if (dwPlatformId != kPlatformNt) {
        return OsFamilyOther;
    }
    switch (dwMajorVersion) {
    case 4:
        return OsFamilyNt4;
    case 5:
        return OsFamilyNt5;
    case 6:
        return OsFamilyNt6;
    default:
        return OsFamilyOther;
    }
}

bool IsServedOsFamily(OsFamily family) {
    return family == OsFamilyNt5 || family == OsFamilyNt6;
}

UsageFamily UsageFamilyOf(OsFamily family) {
    return family == OsFamilyNt5 ? UsageFamilyNt5 : UsageFamilyNt6;
}
