// Benchmark: RecentlyApplications() through the host on a usage history of 200 values of which
// 40 qualify, against the work it cannot avoid, the 25 icon stores of the programs it lists
// (5 accessories and 20 history programs). Prints the median of each and their ratio.
#include <windows.h>
#include <shlobj.h>
#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

#include "catalogue_rounds.h"
#include "icons/bitmap_file.h"
#include "nphost/usage_history_seed.h"

namespace {

const std::wstring kRoot = L"C:\\npd-bench";
const std::wstring kPluginFolder = kRoot + L"\\plugin";
const int kRounds = 9;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int wmain(int, wchar_t**) {
    nphost::Browser::Get();
    nphost::RemoveTree(kRoot);
    const std::wstring marker = nphost::BesideExecutable(L"marker_program.exe");
    if (!nphost::CopyProgram(nphost::BesideExecutable(L"npDesklaunch.dll"),
                             kPluginFolder + L"\\npDesklaunch.dll")) {
        printf("cannot install the plug-in\n");
        return 1;
    }

    const std::vector<std::pair<int, std::wstring>> qualifying = SeedBenchHistory(kRoot, marker);
    if (qualifying.empty()) {
        printf("cannot write the usage history\n");
        return 1;
    }

    // The 25 icons that one call stores: the accessories and the 20 most used programs.
    wchar_t wszSystem[MAX_PATH] = {0};
    SHGetSpecialFolderPathW(NULL, wszSystem, CSIDL_SYSTEM, FALSE);
    const std::wstring system = wszSystem;
    std::vector<std::wstring> icons = {system + L"\\mspaint.exe", system + L"\\notepad.exe",
                                       system + L"\\calc.exe", system + L"\\control.exe",
                                       system.substr(0, system.find_last_of(L'\\')) +
                                           L"\\explorer.exe"};
    for (int i = 0; i < 20; ++i) {
        icons.push_back(qualifying[static_cast<size_t>(i)].second);
    }

    std::vector<double> catalogue;
    std::vector<double> bare;
    size_t nBytes = 0;
    const bool bLoaded =
        TimeCatalogueRounds(kPluginFolder + L"\\npDesklaunch.dll", kRounds,
                            [&](double dSeconds, const std::string& text) {
                                catalogue.push_back(dSeconds);
                                nBytes = text.size();
                                const nphost::Stopwatch stopwatch;
                                for (const std::wstring& icon : icons) {
                                    // Timed whether stored or not.
                                    static_cast<void>(SaveAppIcon(icon, kRoot + L"\\bare-images"));
                                }
                                bare.push_back(stopwatch.Seconds());
                            });
    if (!bLoaded) {
        return 1;
    }
    const double dCatalogue = Median(catalogue) * 1000.0;
    const double dBare = Median(bare) * 1000.0;
    printf("RecentlyApplications() on 200 history values, 40 qualifying (%u bytes of text)\n",
           static_cast<unsigned>(nBytes));
    printf("  median of %d calls:                 %8.2f ms\n", kRounds, dCatalogue);
    printf("  25 bare SaveAppIcon calls, median:  %8.2f ms\n", dBare);
    printf("  ratio:                              %8.2f (target: at most 1.50)\n",
           dCatalogue / dBare);
    nphost::ClearUsageHistory(nphost::HistoryFamily::Nt6);
    return 0;
}
