// Benchmark: RecentlyApplications() through the host over the hostile usage history of
// hostile_history.h (2,000 values, 25 programs that exist). Run as hostile_registry_bench.exe it
// reads the Windows 7 history; the copy hostile_registry_winxp_bench.exe, which Wine tells it
// runs on Windows XP, reads the XP one. Prints the median of the calls.
#include <windows.h>
#include <stdio.h>

#include <algorithm>
#include <vector>

#include "catalogue/usage_history.h"
#include "host/browser.h"
#include "hostile_history.h"

namespace {

const int kRounds = 7;

double Milliseconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

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
    {
        nphost::PluginModule module(nphost::BesideExecutable(L"npDesklaunch.dll"));
        nphost::Instance instance(module);
        NPObject* object = instance.ScriptableObject();
        if (!object) {
            printf("the plug-in does not load\n");
            return 1;
        }
        for (int round = 0; round < kRounds; ++round) {
            NPVariant result;
            result.type = NPVariantType_Void;
            LARGE_INTEGER start, end;
            QueryPerformanceCounter(&start);
            nphost::Browser::Get().CallMethod(object, "RecentlyApplications", nphost::Arguments(),
                                              &result);
            QueryPerformanceCounter(&end);
            times.push_back(Milliseconds(start, end));
            const std::string text = nphost::CopyValue(result).text;
            nBytes = text.size();
            // The first five entries are the accessories.
            size_t nAccessoryEnd = 0;
            for (int k = 0; k < 5 && nAccessoryEnd != std::string::npos; ++k) {
                nAccessoryEnd = text.find('#', nAccessoryEnd + (k ? 1 : 0));
            }
            textProblem = hostile::CatalogueTextProblem(
                text, text.substr(0, nAccessoryEnd == std::string::npos ? 0 : nAccessoryEnd + 1));
            nphost::Browser::Get().ReleaseVariantValue(&result);
        }
    }
    // The usage-history reader alone, the module's code linked in.
    std::vector<double> readTimes;
    size_t nRecords = 0;
    for (int round = 0; round < kRounds; ++round) {
        std::vector<AppEntry> vecAllApps;
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        if (bXp) {
            ReadUserAssistNt5(vecAllApps);
        } else {
            ReadUserAssistNt6(vecAllApps);
        }
        QueryPerformanceCounter(&end);
        readTimes.push_back(Milliseconds(start, end));
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
