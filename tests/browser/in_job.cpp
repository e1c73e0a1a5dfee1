// Starts a program in a job that ends everything in it when the job closes, with breaking away
// allowed: the job Firefox on Windows starts its native messaging host in, and ends with the
// port. Waits for the program and answers its exit code; the job closes as this one ends.
//   in_job PROGRAM [ARGUMENTS...]
#include <windows.h>

#include <string>

#include "common/unique_resource.h"

int wmain(int argc, wchar_t**) {
    if (argc < 2) {
        return 2;
    }
    // The program's command line: this one's less its own first word.
    std::wstring commandLine = GetCommandLineW();
    size_t nEnd = commandLine[0] == L'"' ? commandLine.find(L'"', 1) + 1 : commandLine.find(L' ');
    commandLine = commandLine.substr(commandLine.find_first_not_of(L' ', nEnd));

    UniqueHandle job(CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags =
        JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_BREAKAWAY_OK;
    if (!job || !SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits,
                                         sizeof(limits))) {
        return 3;
    }
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr,
                        nullptr, &si, &pi)) {
        return 4;
    }
    UniqueHandle process(pi.hProcess);
    UniqueHandle thread(pi.hThread);
    if (!AssignProcessToJobObject(job.get(), process.get())) {
        TerminateProcess(process.get(), 5);
        return 5;
    }
    ResumeThread(thread.get());
    WaitForSingleObject(process.get(), INFINITE);
    DWORD dwExit = 0;
    GetExitCodeProcess(process.get(), &dwExit);
    return static_cast<int>(dwExit);
}
