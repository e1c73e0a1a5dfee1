// Benchmark: 500 RecentlyApplications calls and 100 picker round trips through the host; prints
// what the process holds at the start and at the end, and the time per call and per pick.
#include <stdio.h>

#include "soak_run.h"

int main() {
    nphost::Browser::Get();
    if (!PrepareSoak()) {
        printf("cannot set up the soak's history\n");
        return 1;
    }
    const SoakPlan plan = SoakPlanFromEnvironment({500, 100, 2});
    SoakResult result;
    {
        nphost::PluginModule module(nphost::BesideExecutable(L"npDesklaunch.dll"));
        result = RunSoak(module, plan);
    }
    CleanUpSoak();
    const nphost::ResourceCounters* rows[] = {&result.start, &result.end};
    printf("Soak: %d RecentlyApplications calls, %d picker round trips\n", plan.nCatalogueCalls,
           plan.nPicks);
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
    printf("  per bare open-file dialog, the system's own growth: GDI %lld, USER %lld, "
           "handles %lld, private bytes %lld\n",
           result.systemPerDialog.nGdiObjects, result.systemPerDialog.nUserObjects,
           result.systemPerDialog.nHandles, result.systemPerDialog.nPrivateBytes);
    printf("  per RecentlyApplications call: %8.2f ms\n", result.dCallSeconds * 1000);
    printf("  per picker round trip:         %8.2f ms\n", result.dPickSeconds * 1000);
    for (const std::string& fault : result.faults) {
        printf("  fault: %s\n", fault.c_str());
    }
    return result.faults.empty() ? 0 : 1;
}
