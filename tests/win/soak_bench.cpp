// Benchmark: 500 RecentlyApplications calls and 100 picker round trips through the host; prints
// what each process holds at the start and at the end, and the time per call and per pick.
// Wine 8 shows a process no more than 63 open-file dialogs on threads of their own, so the
// round trips run in processes of at most 50 each: this one, then copies of it started with
// "--picks N" on the same history.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>

#include "soak_run.h"

namespace {

const int kPicksPerProcess = 50;
// The first process also shows the warm-up pick and three dialogs without the module.
static_assert(kPicksPerProcess + 4 <= kMostDialogsPerProcess, "more dialogs than Wine shows");

void PrintResult(const char* title, const SoakPlan& plan, const SoakResult& result) {
    const nphost::ResourceCounters* rows[] = {&result.start, &result.end};
    printf("%s: %d RecentlyApplications calls, %d picker round trips\n", title,
           plan.nCatalogueCalls, result.nPicks);
    printf("  %-6s %12s %12s %12s %12s %10s %10s %10s %12s\n", "", "GDI objects", "of them DCs",
           "bitmaps", "USER objects", "icons", "windows", "handles", "private KB");
    for (int i = 0; i < 2; ++i) {
        const nphost::ResourceCounters& c = *rows[i];
        printf("  %-6s %12lld %12lld %12lld %12lld %10lld %10lld %10lld %12lld\n",
               i == 0 ? "start" : "end", c.nGdiObjects, c.nDcs, c.nBitmaps, c.nUserObjects,
               c.nIcons, c.nWindows, c.nHandles, c.nPrivateBytes / 1024);
    }
    printf("  GetGuiResources at the end: GDI %lld, USER %lld (not counted by this Wine)\n",
           result.end.nGuiResourcesGdi, result.end.nGuiResourcesUser);
    if (plan.nBareDialogs > 0) {
        printf("  per bare open-file dialog, the system's own growth: GDI %lld, USER %lld, "
               "handles %lld, private bytes %lld\n",
               result.systemPerDialog.nGdiObjects, result.systemPerDialog.nUserObjects,
               result.systemPerDialog.nHandles, result.systemPerDialog.nPrivateBytes);
    }
    if (plan.nCatalogueCalls > 0) {
        printf("  per RecentlyApplications call: %8.2f ms\n", result.dCallSeconds * 1000);
    }
    printf("  per picker round trip:         %8.2f ms\n", result.dPickSeconds * 1000);
    for (const std::string& fault : result.faults) {
        printf("  fault: %s\n", fault.c_str());
    }
    fflush(stdout);
}

// Runs `plan` in this process; true when nothing went wrong.
bool SoakHere(const char* title, const SoakPlan& plan) {
    SoakResult result;
    {
        nphost::PluginModule module(nphost::BesideExecutable(L"npDesklaunch.dll"));
        result = RunSoak(module, plan);
    }
    PrintResult(title, plan, result);
    return result.faults.empty() && result.nPicks == plan.nPicks;
}

// Runs `nPicks` round trips in a copy of this program, its report going to this one's output.
bool SoakInAnotherProcess(int nPicks) {
    wchar_t wszProgram[MAX_PATH] = {0};
    if (!GetModuleFileNameW(NULL, wszProgram, MAX_PATH - 1)) {
        return false;
    }
    std::wstring commandLine =
        L"\"" + std::wstring(wszProgram) + L"\" --picks " + std::to_wstring(nPicks);
    const HANDLE hOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    SetHandleInformation(hOutput, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    STARTUPINFOW si;
    ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = hOutput;
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION pi;
    ZeroMemory(&pi, sizeof(pi));
    if (!CreateProcessW(wszProgram, &commandLine[0], NULL, NULL, TRUE, 0, NULL, NULL, &si, &pi)) {
        printf("cannot start another soak process: error %lu\n", GetLastError());
        return false;
    }
    UniqueHandle hProcess(pi.hProcess);
    UniqueHandle hThread(pi.hThread);
    WaitForSingleObject(hProcess.get(), INFINITE);
    DWORD dwExitCode = 1;
    GetExitCodeProcess(hProcess.get(), &dwExitCode);
    return dwExitCode == 0;
}

} // namespace

int main(int argc, char** argv) {
    nphost::Browser::Get();
    if (argc == 3 && strcmp(argv[1], "--picks") == 0) {
        const SoakPlan plan = {0, atoi(argv[2]), 0};
        return SoakHere("Soak, a further process", plan) ? 0 : 1;
    }
    if (!PrepareSoak()) {
        printf("cannot set up the soak's history\n");
        return 1;
    }
    const SoakPlan full = SoakPlanFromEnvironment({500, 100, 2});
    const SoakPlan first = {full.nCatalogueCalls, std::min(full.nPicks, kPicksPerProcess),
                            full.nBareDialogs};
    bool bSound = SoakHere("Soak, this process", first);
    for (int nLeft = full.nPicks - first.nPicks; bSound && nLeft > 0; nLeft -= kPicksPerProcess) {
        bSound = SoakInAnotherProcess(std::min(nLeft, kPicksPerProcess));
    }
    CleanUpSoak();
    return bSound ? 0 : 1;
}
