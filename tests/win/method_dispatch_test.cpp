// The three methods as a page calls them: recognition, argument checks, the failure message a
// user sees, and the picker's job handed to its thread.
#include "host/file_dialog_driver.h"
#include "module_fixture.h"
#include "nphost/dialog_watcher.h"
#include "nphost/test_time.h"

namespace {

using nphost::Arguments;
using nphost::Browser;
using nphost::DialogWatcher;
using nphost::SeenBox;

class Dispatch : public ::testing::Test {
  protected:
    void SetUp() override {
        // Each program that runs these tests is given its Windows version (app_defaults.reg)
        // and says which family that is: 4 for Windows 7, 3 for Windows XP.
        ASSERT_TRUE(g_expectedFamily == 3 || g_expectedFamily == 4)
            << "run with --expected-family=3 or 4, got " << g_expectedFamily;
        OSVERSIONINFOW osvi = {};
        osvi.dwOSVersionInfoSize = sizeof(osvi);
        ASSERT_TRUE(GetVersionExW(&osvi));
        ASSERT_EQ(g_expectedFamily == 4 ? 6u : 5u, osvi.dwMajorVersion)
            << "this program's Windows version is not the one its family says";
        object_ = instance_.ScriptableObject();
        ASSERT_NE(nullptr, object_);
    }

    // Calls RunAppointedApplication while a user reads and closes every box that appears.
    std::vector<SeenBox> Run(const Arguments& args, bool* pbReturned = nullptr) {
        DialogWatcher watcher;
        NPVariant result = Sentinel();
        const bool bReturned =
            Browser::Get().CallMethod(object_, "RunAppointedApplication", args, &result);
        if (pbReturned) {
            *pbReturned = bReturned;
        }
        EXPECT_TRUE(IsSentinel(result)) << "the result was set";
        return watcher.Boxes();
    }

    nphost::Instance instance_{Module()};
    NPObject* object_ = nullptr;
};

TEST_F(Dispatch, AnUnknownMethodFailsEvenWithAnExistingIdentifier) {
    NPVariant result = Sentinel();
    const NPIdentifier id = Browser::Get().StringIdentifier("toString");
    EXPECT_FALSE(nphost::CheckedClass()->invoke(object_, id, nullptr, 0, &result));
    EXPECT_FALSE(nphost::CheckedClass()->invoke(
        object_, Browser::Get().StringIdentifier("selectapplications"), nullptr, 0, &result));
    EXPECT_TRUE(IsSentinel(result));
}

TEST_F(Dispatch, RecentlyApplicationsIgnoresItsArguments) {
    std::vector<std::string> texts;
    for (const Arguments& args : {Arguments(), Arguments().String("x").Int(1)}) {
        NPVariant result = Sentinel();
        EXPECT_TRUE(Browser::Get().CallMethod(object_, "RecentlyApplications", args, &result));
        ASSERT_EQ(NPVariantType_String, result.type) << "the catalogue comes as a string";
        texts.push_back(nphost::CopyValue(result).text);
        Browser::Get().ReleaseVariantValue(&result);
    }
    EXPECT_EQ(texts[0], texts[1]) << "arguments changed the catalogue";
}

TEST_F(Dispatch, AFailedLaunchTellsTheUserWhichPathWasNotFound) {
    bool bReturned = false;
    const std::vector<SeenBox> boxes = Run(Arguments().String("C:\\nope\\x.exe"), &bReturned);
    EXPECT_TRUE(bReturned);
    const std::vector<SeenBox> ours = FailureBoxes(boxes);
    ASSERT_EQ(1u, ours.size()) << boxes.size() << " boxes seen";
    EXPECT_EQ(kNotFound + L"C:\\nope\\x.exe", ours[0].text) << Show(ours[0].text);
    ASSERT_EQ(1u, ours[0].buttons.size()) << "MB_OK has one button";
    EXPECT_EQ(IDOK, ours[0].buttonIds[0]);
    EXPECT_FALSE(ours[0].bHasOwner);
    // The shell's own error report, switched on for the launcher (no SEE_MASK_FLAG_NO_UI),
    // comes first; Wine's has the caption "Error".
    ASSERT_EQ(2u, boxes.size()) << "the shell's report and the module's box";
    EXPECT_EQ(L"Error", boxes[0].caption) << Show(boxes[0].caption);
    EXPECT_EQ(kErrorCaption, boxes[1].caption) << "the module's box is the last one";
}

TEST_F(Dispatch, NothingToLaunchShowsNothing) {
    NPObject* function = Browser::Get().CreateFunction();
    const struct {
        const char* what;
        Arguments args;
    } cases[] = {
        {"an empty string", Arguments().String("")},
        {"no argument", Arguments()},
        {"a number", Arguments().Int(42)},
        {"a function", Arguments().Object(function)},
        {"void", Arguments().Void()},
    };
    for (const auto& c : cases) {
        bool bReturned = false;
        const std::vector<SeenBox> boxes = Run(c.args, &bReturned);
        EXPECT_TRUE(bReturned) << c.what;
        EXPECT_TRUE(boxes.empty()) << c.what << ": " << boxes.size() << " boxes, first "
                                   << (boxes.empty() ? "" : Show(boxes[0].text));
    }
    Browser::Get().ReleaseObject(function);
}

TEST_F(Dispatch, TheArgumentConvertsAsTheSystemConvertsUtf8) {
    const struct {
        const char* what;
        std::string bytes;
        std::wstring shown;
    } cases[] = {
        {"Chinese path", "C:\\\xE7\xA8\x8B\xE5\xBA\x8F\\x.exe", L"C:\\\u7A0B\u5E8F\\x.exe"},
        {"invalid byte", "C:\\\xFF.exe", L"C:\\\uFFFD.exe"},
        {"embedded zero", std::string("C:\\a.exe\0tail", 13), L"C:\\a.exe"},
        {"zero first", std::string("\0C:\\a.exe", 9), L""},
    };
    for (const auto& c : cases) {
        const std::vector<SeenBox> ours = FailureBoxes(Run(Arguments().String(c.bytes)));
        ASSERT_EQ(1u, ours.size()) << c.what;
        EXPECT_EQ(kNotFound + c.shown, ours[0].text) << c.what << ": " << Show(ours[0].text);
    }
}

TEST_F(Dispatch, OnlyTheArgumentsOwnBytesAreRead) {
    // The page's string is 13 bytes inside a longer buffer with no zero after it.
    const std::string buffer = "C:\\nope\\x.exeTRAILING";
    NPVariant arg;
    arg.type = NPVariantType_String;
    arg.value.stringValue.UTF8Characters = buffer.data();
    arg.value.stringValue.UTF8Length = 13;
    DialogWatcher watcher;
    NPVariant result = Sentinel();
    EXPECT_TRUE(nphost::CheckedClass()->invoke(
        object_, Browser::Get().StringIdentifier("RunAppointedApplication"), &arg, 1, &result));
    const std::vector<SeenBox> ours = FailureBoxes(watcher.Boxes());
    ASSERT_EQ(1u, ours.size());
    EXPECT_EQ(kNotFound + L"C:\\nope\\x.exe", ours[0].text) << Show(ours[0].text);
}

TEST_F(Dispatch, ATextTooLongForAPathStartsNothingAndIsShownCutToFit) {
    const std::string path = "C:\\" + std::string(400, 'a') + ".exe";
    bool bReturned = false;
    const std::vector<SeenBox> boxes = Run(Arguments().String(path), &bReturned);
    EXPECT_TRUE(bReturned);
    ASSERT_EQ(1u, boxes.size()) << "only the module's box: the shell is not asked";
    EXPECT_EQ(kErrorCaption, boxes[0].caption);
    const std::wstring expected = (kNotFound + nphost::Widen(path)).substr(0, 259);
    EXPECT_EQ(expected, boxes[0].text) << boxes[0].text.size() << " units shown";
}

TEST_F(Dispatch, SelectApplicationsWithoutOneFunctionDoesNothingElse) {
    NPObject* first = Browser::Get().CreateFunction();
    NPObject* second = Browser::Get().CreateFunction();
    const struct {
        const char* what;
        Arguments args;
    } cases[] = {
        {"no argument", Arguments()},
        {"a string", Arguments().String("f")},
        {"two functions", Arguments().Object(first).Object(second)},
    };
    const int nPosted = Browser::Get().PostedAsyncCalls();
    for (const auto& c : cases) {
        NPVariant result = Sentinel();
        EXPECT_TRUE(Browser::Get().CallMethod(object_, "SelectApplications", c.args, &result))
            << c.what;
        EXPECT_TRUE(IsSentinel(result)) << c.what;
    }
    EXPECT_EQ(1u, first->referenceCount) << "held right after the call";
    EXPECT_EQ(1u, second->referenceCount) << "held right after the call";
    EXPECT_EQ(nPosted, Browser::Get().PostedAsyncCalls()) << "a job was handed back";
    EXPECT_EQ(0u, Browser::Get().PendingAsyncCalls());
    EXPECT_TRUE(Browser::Get().CallsOf(first).empty());
    EXPECT_TRUE(Browser::Get().CallsOf(second).empty());
    Browser::Get().ReleaseObject(first);
    Browser::Get().ReleaseObject(second);
}

TEST_F(Dispatch, SelectApplicationsReturnsAtOnceHoldingThePagesFunction) {
    NPObject* function = Browser::Get().CreateFunction();
    const int nOffThread = Browser::Get().OffThreadCalls();
    const int nPosted = Browser::Get().PostedAsyncCalls();
    NPVariant result = Sentinel();
    EXPECT_TRUE(Browser::Get().CallMethod(object_, "SelectApplications",
                                          Arguments().Object(function), &result));
    EXPECT_TRUE(IsSentinel(result));
    // Only this thread can let the hold go, and it has not run anything since the call.
    EXPECT_EQ(2u, function->referenceCount) << "the page's function is not held";
    // The user cancels the dialog; the picker thread hands the job back to this thread, where
    // the hold is let go.
    const HWND hDialog = nphost::WaitForFileDialog(10000);
    ASSERT_NE(nullptr, hDialog) << "no open-file dialog appeared";
    nphost::PressCancel(hDialog);
    EXPECT_TRUE(Browser::Get().PumpUntil([&] { return function->referenceCount == 1; }, 10000))
        << "the hold on the page's function was never released";
    EXPECT_TRUE(Browser::Get().CallsOf(function).empty()) << "nothing was picked";
    EXPECT_EQ(nPosted + 1, Browser::Get().PostedAsyncCalls()) << "one job handed back";
    EXPECT_EQ(nOffThread, Browser::Get().OffThreadCalls())
        << "a browser service other than the asynchronous call was used off the plug-in thread";
    Browser::Get().ReleaseObject(function);
}

TEST_F(Dispatch, WithoutTheAsynchronousCallNoThreadStartsAndTheHoldIsLetGoAtOnce) {
    NPNetscapeFuncs funcs = Browser::Get().FuncsWithoutAsyncCalls();
    ASSERT_EQ(NPERR_NO_ERROR, Module().Initialize(&funcs));
    NPObject* function = Browser::Get().CreateFunction();
    const int nPosted = Browser::Get().PostedAsyncCalls();
    NPVariant result = Sentinel();
    EXPECT_TRUE(Browser::Get().CallMethod(object_, "SelectApplications",
                                          Arguments().Object(function), &result));
    EXPECT_EQ(1u, function->referenceCount) << "the hold was not let go";
    EXPECT_EQ(nPosted, Browser::Get().PostedAsyncCalls());
    EXPECT_TRUE(Browser::Get().CallsOf(function).empty());
    funcs = Browser::Get().Funcs();
    EXPECT_EQ(NPERR_NO_ERROR, Module().Initialize(&funcs));
    Browser::Get().ReleaseObject(function);
}

TEST_F(Dispatch, APageStringOfHundredsOfMegabytesIsReadOnlyAsFarAsItMatters) {
    // The page's string claims 300 MB, of which only the first 64 KB are readable memory: a
    // module that reads (or converts) further than a path and its message can need crashes.
    const SIZE_T nClaimed = 300u << 20;
    const SIZE_T nReadable = 64u << 10;
    char* bytes = static_cast<char*>(VirtualAlloc(nullptr, nClaimed, MEM_RESERVE, PAGE_NOACCESS));
    ASSERT_NE(nullptr, bytes);
    ASSERT_NE(nullptr, VirtualAlloc(bytes, nReadable, MEM_COMMIT, PAGE_READWRITE));
    memset(bytes, 'a', nReadable);
    memcpy(bytes, "C:\\", 3);
    NPVariant arg;
    arg.type = NPVariantType_String;
    arg.value.stringValue.UTF8Characters = bytes;
    arg.value.stringValue.UTF8Length = static_cast<uint32_t>(nClaimed);
    DialogWatcher watcher;
    NPVariant result = Sentinel();
    EXPECT_TRUE(nphost::CheckedClass()->invoke(
        object_, Browser::Get().StringIdentifier("RunAppointedApplication"), &arg, 1, &result));
    const std::vector<SeenBox> boxes = watcher.Boxes();
    VirtualFree(bytes, 0, MEM_RELEASE);
    ASSERT_EQ(1u, boxes.size()) << "only the module's box";
    EXPECT_EQ((kNotFound + L"C:\\" + std::wstring(300, L'a')).substr(0, 259), boxes[0].text)
        << Show(boxes[0].text);
}

TEST_F(Dispatch, ALaunchThatStartsTheProgramShowsNothing) {
    // The marker program signals this event when it runs.
    UniqueHandle hStarted(CreateEventW(nullptr, TRUE, FALSE, L"npd_launch_marker_started"));
    ASSERT_TRUE(hStarted);
    const std::string path = nphost::Narrow(nphost::BesideExecutable(L"launch_marker.exe"));
    bool bReturned = false;
    const std::vector<SeenBox> boxes = Run(Arguments().String(path), &bReturned);
    EXPECT_TRUE(bReturned);
    EXPECT_TRUE(boxes.empty()) << boxes.size() << " boxes, first "
                               << (boxes.empty() ? "" : Show(boxes[0].text));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hStarted.get(), nphost::PatientWait(20000)))
        << "the program at " << path << " did not run";
}

} // namespace
