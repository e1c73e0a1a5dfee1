// Soaks through the host leave GDI objects, USER objects, kernel handles and private bytes flat;
// the counters see each kind of object made and freed; and a copy of the module that leaks is
// caught by every counter.
#include <gtest/gtest.h>

#include <stdio.h>

#include <functional>
#include <memory>

#include "module_fixture.h"
#include "soak_run.h"

namespace {

using nphost::ResourceCounters;

// How much each counter may grow over a soak and still count as flat, beyond what the system
// keeps for the open-file dialogs themselves.
const nphost::FlatnessMargins kMargins = {8, 8, 8, 4 << 20};

// One kind of object: how to make one (returning what frees it), the counter that sees it, and
// how much one adds to it (exactly, or at least where other objects come with it).
struct Kind {
    const char* name;
    std::function<std::function<void()>()> make;
    long long ResourceCounters::*counter;
    long long nPerObject;
    bool bExact;
};

const Kind kKinds[] = {
    {"icon",
     [] {
         HICON hIcon = CopyIcon(LoadIconW(NULL, IDI_APPLICATION));
         return [hIcon] { DestroyIcon(hIcon); };
     },
     &ResourceCounters::nIcons, 1, true},
    {"window",
     [] {
         HWND hWnd =
             CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
         return [hWnd] { DestroyWindow(hWnd); };
     },
     &ResourceCounters::nWindows, 1, false}, // the system may add a window of its own
    {"memory DC",
     [] {
         HDC hDc = CreateCompatibleDC(NULL);
         return [hDc] { DeleteDC(hDc); };
     },
     &ResourceCounters::nDcs, 1, true},
    {"bitmap", // icons hold bitmaps too
     [] {
         HBITMAP hBitmap = CreateBitmap(8, 8, 1, 32, NULL);
         return [hBitmap] { DeleteObject(hBitmap); };
     },
     &ResourceCounters::nBitmaps, 1, false},
    {"event",
     [] {
         HANDLE hEvent = CreateEventW(NULL, TRUE, FALSE, NULL);
         return [hEvent] { CloseHandle(hEvent); };
     },
     &ResourceCounters::nHandles, 1, true},
    {"committed megabyte",
     [] {
         void* pBlock = VirtualAlloc(NULL, 1 << 20, MEM_COMMIT, PAGE_READWRITE);
         return [pBlock] { VirtualFree(pBlock, 0, MEM_RELEASE); };
     },
     &ResourceCounters::nPrivateBytes, 1 << 20, false},
};

// Ten of every kind made, then freed: each counter rises by what was made and comes back. The
// totals that the soak compares are sums of these.
TEST(ResourceCounters, EachCounterSeesTheObjectsMadeAndFreed) {
    const long long kObjects = 10;
    // What the first of a kind loads for good (the shared icon the copies are made from, the
    // thread's input window) is loaded before counting.
    for (const Kind& kind : kKinds) {
        kind.make()();
    }
    const ResourceCounters before = nphost::ReadResourceCounters();
    std::vector<std::function<void()>> frees;
    for (const Kind& kind : kKinds) {
        for (int i = 0; i < kObjects; ++i) {
            frees.push_back(kind.make());
        }
    }
    const ResourceCounters made = nphost::ReadResourceCounters();
    for (const std::function<void()>& free : frees) {
        free();
    }
    const ResourceCounters freed = nphost::ReadResourceCounters();
    printf("[ before ] %s\n[ made ] %s\n", nphost::Describe(before).c_str(),
           nphost::Describe(made).c_str());
    for (const Kind& kind : kKinds) {
        const long long nRise = made.*kind.counter - before.*kind.counter;
        const long long nExpected = kObjects * kind.nPerObject;
        if (kind.bExact) {
            EXPECT_EQ(nExpected, nRise) << kind.name << ": the rise for " << kObjects;
        } else {
            EXPECT_GE(nRise, nExpected) << kind.name << ": the rise for " << kObjects;
        }
        EXPECT_EQ(before.*kind.counter, freed.*kind.counter)
            << kind.name << ": expected the count back once freed";
    }
}

class Soak : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(PrepareSoak()) << "the soak's history"; }
    static void TearDownTestSuite() { CleanUpSoak(); }

    // Runs `plan` on `module` and prints what it found.
    static SoakResult Run(nphost::PluginModule& module, const SoakPlan& plan) {
        const SoakResult result = RunSoak(module, plan);
        printf("[ soak ] %d RecentlyApplications calls (%.1f ms each), %d picks (%.1f ms each)\n"
               "[ start ] %s\n[ end ] %s\n"
               "[ system ] per bare dialog: GDI %lld, USER %lld, handles %lld, bytes %lld\n",
               plan.nCatalogueCalls, result.dCallSeconds * 1000, plan.nPicks,
               result.dPickSeconds * 1000, nphost::Describe(result.start).c_str(),
               nphost::Describe(result.end).c_str(), result.systemPerDialog.nGdiObjects,
               result.systemPerDialog.nUserObjects, result.systemPerDialog.nHandles,
               result.systemPerDialog.nPrivateBytes);
        for (const std::string& fault : result.faults) {
            ADD_FAILURE() << fault;
        }
        EXPECT_EQ(plan.nPicks, result.nPicks) << "picker round trips done";
        return result;
    }
};

TEST_F(Soak, CallsAndPicksLeaveEveryCounterFlat) {
    // Half the round trips: a process shows no more dialogs than Wine allows, and the rest run
    // in a second process.
    const SoakPlan plan = SoakPlanFromEnvironment({500, 50, 2});
    const SoakResult result = Run(Module(), plan);
    const nphost::FlatnessMargins margins = SoakMargins(kMargins, result, plan);
    for (const std::string& growth : GrowthBeyond(result.start, result.end, margins)) {
        ADD_FAILURE() << growth;
    }
}

// A copy of the module that leaks an icon, a DC, a bitmap and a handle per icon it stores.
TEST_F(Soak, ALeakingModuleIsCaughtByEveryCounter) {
    nphost::PluginModule leaky(nphost::BesideExecutable(L"soak_leaky_module.dll"));
    ASSERT_TRUE(leaky.Loaded());
    const SoakPlan plan = SoakPlanFromEnvironment({2, 1, 0});
    const SoakResult result = Run(leaky, plan);
    const std::vector<std::string> grown =
        GrowthBeyond(result.start, result.end, SoakMargins(kMargins, result, plan));
    for (const char* counter : {"GDI objects", "USER objects", "kernel handles", "private bytes"}) {
        bool bCaught = false;
        for (const std::string& growth : grown) {
            bCaught = bCaught || growth.compare(0, strlen(counter), counter) == 0;
        }
        EXPECT_TRUE(bCaught) << "expected the " << counter << " to catch the leak; got "
                             << nphost::Describe(result.start) << " -> "
                             << nphost::Describe(result.end);
    }
}

} // namespace
