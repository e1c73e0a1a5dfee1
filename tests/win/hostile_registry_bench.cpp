// Benchmark: RecentlyApplications() through the host over the hostile usage history of
// hostile_history.h (2,000 values, 25 programs that exist). Run as hostile_registry_bench.exe it
// reads the Windows 7 history; the copy hostile_registry_winxp_bench.exe, which Wine tells it
// runs on Windows XP, reads the XP one. Prints the median of the calls.
#include <windows.h>
#include <stdio.h>

#include <algorithm>
#include <vector>

#include "catalogue/user_assist.h"
#include "catalogue_rounds.h"
#include "host/stopwatch.h"
#include "hostile_history.h"

namespace {

const int kRounds = 7;

} // namespace

int wmain(int, wchar_t**) {
    nphost::Browser::Get();
    OSVERSIONINFOW osvi = {};
    osvi.dwOSVersionInfoSize = sizeof(osvi);
    GetVersionExW(&osvi);
    const bool bXp = osvi.dwMajorVersion == 5;
    const nphost::HistoryFamily family =
        bXp ? nphost::HistoryFamily::Nt5 : nphost::HistoryFamily::Nt6;
    hostile::InstalledHistory installed(family, hostile::kSeed);
    std::string problem;
    if (!installed.Ready(problem)) {
        printf("%s\n", problem.c_str());
        return 1;
    }
    std::vector<double> times;
    size_t nBytes = 0;
    std::string textProblem;
    const bool bLoaded = TimeCatalogueRounds(
        nphost::BesideExecutable(L"npDesklaunch.dll"), kRounds,
        [&](double dSeconds, const std::string& text) {
            times.push_back(dSeconds * 1000.0);
            nBytes = text.size();
            // The first five entries are the accessories.
            size_t nAccessoryEnd = 0;
            for (int k = 0; k < 5 && nAccessoryEnd != std::string::npos; ++k) {
                nAccessoryEnd = text.find('#', nAccessoryEnd + (k ? 1 : 0));
            }
            textProblem = hostile::CatalogueTextProblem(
                text, text.substr(0, nAccessoryEnd == std::string::npos ? 0 : nAccessoryEnd + 1));
        });
    if (!bLoaded) {
        return 1;
    }
    // The usage-history reader alone, the module's code linked in.
    std::vector<double> readTimes;
    size_t nRecords = 0;
    for (int round = 0; round < kRounds; ++round) {
        std::vector<AppEntry> vecAllApps;
        const nphost::Stopwatch stopwatch;
        if (bXp) {
            ReadUserAssist(UsageFamilyNt5, vecAllApps, NULL);
        } else {
            ReadUserAssist(UsageFamilyNt6, vecAllApps, NULL);
        }
        readTimes.push_back(stopwatch.Milliseconds());
        nRecords = vecAllApps.size();
    }
    std::sort(readTimes.begin(), readTimes.end());
    std::sort(times.begin(), times.end());
    printf("RecentlyApplications() on Windows %s over %u hostile history values (%u bytes of "
           "text%s%s)\n",
           bXp ? "XP (NT 5 history)" : "7 (NT 6 history)",
           static_cast<unsigned>(hostile::kValueCount), static_cast<unsigned>(nBytes),
           textProblem.empty() ? ", well formed" : "; NOT WELL FORMED: ", textProblem.c_str());
    printf("  median of %d calls: %8.2f ms   (fastest %.2f, slowest %.2f)\n", kRounds,
           times[times.size() / 2], times.front(), times.back());
    printf("  the reader alone (%u records), median: %8.2f ms\n", static_cast<unsigned>(nRecords),
           readTimes[readTimes.size() / 2]);
    return textProblem.empty() ? 0 : 1;
}
