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
    // Windows 8 to 11 keep Vista's usage history: their versions 6.2, 6.3 and 10.0 (the one a
    // program with a Windows 10 manifest sees) are NT 6 to the module.
    if (dwMajorVersion >= 6) {
        return OsFamilyNt6;
    }
    if (dwMajorVersion == 5) {
        return OsFamilyNt5;
    }
    return dwMajorVersion == 4 ? OsFamilyNt4 : OsFamilyOther;
}

bool IsServedOsFamily(OsFamily family) {
    return family == OsFamilyNt5 || family == OsFamilyNt6;
}

UsageFamily UsageFamilyOf(OsFamily family) {
    return family == OsFamilyNt5 ? UsageFamilyNt5 : UsageFamilyNt6;
}
