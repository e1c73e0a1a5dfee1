// Drives this process's open-file dialogs as a user would: finds one, reads where it is and
// what it offers, types a file name and presses Open or Cancel.
#ifndef NPDESKLAUNCH_TESTS_HOST_FILE_DIALOG_DRIVER_H
#define NPDESKLAUNCH_TESTS_HOST_FILE_DIALOG_DRIVER_H

#include <windows.h>

#include <string>
#include <vector>

namespace nphost {

// A visible open-file dialog of this process (or of the process `dwProcess`) that is not in
// `known`, waiting up to `dwTimeoutMs` while the browser's plug-in thread pumps; null when none
// appeared.
HWND WaitForFileDialog(DWORD dwTimeoutMs, const std::vector<HWND>& known = {},
                       DWORD dwProcess = GetCurrentProcessId());

// The text of the file-type list's current choice.
std::wstring FileTypeText(HWND hDialog);

// Types `path` into the file-name box and presses Open.
void ChooseFile(HWND hDialog, const std::wstring& path);
void PressCancel(HWND hDialog);

// Pumps the plug-in thread until `hDialog` is gone; false when it is still there.
bool WaitUntilClosed(HWND hDialog, DWORD dwTimeoutMs);

// The thread that runs the dialog, opened for waiting; null when it cannot be opened.
HANDLE OpenDialogThread(HWND hDialog);

} // namespace nphost

#endif
