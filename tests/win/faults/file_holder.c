/* Holds files open without sharing, as another program may, until told to let go:
 *   file_holder READY_EVENT RELEASE_EVENT PATH...
 * Opens each PATH for reading and writing with share mode 0, sets the named event READY_EVENT,
 * and waits for the named event RELEASE_EVENT (two minutes at most). Exit status 0 once it held
 * the files, 1 when one could not be opened, 2 on a wrong command line. */
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    HANDLE hReady;
    HANDLE hRelease;
    int i;
    if (argc < 4) {
        return 2;
    }
    hReady = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[1]);
    hRelease = OpenEventW(SYNCHRONIZE, FALSE, argv[2]);
    if (hReady == NULL || hRelease == NULL) {
        return 2;
    }
    /* The files stay open until the process ends. */
    for (i = 3; i < argc; ++i) {
        if (CreateFileW(argv[i], GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, NULL) == INVALID_HANDLE_VALUE) {
            return 1;
        }
    }
    SetEvent(hReady);
    WaitForSingleObject(hRelease, 120000);
    return 0;
}
