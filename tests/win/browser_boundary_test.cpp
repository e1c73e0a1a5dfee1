// The module's code linked into this program and driven through its own tables by the host:
// what a browser cannot provoke on demand (a thread that does not start, an exception, picker
// threads that open no dialog).
#include <process.h>

#include <stdexcept>

#include "module_fixture.h"
#include "npruntime/browser_services.h"
#include "plugin/plugin_callbacks.h"
#include "script/pick_delivery.h"
#include "script/pick_job.h"
#include "script/scriptable_object.h"

namespace {

using nphost::Arguments;
using nphost::Browser;

uintptr_t NoThread(PickThreadProc, void*) {
    return 0;
}

uintptr_t ThrowingStart(PickThreadProc, void*) {
    throw std::runtime_error("no thread");
}

// Picker threads that open no dialog: each waits until the test lets it go, then hands its job
// back as a cancelled pick does.
HANDLE g_hRelease = nullptr;
volatile LONG g_nStarted = 0;

unsigned __stdcall ParkedPick(void* pJob) {
    WaitForSingleObject(g_hRelease, INFINITE);
    HandPickJobToPluginThread(static_cast<PickJob*>(pJob), DeliverPickedApplication);
    return 0;
}

uintptr_t ParkedStart(PickThreadProc, void* pJob) {
    InterlockedIncrement(&g_nStarted);
    return _beginthreadex(nullptr, 0, ParkedPick, pJob, 0, nullptr);
}

// One instance of the linked-in module and a scriptable object of it, made with a class record
// whose objects start their picker threads with the test's starter.
class LinkedModule : public ::testing::Test {
  protected:
    void SetUp() override {
        const NPNetscapeFuncs browserFuncs = Browser::Get().Funcs();
        KeepBrowserFuncs(&browserFuncs);
        memset(&funcs_, 0, sizeof(funcs_));
        FillPluginFuncs(&funcs_);
        memset(&npp_, 0, sizeof(npp_));
        ASSERT_EQ(NPERR_NO_ERROR, funcs_.newp(const_cast<char*>("application/corvid-application"),
                                              &npp_, NP_EMBED, 0, nullptr, nullptr, nullptr));
        Browser::Get().InstanceCreated(&npp_);
        function_ = Browser::Get().CreateFunction();
    }

    void StartPickThreadsWith(PickThreadStarter starter) {
        class_ = ScriptablePluginObjectClass;
        class_.startPickThread = starter;
        object_ = Browser::Get().CreateObject(&npp_, &class_);
        ASSERT_NE(nullptr, object_);
    }

    void TearDown() override {
        if (function_) {
            Browser::Get().ReleaseObject(function_);
        }
        if (object_) {
            Browser::Get().ReleaseObject(object_);
        }
        funcs_.destroy(&npp_, nullptr);
        Browser::Get().InstanceDestroyed(&npp_);
    }

    // SelectApplications with the page's function, through the module's class record.
    bool Select(NPObject* object = nullptr) {
        NPVariant result = Sentinel();
        const Arguments args = Arguments().Object(function_);
        const bool bReturned = nphost::CheckedClass()->invoke(
            object ? object : object_, Browser::Get().StringIdentifier("SelectApplications"),
            args.data(), args.size(), &result);
        EXPECT_TRUE(IsSentinel(result)) << "the result was set";
        return bReturned;
    }

    NPPluginFuncs funcs_;
    NPP_t npp_;
    NPObject* object_ = nullptr;
    NPObject* function_ = nullptr;
    ScriptableClass class_;
};

TEST_F(LinkedModule, AThreadThatDoesNotStartLetsTheHoldGoAtOnce) {
    StartPickThreadsWith(NoThread);
    const int nPosted = Browser::Get().PostedAsyncCalls();
    EXPECT_TRUE(Select());
    EXPECT_EQ(1u, function_->referenceCount) << "the hold on the page's function was kept";
    EXPECT_TRUE(Browser::Get().CallsOf(function_).empty()) << "the page was called";
    EXPECT_EQ(nPosted, Browser::Get().PostedAsyncCalls());
}

TEST_F(LinkedModule, AnExceptionBecomesTheFailureAnswerAndLeavesNothingHeld) {
    StartPickThreadsWith(ThrowingStart);
    EXPECT_FALSE(Select()) << "Invoke answers false when its work throws";
    EXPECT_EQ(1u, function_->referenceCount) << "the hold on the page's function was kept";
    EXPECT_TRUE(Browser::Get().CallsOf(function_).empty()) << "the page was called";
}

TEST_F(LinkedModule, ACallBeyondThePickerLimitsStartsNoThreadAndHoldsNothing) {
    StartPickThreadsWith(ParkedStart);
    const UniqueHandle hRelease(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    g_hRelease = hRelease.get();
    g_nStarted = 0;
    EXPECT_TRUE(Select());
    EXPECT_TRUE(Select()) << "a second call on the same instance";
    EXPECT_EQ(1, g_nStarted);
    EXPECT_EQ(2u, function_->referenceCount) << "the page's and the one picker's";
    // Objects of more instances than the module leaves pickers for (jobs only name instances).
    NPP_t others[kMaxOpenPickers] = {};
    std::vector<NPObject*> objects;
    for (NPP_t& npp : others) {
        Browser::Get().InstanceCreated(&npp);
        objects.push_back(Browser::Get().CreateObject(&npp, &class_));
        EXPECT_TRUE(Select(objects.back()));
    }
    EXPECT_EQ(static_cast<LONG>(kMaxOpenPickers), g_nStarted);
    EXPECT_EQ(1u + kMaxOpenPickers, function_->referenceCount);
    SetEvent(hRelease.get());
    EXPECT_TRUE(Browser::Get().PumpUntil([&] { return function_->referenceCount == 1; }, 20000));
    for (size_t i = 0; i < objects.size(); ++i) {
        Browser::Get().ReleaseObject(objects[i]);
        Browser::Get().InstanceDestroyed(&others[i]);
    }
}

} // namespace
