// Which registry view to ask for, decided from whether this process runs under WOW64.
#include "catalogue/registry_view.h"

namespace {

typedef BOOL(WINAPI* IsWow64ProcessFunction)(HANDLE, PBOOL);

// Windows 2000 and early XP lack IsWow64Process; they are 32-bit systems only.
bool RunsUnderWow64() {
    const HMODULE hKernel = GetModuleHandleW(L"kernel32.dll");
    if (hKernel == NULL) {
        return false;
    }
    const FARPROC pProcedure = GetProcAddress(hKernel, "IsWow64Process");
    if (pProcedure == NULL) {
        return false;
    }
    IsWow64ProcessFunction isWow64Process =
        reinterpret_cast<IsWow64ProcessFunction>(reinterpret_cast<void (*)()>(pProcedure));
    BOOL bWow64 = FALSE;
    return isWow64Process(GetCurrentProcess(), &bWow64) && bWow64;
}

} // namespace

REGSAM SharedUserView() {
    // KEY_WOW64_64KEY is unknown to Windows 2000 and not needed where nothing is redirected.
    return RunsUnderWow64() ? KEY_WOW64_64KEY : 0;
}

REGSAM ProcessBitnessView() {
    return 0;
}
