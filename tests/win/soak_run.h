// A soak through the host: RecentlyApplications on a seeded history of realistic size and
// picker round trips with the real open-file dialog, and what the process holds before and
// after. Shared by the soak tests and the soak benchmark.
#ifndef NPDESKLAUNCH_TESTS_WIN_SOAK_RUN_H
#define NPDESKLAUNCH_TESTS_WIN_SOAK_RUN_H

#include <string>
#include <vector>

#include "host/resource_counters.h"
#include "nphost/browser.h"

// How many open-file dialogs one process may show, each on a thread of its own, before Wine 8
// hangs the next one: every dialog's thread is a COM apartment that marshals its drop target,
// each apartment leaves a named-pipe endpoint behind, and rpcrt4's server thread waits on all
// of them at once, which fails past 64 handles. The 64th such apartment waits forever in
// CoMarshalInterface. Windows has no such limit.
const int kMostDialogsPerProcess = 63;

struct SoakPlan {
    int nCatalogueCalls;
    int nPicks;
    int nBareDialogs; // open-file dialogs without the module, to learn what the system keeps
};

// `full`, with no more calls, picks and bare dialogs than NPD_SOAK_CALLS, NPD_SOAK_PICKS and
// NPD_SOAK_BARE_DIALOGS allow.
SoakPlan SoakPlanFromEnvironment(const SoakPlan& full);

// A history of 150 values, 30 of them programs on disk with icons (copies of the marker
// program) of which the catalogue lists and stores 20, and a program to pick; false when it
// could not be written.
bool PrepareSoak();
void CleanUpSoak();

struct SoakResult {
    nphost::ResourceCounters start; // after one call and one pick (when the plan picks), which
                                    // load what stays
    nphost::ResourceCounters end;
    // What each counter grew by per bare open-file dialog, run without the module: what the
    // system keeps for itself (Wine 8 leaves a registry key and COM's leftovers open).
    nphost::FlatnessMargins systemPerDialog = {0, 0, 0, 0};
    std::vector<std::string> faults; // calls that went wrong, each said once
    int nPicks = 0;                  // round trips done; the soak stops at one that went wrong
    double dCallSeconds = 0;         // per RecentlyApplications call
    double dPickSeconds = 0;         // per picker round trip
};

// Runs `plan` on a fresh instance of `module`.
SoakResult RunSoak(nphost::PluginModule& module, const SoakPlan& plan);

// `base` plus what the system keeps for the plan's dialogs.
nphost::FlatnessMargins SoakMargins(const nphost::FlatnessMargins& base, const SoakResult& result,
                                    const SoakPlan& plan);

#endif
