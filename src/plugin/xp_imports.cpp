// Windows XP has no GetTickCount64, which the statically linked thread library imports; this
// module answers that import itself from the performance counter, which XP has.
#if defined(__MINGW32__) && !defined(_WIN64)
#include <windows.h>

namespace {

ULONGLONG WINAPI TickCount64() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    if (!QueryPerformanceFrequency(&frequency) || !QueryPerformanceCounter(&counter) ||
        frequency.QuadPart <= 0) {
        return GetTickCount();
    }
    const ULONGLONG nFrequency = static_cast<ULONGLONG>(frequency.QuadPart);
    const ULONGLONG nCounter = static_cast<ULONGLONG>(counter.QuadPart);
    return nCounter / nFrequency * 1000 + nCounter % nFrequency * 1000 / nFrequency;
}

} // namespace

// The import slot the thread library calls through, filled here instead of from kernel32.
extern "C" ULONGLONG(WINAPI* TickCount64Import)() __asm__("__imp__GetTickCount64@0");
ULONGLONG(WINAPI* TickCount64Import)() = TickCount64;
#endif
