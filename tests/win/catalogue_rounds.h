// Timed RecentlyApplications calls through the host, for the catalogue benchmarks.
#ifndef NPDESKLAUNCH_TESTS_WIN_CATALOGUE_ROUNDS_H
#define NPDESKLAUNCH_TESTS_WIN_CATALOGUE_ROUNDS_H

#include <stdio.h>

#include <functional>
#include <string>

#include "host/stopwatch.h"
#include "nphost/browser.h"

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
