// The benchmarks' usage history, and timed RecentlyApplications calls through the host.
#ifndef NPDESKLAUNCH_TESTS_WIN_CATALOGUE_ROUNDS_H
#define NPDESKLAUNCH_TESTS_WIN_CATALOGUE_ROUNDS_H

#include <stdio.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "host/stopwatch.h"
#include "nphost/browser.h"
#include "nphost/usage_history_seed.h"

inline std::wstring Numbered(const wchar_t* wszPattern, int n) {
    wchar_t wszText[MAX_PATH] = {0};
    _snwprintf(wszText, MAX_PATH - 1, wszPattern, n);
    return wszText;
}

// Seeds the NT 6 usage history with 200 values under `root`: 40 copies of `marker` that qualify,
// and 160 values that do not (programs no longer on disk, installers, program identifiers and
// shortcuts whose file is gone). Returns the qualifying programs with their counts, most used
// first; none when the history cannot be written.
inline std::vector<std::pair<int, std::wstring>> SeedBenchHistory(const std::wstring& root,
                                                                  const std::wstring& marker) {
    std::vector<nphost::HistoryValue> values;
    std::vector<std::pair<int, std::wstring>> qualifying;
    for (int i = 0; i < 40; ++i) {
        const std::wstring path = root + Numbered(L"\\apps\\program%02d.exe", i);
        nphost::CopyProgram(marker, path);
        qualifying.push_back({10 + i, path});
        values.push_back({path, 10 + i, 1});
    }
    for (int i = 0; i < 160; ++i) {
        std::wstring name;
        switch (i % 4) {
        case 0:
            name = root + Numbered(L"\\gone\\removed%03d.exe", i);
            break;
        case 1:
            name = root + Numbered(L"\\apps\\setup%03d.exe", i);
            nphost::CopyProgram(marker, name);
            break;
        case 2:
            name = Numbered(L"Vendor.Product%03d", i);
            break;
        default:
            name = root + Numbered(L"\\links\\gone%03d.lnk", i);
            break;
        }
        values.push_back({name, 1 + i % 50, 1});
    }
    if (!nphost::SeedUsageHistory(nphost::HistoryFamily::Nt6, values)) {
        return {};
    }
    std::sort(qualifying.rbegin(), qualifying.rend());
    return qualifying;
}

// Loads the module at `path` into a page and calls RecentlyApplications `nRounds` times, handing
// each call's time in seconds and its text to `each` while the module is still loaded; false,
// having said so, when the plug-in does not load.
inline bool TimeCatalogueRounds(const std::wstring& path, int nRounds,
                                const std::function<void(double, const std::string&)>& each) {
    nphost::PluginModule module(path);
    nphost::Instance instance(module);
    NPObject* object = instance.ScriptableObject();
    if (!object) {
        printf("the plug-in does not load\n");
        return false;
    }
    for (int round = 0; round < nRounds; ++round) {
        const nphost::Stopwatch stopwatch;
        nphost::Value result;
        nphost::Browser::Get().CallAndCopy(object, "RecentlyApplications", nphost::Arguments(),
                                           &result);
        each(stopwatch.Seconds(), result.text);
    }
    return true;
}

#endif
