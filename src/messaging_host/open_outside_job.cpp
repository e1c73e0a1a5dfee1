// Opening a file from outside the job object the host runs in.
#include "messaging_host/open_outside_job.h"

#include <windows.h>

#include "app/run_application.h"
#include "app/shell_open.h"
#include "common/path_text.h"
#include "common/unique_resource.h"

const WideChar kOpenFileSwitch[] = WIDE("--open-file");

namespace {

// How long the copy may take to hand the file to the shell.
const DWORD kOpenTimeoutMs = 60000;

// The launcher's shell request, without the shell's own error boxes: the host answers with an
// error instead, and nobody may be there to close a box.
bool OpenQuietly(const WideString& wstrFile) {
    SHELLEXECUTEINFOW sei = ShellOpenRequest(wstrFile.c_str());
    sei.fMask |= SEE_MASK_FLAG_NO_UI;
    return ShellExecuteExW(&sei) != FALSE;
}

bool InJob() {
    BOOL bInJob = FALSE;
    return IsProcessInJob(GetCurrentProcess(), NULL, &bInJob) && bInJob;
}

// This program's own path; empty when it does not fit a path buffer.
WideString OwnPath() {
    WideChar wszPath[kPathCapacity] = {0};
    const DWORD nLength = GetModuleFileNameW(NULL, wszPath, kPathCapacity);
    return nLength == 0 || nLength >= kPathCapacity ? WideString() : WideString(wszPath, nLength);
}

} // namespace

bool OpenOutsideJob(const WideString& wstrFile) {
    const WideString wstrOwnPath = OwnPath();
    if (!InJob() || wstrOwnPath.empty() || !IsDrivePath(wstrFile)) {
        return OpenQuietly(wstrFile);
    }
    // Neither path holds a double quote: the path stands after the switch as it is.
    WideString wstrCommandLine =
        WIDE("\"") + wstrOwnPath + WIDE("\" ") + kOpenFileSwitch + WIDE(" ") + wstrFile;
    STARTUPINFOW si;
    ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi;
    ZeroMemory(&pi, sizeof(pi));
    if (!CreateProcessW(wstrOwnPath.c_str(), &wstrCommandLine[0], NULL, NULL, FALSE,
                        CREATE_BREAKAWAY_FROM_JOB | CREATE_NO_WINDOW, NULL, NULL, &si, &pi)) {
        // The job keeps its programs: what starts now ends with it, yet it starts.
        return GetLastError() == ERROR_ACCESS_DENIED && OpenQuietly(wstrFile);
    }
    const UniqueHandle process(pi.hProcess);
    const UniqueHandle thread(pi.hThread);
    DWORD dwExitCode = 1;
    return WaitForSingleObject(process.get(), kOpenTimeoutMs) == WAIT_OBJECT_0 &&
           GetExitCodeProcess(process.get(), &dwExitCode) && dwExitCode == 0;
}

int OpenFileRole(const WideChar* wszCommandLine) {
    // The program's path comes first, in double quotes, as OpenOutsideJob writes it.
    const WideString wstrLine = wszCommandLine ? wszCommandLine : WIDE("");
    const WideString wstrSwitch = WideString(WIDE("\" ")) + kOpenFileSwitch + WIDE(" ");
    const size_t nSwitch = wstrLine.find(wstrSwitch);
    if (wstrLine.empty() || wstrLine[0] != WIDE('"') || nSwitch == WideString::npos) {
        return 2;
    }
    const WideString wstrFile = wstrLine.substr(nSwitch + wstrSwitch.size());
    if (!IsDrivePath(wstrFile) || !FitsPathBuffer(wstrFile)) {
        return 2;
    }
    return OpenQuietly(wstrFile) ? 0 : 1;
}
