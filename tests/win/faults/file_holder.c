/* Holds a file open without sharing, as another program may, until told to let go:
 *   file_holder PATH READY_EVENT RELEASE_EVENT
 * Opens PATH for reading and writing with share mode 0, sets the named event READY_EVENT, and
 * waits for the named event RELEASE_EVENT (two minutes at most). Exit status 0 once it held the
 * file, 1 when the file could not be opened, 2 on a wrong command line. */
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    HANDLE hFile;
    HANDLE hReady;
    HANDLE hRelease;
    if (argc != 4) {
        return 2;
    }
    hReady = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
    hRelease = OpenEventW(SYNCHRONIZE, FALSE, argv[3]);
    if (hReady == NULL || hRelease == NULL) {
        return 2;
    }
    hFile = CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE) {
        return 1;
    }
    SetEvent(hReady);
    WaitForSingleObject(hRelease, 120000);
    CloseHandle(hFile);
    CloseHandle(hRelease);
    CloseHandle(hReady);
    return 0;
}
