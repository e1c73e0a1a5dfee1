// A program for the launcher to start: it tells the waiting test that it ran, then ends.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    HANDLE hStarted = OpenEventW(EVENT_MODIFY_STATE, FALSE, L"npd_launch_marker_started");
    if (!hStarted) {
        return 1;
    }
    SetEvent(hStarted);
    CloseHandle(hStarted);
    return 0;
}
