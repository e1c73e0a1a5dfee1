// Asks Windows which version it is.
#include <windows.h>

#include "app/os_family.h"

OsFamily DetectOsFamily() {
    OSVERSIONINFOW osvi;
    ZeroMemory(&osvi, sizeof(osvi));
    osvi.dwOSVersionInfoSize = sizeof(osvi); // 276 bytes
    const bool bQueried = GetVersionExW(&osvi) != FALSE;
    return ClassifyOsFamily(bQueried, osvi.dwPlatformId, osvi.dwMajorVersion);
}
