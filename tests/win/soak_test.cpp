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

// One kind of object: how to make one (returning what frees it) and the counter that sees it.
struct Kind {
    const char* name;
    std::function<std::function<void()>()> make;
    long long ResourceCounters::*counter;
    long long nPerObject; // how much one object adds, at least
};

HWND MakeWindow() {
    return CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
}

const Kind kKinds[] = {
    {"icon",
     [] {
         HICON hIcon = CopyIcon(LoadIconW(NULL, IDI_APPLICATION));
         return [hIcon] { DestroyIcon(hIcon); };
     },
     &ResourceCounters::nUserObjects, 1},
    {"window",
     [] {
         HWND hWnd = MakeWindow();
         return [hWnd] { DestroyWindow(hWnd); };
     },
     &ResourceCounters::nUserObjects, 1},
    {"memory DC",
     [] {
         HDC hDc = CreateCompatibleDC(NULL);
         return [hDc] { DeleteDC(hDc); };
     },
     &ResourceCounters::nGdiObjects, 1},
    {"bitmap",
     [] {
         HBITMAP hBitmap = CreateBitmap(8, 8, 1, 32, NULL);
         return [hBitmap] { DeleteObject(hBitmap); };
     },
     &ResourceCounters::nGdiObjects, 1},
    {"event",
     [] {
         HANDLE hEvent = CreateEventW(NULL, TRUE, FALSE, NULL);
         return [hEvent] { CloseHandle(hEvent); };
     },
     &ResourceCounters::nHandles, 1},
    {"committed megabyte",
     [] {
         void* pBlock = VirtualAlloc(NULL, 1 << 20, MEM_COMMIT, PAGE_READWRITE);
         return [pBlock] { VirtualFree(pBlock, 0, MEM_RELEASE); };
     },
     &ResourceCounters::nPrivateBytes, 1 << 20},
};

TEST(ResourceCounters, EachCounterSeesTheObjectsMadeAndFreed) {
    const int kObjects = 10;
    LoadIconW(NULL, IDI_APPLICATION); // the shared icon the copies are made from stays loaded
    printf("[ counters ] %s\n", nphost::Describe(nphost::ReadResourceCounters()).c_str());
    for (const Kind& kind : kKinds) {
        const long long nBefore = nphost::ReadResourceCounters().*kind.counter;
        std::vector<std::function<void()>> frees;
        for (int i = 0; i < kObjects; ++i) {
            frees.push_back(kind.make());
        }
        const long long nMade = nphost::ReadResourceCounters().*kind.counter;
        for (const std::function<void()>& free : frees) {
            free();
        }
        const long long nFreed = nphost::ReadResourceCounters().*kind.counter;
        EXPECT_GE(nMade - nBefore, kObjects * kind.nPerObject)
            << kind.name << ": expected a rise of at least " << kObjects * kind.nPerObject
            << ", got " << nBefore << " -> " << nMade;
        EXPECT_LE(nMade - nBefore, kObjects * kind.nPerObject + kMargins.nGdiObjects)
            << kind.name << ": rose by " << nMade - nBefore << " for " << kObjects;
        EXPECT_EQ(nBefore, nFreed) << kind.name << ": expected the count back once freed";
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
        return result;
    }
};

TEST_F(Soak, CallsAndPicksLeaveEveryCounterFlat) {
    const SoakPlan plan = SoakPlanFromEnvironment({500, 100, 2});
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
    const SoakPlan plan = {3, 1, 0};
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
