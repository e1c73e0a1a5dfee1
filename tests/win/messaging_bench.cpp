// Benchmark of the native messaging host: the time from starting it to its answer to hello, next
// to a console program that answers one message and does nothing else; and recentApplications
// over an open port, icons encoded, next to RecentlyApplications() through the NPAPI host, on
// the catalogue benchmark's usage history. Prints the median of each and their ratios.
#include <windows.h>
#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

#include "catalogue_rounds.h"
#include "host_process.h"
#include "messaging_host/host_arguments.h"

namespace {

const std::wstring kRoot = L"C:\\npd-bench";
const int kRounds = 9;

double MedianMs(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2] * 1000.0;
}

// Seconds from starting `program` to its answer to hello; negative when none came.
double StartToHello(const std::wstring& program, const std::wstring& arguments) {
    const nphost::Stopwatch stopwatch;
    HostProcess host(program, arguments);
    std::string answer;
    if (!host.Ask(RpcRequestText(1, "hello")) || !host.ReadAnswer(answer)) {
        return -1;
    }
    const double dSeconds = stopwatch.Seconds();
    host.CloseInput();
    host.ExitCode();
    return dSeconds;
}

} // namespace

int wmain(int, wchar_t**) {
    nphost::Browser::Get();
    nphost::RemoveTree(kRoot);
    const std::wstring host = nphost::BesideExecutable(L"desklaunch-host.exe");
    const std::wstring chromium =
        L"chrome-extension://" + nphost::Widen(kChromiumExtensionId) + L"/ --parent-window=0";
    const std::wstring bare = nphost::BesideExecutable(L"one_answer_host.exe");
    std::vector<double> hostStarts, bareStarts;
    for (int round = 0; round <= kRounds; ++round) {
        const double dHost = StartToHello(host, chromium);
        const double dBare = StartToHello(bare, L"");
        if (dHost < 0 || dBare < 0) {
            printf("a host gave no answer\n");
            return 1;
        }
        if (round > 0) { // the first round reads the programs from the disk
            hostStarts.push_back(dHost);
            bareStarts.push_back(dBare);
        }
    }
    printf("Start to the answer to hello, median of %d starts\n", kRounds);
    printf("  desklaunch-host.exe:                %8.2f ms\n", MedianMs(hostStarts));
    printf("  a console program that answers:     %8.2f ms\n", MedianMs(bareStarts));
    printf("  ratio:                              %8.2f (target: at most 1.50)\n",
           MedianMs(hostStarts) / MedianMs(bareStarts));

    const std::wstring pluginPath = kRoot + L"\\plugin\\npDesklaunch.dll";
    if (!nphost::CopyProgram(nphost::BesideExecutable(L"npDesklaunch.dll"), pluginPath) ||
        SeedBenchHistory(kRoot, nphost::BesideExecutable(L"marker_program.exe")).empty()) {
        printf("cannot install the plug-in or write the usage history\n");
        return 1;
    }
    std::vector<double> plugin;
    if (!TimeCatalogueRounds(pluginPath, kRounds, [&](double dSeconds, const std::string&) {
            plugin.push_back(dSeconds);
        })) {
        return 1;
    }
    HostProcess port(host, chromium);
    std::vector<double> messaging;
    size_t nBytes = 0;
    for (int round = 0; round <= kRounds; ++round) {
        const nphost::Stopwatch stopwatch;
        std::string answer;
        if (!port.Ask(RpcRequestText(round, "recentApplications")) || !port.ReadAnswer(answer)) {
            printf("the host gave no catalogue\n");
            return 1;
        }
        if (round > 0) {
            messaging.push_back(stopwatch.Seconds());
        }
        nBytes = answer.size();
    }
    printf("The catalogue on 200 history values, 40 qualifying, median of %d calls\n", kRounds);
    printf("  recentApplications (%u bytes):   %8.2f ms\n", static_cast<unsigned>(nBytes),
           MedianMs(messaging));
    printf("  RecentlyApplications() (NPAPI):     %8.2f ms\n", MedianMs(plugin));
    printf("  ratio:                              %8.2f (target: at most 1.30)\n",
           MedianMs(messaging) / MedianMs(plugin));
    nphost::ClearUsageHistory(nphost::HistoryFamily::Nt6);
    return 0;
}
