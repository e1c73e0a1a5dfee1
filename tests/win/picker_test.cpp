// SelectApplications as a user sees it: the real open-file dialog over the browser's frame,
// a file chosen or the dialog cancelled, and what the page's function then receives.
#include <gtest/gtest.h>

#include <stdio.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "host/file_dialog_driver.h"
#include "module_fixture.h"
#include "nphost/dialog_watcher.h"
#include "nphost/usage_history_seed.h"
#include "test_bytes.h"

namespace {

using nphost::Arguments;
using nphost::Browser;
using nphost::BrowserFrame;
using nphost::Instance;
using nphost::Narrow;

const DWORD kWait = 20000;

std::wstring Picked(const std::wstring& name) {
    return nphost::BesideExecutable(L"picked\\" + name);
}

std::wstring ImageOf(const std::wstring& name) {
    return nphost::BesideExecutable(L"images\\" + name + L".bmp");
}

// The size of a file, or -1 when it cannot be read.
long long FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        return -1;
    }
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// A 32 x 32 icon stored as a 32-bit bitmap file: headers and pixels.
const long long kIconFileSize = 54 + 32 * 32 * 4;

std::wstring Repeat(const std::wstring& unit, size_t nTimes) {
    std::wstring text;
    for (size_t i = 0; i < nTimes; ++i) {
        text += unit;
    }
    return text;
}

// A program named by 200 Chinese characters (600 bytes in UTF-8).
const std::wstring kLongProgram = Repeat(L"\u6C49", 200) + L".exe";

std::string ShowRect(const RECT& rect) {
    char text[96];
    snprintf(text, sizeof(text), "(%ld,%ld)-(%ld,%ld)", rect.left, rect.top, rect.right,
             rect.bottom);
    return text;
}

RECT WorkArea() {
    RECT area = {0, 0, 0, 0};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

RECT WindowRect(HWND hWnd) {
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(hWnd, &rect);
    return rect;
}

// The page's view of one picker: its function, the dialog that opened for it, and its thread.
class Picker : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        CreateDirectoryW(nphost::BesideExecutable(L"picked").c_str(), nullptr);
        CreateDirectoryW(Picked(L"a.lnk.d").c_str(), nullptr);
        const std::wstring plain = nphost::BesideExecutable(L"pick_target_plain.exe");
        const std::wstring named = nphost::BesideExecutable(L"pick_target_named.exe");
        for (const wchar_t* name : {L"tool.exe", L"my.tool.exe", L"a.lnk.d\\tool.exe"}) {
            CopyFileW(plain.c_str(), Picked(name).c_str(), FALSE);
        }
        CopyFileW(plain.c_str(), Picked(kLongProgram).c_str(), FALSE);
        CopyFileW(named.c_str(), Picked(L"named.exe").c_str(), FALSE);
        nphost::MakeShortcut(Picked(L"Editor.lnk"), Picked(L"tool.exe"));
    }

    void SetUp() override {
        frame_ = BrowserFrame();
        PlaceFrame(SW_SHOWNORMAL, 100, 100);
        instance_.reset(new Instance(Module()));
        object_ = instance_->ScriptableObject();
        ASSERT_NE(nullptr, object_);
        function_ = Browser::Get().CreateFunction();
    }

    void TearDown() override {
        PlaceFrame(SW_SHOWNORMAL, 100, 100);
        instance_.reset();
        Browser::Get().ReleaseObject(function_);
    }

    void PlaceFrame(int nShow, int x, int y) {
        ShowWindow(frame_, SW_SHOWNORMAL);
        SetWindowPos(frame_, nullptr, x, y, 800, 600, SWP_NOZORDER | SWP_NOACTIVATE);
        ShowWindow(frame_, nShow);
        Browser::Get().PumpFor(50);
    }

    // SelectApplications(function) as the page calls it on `object` (the fixture's by default);
    // the dialog that opens for it.
    HWND Select(NPObject* function, const std::vector<HWND>& known = {},
                NPObject* object = nullptr) {
        NPVariant result;
        result.type = NPVariantType_Void;
        EXPECT_TRUE(Browser::Get().CallMethod(object ? object : object_, "SelectApplications",
                                              Arguments().Object(function), &result));
        EXPECT_EQ(2u, function->referenceCount) << "the picker holds the page's function";
        const HWND hDialog = nphost::WaitForFileDialog(kWait, known);
        EXPECT_NE(nullptr, hDialog) << "no open-file dialog appeared";
        return hDialog;
    }

    // SelectApplications(function) on `object` that must start nothing: no dialog beside
    // `open`, no hold on the function, no reply.
    void SelectExpectingNothing(NPObject* object, const std::vector<HWND>& open, bool bAnswer) {
        NPObject* function = Browser::Get().CreateFunction();
        const int nPosted = Browser::Get().PostedAsyncCalls();
        NPVariant result;
        result.type = NPVariantType_Void;
        EXPECT_EQ(bAnswer, Browser::Get().CallMethod(object, "SelectApplications",
                                                     Arguments().Object(function), &result));
        EXPECT_EQ(1u, function->referenceCount) << "the page's function is held";
        const HWND hDialog = nphost::WaitForFileDialog(1000, open);
        EXPECT_EQ(nullptr, hDialog) << "another dialog opened";
        if (hDialog) {
            nphost::PressCancel(hDialog);
            nphost::WaitUntilClosed(hDialog, kWait);
        }
        EXPECT_EQ(nPosted, Browser::Get().PostedAsyncCalls()) << "a reply was posted";
        EXPECT_TRUE(Browser::Get().CallsOf(function).empty());
        Browser::Get().ReleaseObject(function);
    }

    // Waits until the picker has let go of the page's function: its job is over.
    bool Finished(NPObject* function) {
        return Browser::Get().PumpUntil([&] { return function->referenceCount == 1; }, kWait);
    }

    // The one call the page's function got, as UTF-8; fails the test otherwise.
    std::string OnlyReply(NPObject* function) {
        const std::vector<nphost::FunctionCall>& calls = Browser::Get().CallsOf(function);
        EXPECT_EQ(1u, calls.size()) << "calls of the page's function";
        if (calls.size() != 1) {
            return std::string();
        }
        EXPECT_EQ(Browser::Get().PluginThreadId(), calls[0].dwThreadId)
            << "the page's function runs on the plug-in thread";
        EXPECT_EQ(1u, calls[0].args.size()) << "arguments";
        if (calls[0].args.size() != 1) {
            return std::string();
        }
        EXPECT_EQ(NPVariantType_String, calls[0].args[0].type);
        return calls[0].args[0].text;
    }

    // Chooses `path` in a fresh picker and returns what the page received.
    std::string PickAndReply(const std::wstring& path) {
        const int nOffThread = Browser::Get().OffThreadCalls();
        const HWND hDialog = Select(function_);
        if (!hDialog) {
            return std::string();
        }
        nphost::ChooseFile(hDialog, path);
        EXPECT_TRUE(nphost::WaitUntilClosed(hDialog, kWait));
        nphost::DialogWatcher watcher;
        EXPECT_TRUE(Finished(function_)) << "the picker never finished";
        for (const nphost::SeenBox& box : watcher.Boxes()) {
            ADD_FAILURE() << "unexpected message box: " << Narrow(box.text);
        }
        EXPECT_EQ(nOffThread, Browser::Get().OffThreadCalls())
            << "a browser service other than the asynchronous call was used off the plug-in thread";
        const std::string reply = OnlyReply(function_);
        printf("[ reply ] %s (%u bytes)\n", reply.substr(0, 120).c_str(),
               static_cast<unsigned>(reply.size()));
        return reply;
    }

    // Chooses `path` and expects the icon failure message instead of a reply.
    void PickExpectingBox(const std::wstring& path, const std::wstring& text) {
        const HWND hDialog = Select(function_);
        ASSERT_NE(nullptr, hDialog);
        nphost::ChooseFile(hDialog, path);
        ASSERT_TRUE(nphost::WaitUntilClosed(hDialog, kWait));
        // Only now: the watcher presses the first button of any dialog it sees.
        nphost::DialogWatcher watcher;
        EXPECT_TRUE(Finished(function_)) << "the picker never finished";
        const std::vector<nphost::SeenBox> boxes = watcher.Boxes();
        for (const nphost::SeenBox& box : boxes) {
            printf("[ box ] \"%s\": \"%s\"\n", Narrow(box.caption).c_str(),
                   Narrow(box.text).c_str());
        }
        ASSERT_EQ(1u, boxes.size()) << "message boxes";
        EXPECT_EQ(Narrow(text), Narrow(boxes[0].text));
        EXPECT_EQ("Error", Narrow(boxes[0].caption)) << "the system's default caption";
        EXPECT_FALSE(boxes[0].bHasOwner);
        EXPECT_TRUE(Browser::Get().CallsOf(function_).empty()) << "the page is not called";
    }

    // Checks that `hDialog` lies at (x, y) within a pixel and prints where it is.
    void ExpectAt(HWND hDialog, const char* what, long x, long y) {
        const RECT dialog = WindowRect(hDialog);
        printf("[ position ] %s: frame %s, work area %s, dialog %s\n", what,
               ShowRect(WindowRect(frame_)).c_str(), ShowRect(WorkArea()).c_str(),
               ShowRect(dialog).c_str());
        EXPECT_NEAR(x, dialog.left, 1) << what << ": dialog at " << ShowRect(dialog);
        EXPECT_NEAR(y, dialog.top, 1) << what << ": dialog at " << ShowRect(dialog);
    }

    void CancelAndExpectNothing(HWND hDialog) {
        nphost::PressCancel(hDialog);
        ASSERT_TRUE(nphost::WaitUntilClosed(hDialog, kWait));
        nphost::DialogWatcher watcher;
        EXPECT_TRUE(Finished(function_)) << "the hold on the page's function was never released";
        EXPECT_TRUE(Browser::Get().CallsOf(function_).empty()) << "cancel calls nothing";
        EXPECT_TRUE(watcher.Boxes().empty()) << "cancel shows nothing";
    }

    HWND frame_ = nullptr;
    std::unique_ptr<Instance> instance_;
    NPObject* object_ = nullptr;
    NPObject* function_ = nullptr;
};

TEST_F(Picker, TheDialogOpensCentredOverTheVisibleFrameOfferingExecutables) {
    const HWND hDialog = Select(function_);
    ASSERT_NE(nullptr, hDialog);
    EXPECT_EQ(frame_, GetWindow(hDialog, GW_OWNER)) << "the browser's frame owns the dialog";
    EXPECT_EQ("Executive files", Narrow(nphost::FileTypeText(hDialog)));
    const RECT frame = WindowRect(frame_);
    const RECT dialog = WindowRect(hDialog);
    ExpectAt(hDialog, "visible frame",
             (frame.left + frame.right) / 2 - (dialog.right - dialog.left) / 2,
             (frame.top + frame.bottom) / 2 - (dialog.bottom - dialog.top) / 2);
    CancelAndExpectNothing(hDialog);
}

TEST_F(Picker, WithTheFrameMinimisedOrHiddenTheDialogIsCentredOnTheWorkArea) {
    for (int nShow : {SW_MINIMIZE, SW_HIDE}) {
        const char* what = nShow == SW_HIDE ? "hidden frame" : "minimised frame";
        PlaceFrame(nShow, 100, 100);
        const HWND hDialog = Select(function_);
        ASSERT_NE(nullptr, hDialog) << what;
        const RECT area = WorkArea();
        const RECT dialog = WindowRect(hDialog);
        ExpectAt(hDialog, what, (area.left + area.right) / 2 - (dialog.right - dialog.left) / 2,
                 (area.top + area.bottom) / 2 - (dialog.bottom - dialog.top) / 2);
        CancelAndExpectNothing(hDialog);
    }
}

TEST_F(Picker, AtTheRightOrBottomEdgeTheDialogIsPushedBackInsideTheWorkArea) {
    const RECT area = WorkArea();
    const struct {
        const char* what;
        int x;
        int y;
        bool bRight;
    } cases[] = {
        {"frame at the right edge", static_cast<int>(area.right) - 300, 100, true},
        {"frame at the bottom edge", 100, static_cast<int>(area.bottom) - 200, false},
    };
    for (const auto& c : cases) {
        PlaceFrame(SW_SHOWNORMAL, c.x, c.y);
        const HWND hDialog = Select(function_);
        ASSERT_NE(nullptr, hDialog) << c.what;
        const RECT frame = WindowRect(frame_);
        const RECT dialog = WindowRect(hDialog);
        const long w = dialog.right - dialog.left;
        const long h = dialog.bottom - dialog.top;
        ExpectAt(hDialog, c.what,
                 c.bRight ? area.right - w : (frame.left + frame.right) / 2 - w / 2,
                 c.bRight ? (frame.top + frame.bottom) / 2 - h / 2 : area.bottom - h);
        CancelAndExpectNothing(hDialog);
    }
}

bool ProcedureInModule(HWND hWnd, HMODULE hModule) {
    HMODULE hOwner = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(GetWindowLongPtrW(hWnd, GWLP_WNDPROC)), &hOwner);
    return hOwner == hModule;
}

// What the dialog's window looked like once it had processed its final message.
HWND g_hWatchedDialog = nullptr;
volatile LONG g_nFinalMessages = 0;
volatile LONG g_nStillSubclassed = 0;

LRESULT CALLBACK AfterWindowProcedure(int nCode, WPARAM wParam, LPARAM lParam) {
    const CWPRETSTRUCT* pMessage = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (nCode == HC_ACTION && pMessage->message == WM_NCDESTROY &&
        pMessage->hwnd == g_hWatchedDialog) {
        InterlockedIncrement(&g_nFinalMessages);
        if (ProcedureInModule(pMessage->hwnd, Module().Handle())) {
            InterlockedIncrement(&g_nStillSubclassed);
        }
    }
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

TEST_F(Picker, OnlyTheFileDialogItselfIsSubclassedUntilItsFinalMessage) {
    const HWND hDialog = Select(function_);
    ASSERT_NE(nullptr, hDialog);
    EXPECT_TRUE(ProcedureInModule(hDialog, Module().Handle()))
        << "the dialog's procedure is the centring object's";
    const HWND hInner = FindWindowExW(hDialog, nullptr, L"#32770", nullptr);
    ASSERT_NE(nullptr, hInner) << "the common dialog's inner dialog for the hook";
    EXPECT_FALSE(ProcedureInModule(hInner, Module().Handle()))
        << "a later dialog of the thread is left alone";

    g_hWatchedDialog = hDialog;
    g_nFinalMessages = 0;
    g_nStillSubclassed = 0;
    const HHOOK hHook = SetWindowsHookExW(WH_CALLWNDPROCRET, AfterWindowProcedure, nullptr,
                                          GetWindowThreadProcessId(hDialog, nullptr));
    ASSERT_NE(nullptr, hHook);
    CancelAndExpectNothing(hDialog);
    UnhookWindowsHookEx(hHook);
    EXPECT_EQ(1, g_nFinalMessages);
    EXPECT_EQ(0, g_nStillSubclassed) << "the replaced procedure is put back after WM_NCDESTROY";
}

TEST_F(Picker, AProgramIsNamedByItsFileTitleAndItsIconIsStored) {
    DeleteFileW(ImageOf(L"tool").c_str());
    EXPECT_EQ(Narrow(Picked(L"tool.exe") + L"*tool#"), PickAndReply(Picked(L"tool.exe")));
    EXPECT_EQ(kIconFileSize, FileSize(ImageOf(L"tool"))) << Narrow(ImageOf(L"tool"));
}

TEST_F(Picker, OnlyTheLastExtensionIsRemovedFromTheName) {
    EXPECT_EQ(Narrow(Picked(L"my.tool.exe") + L"*my.tool#"), PickAndReply(Picked(L"my.tool.exe")));
}

TEST_F(Picker, AProgramWithAProductNameIsNamedByIt) {
    DeleteFileW(ImageOf(L"named").c_str());
    EXPECT_EQ(Narrow(Picked(L"named.exe") + L"*My Tool#"), PickAndReply(Picked(L"named.exe")));
    EXPECT_EQ(kIconFileSize, FileSize(ImageOf(L"named")));
}

TEST_F(Picker, AFileNameTypedWithoutExtensionGetsExe) {
    EXPECT_EQ(Narrow(Picked(L"tool.exe") + L"*tool#"), PickAndReply(Picked(L"tool")));
}

TEST_F(Picker, AShortcutAnswersItsTargetUnderTheShortcutsTitle) {
    DeleteFileW(ImageOf(L"tool").c_str());
    EXPECT_EQ(Narrow(Picked(L"tool.exe") + L"*Editor#"), PickAndReply(Picked(L"Editor.lnk")));
    EXPECT_EQ(kIconFileSize, FileSize(ImageOf(L"tool"))) << "the target's icon is stored";
    EXPECT_FALSE(Exists(ImageOf(L"Editor")));
}

TEST_F(Picker, AReplyOfMoreThan1024BytesReachesThePageWhole) {
    // The name appears twice, in the path and as the display name: 1,238 bytes in UTF-8.
    const std::string expected =
        Narrow(Picked(kLongProgram) + L"*" + kLongProgram.substr(0, 200) + L"#");
    ASSERT_GT(expected.size(), 1024u);
    const std::string reply = PickAndReply(Picked(kLongProgram));
    EXPECT_EQ(expected.size(), reply.size());
    EXPECT_EQ(expected, reply);
}

TEST_F(Picker, AMissingProgramShowsTheIconFailureAndAnswersNothing) {
    PickExpectingBox(Picked(L"missing.exe"), L"Save Bitmap Icon Failed");
}

TEST_F(Picker, ALnkInsideAFolderNameTakesTheShortcutWayAndFails) {
    PickExpectingBox(Picked(L"a.lnk.d\\tool.exe"), L"Save  Bitmap Icon Failed");
}

// A shortcut whose header is whole and whose rest is noise leads nowhere: no icon to store.
TEST_F(Picker, ACorruptShortcutShowsTheIconFailureAndAnswersNothing) {
    std::ifstream good(Narrow(Picked(L"Editor.lnk")).c_str(), std::ios::binary);
    test_bytes::Bytes bytes((std::istreambuf_iterator<char>(good)),
                            std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 76u) << "the good shortcut";
    const test_bytes::Bytes noise = test_bytes::Noise(bytes.size() - 76, 9);
    std::copy(noise.begin(), noise.end(), bytes.begin() + 76);
    ASSERT_TRUE(test_bytes::WriteWholeFile(Narrow(Picked(L"Broken.lnk")), bytes));
    PickExpectingBox(Picked(L"Broken.lnk"), L"Save  Bitmap Icon Failed");
}

TEST_F(Picker, TwoPickersOpenTwoCentredDialogsOnTwoThreadsEachAnsweringItsOwnFunction) {
    // Two objects: one object has one picker at a time.
    Instance other(Module());
    NPObject* second = Browser::Get().CreateFunction();
    const HWND hFirst = Select(function_);
    ASSERT_NE(nullptr, hFirst);
    const HWND hSecond = Select(second, {hFirst}, other.ScriptableObject());
    ASSERT_NE(nullptr, hSecond);
    EXPECT_NE(GetWindowThreadProcessId(hFirst, nullptr),
              GetWindowThreadProcessId(hSecond, nullptr));
    for (HWND hDialog : {hFirst, hSecond}) {
        const RECT frame = WindowRect(frame_);
        const RECT dialog = WindowRect(hDialog);
        ExpectAt(hDialog, hDialog == hFirst ? "first of two" : "second of two",
                 (frame.left + frame.right) / 2 - (dialog.right - dialog.left) / 2,
                 (frame.top + frame.bottom) / 2 - (dialog.bottom - dialog.top) / 2);
    }
    nphost::ChooseFile(hSecond, Picked(L"named.exe"));
    EXPECT_TRUE(Finished(second));
    nphost::ChooseFile(hFirst, Picked(L"tool.exe"));
    EXPECT_TRUE(Finished(function_));
    EXPECT_EQ(Narrow(Picked(L"tool.exe") + L"*tool#"), OnlyReply(function_));
    EXPECT_EQ(Narrow(Picked(L"named.exe") + L"*My Tool#"), OnlyReply(second));
    Browser::Get().ReleaseObject(second);
}

TEST_F(Picker, AnObjectWhosePickerIsOpenStartsNoOtherUntilItIsOver) {
    const HWND hDialog = Select(function_);
    ASSERT_NE(nullptr, hDialog);
    SelectExpectingNothing(object_, {hDialog}, true);
    CancelAndExpectNothing(hDialog);
    const HWND hNext = Select(function_);
    ASSERT_NE(nullptr, hNext) << "the object picks again once its picker is over";
    CancelAndExpectNothing(hNext);
}

// A page that calls SelectApplications in a loop on many objects gets the module's few dialogs.
TEST_F(Picker, NoMoreThanFourDialogsAreOpenInTheModule) {
    std::vector<std::unique_ptr<Instance>> others;
    std::vector<NPObject*> functions;
    std::vector<HWND> open = {Select(function_)};
    for (int i = 0; i < 5; ++i) {
        others.emplace_back(new Instance(Module()));
        NPObject* object = others.back()->ScriptableObject();
        if (open.size() < 4) {
            functions.push_back(Browser::Get().CreateFunction());
            open.push_back(Select(functions.back(), open, object));
        } else {
            SelectExpectingNothing(object, open, true);
        }
    }
    EXPECT_EQ(4u, open.size());
    for (HWND hDialog : open) {
        nphost::PressCancel(hDialog);
        EXPECT_TRUE(nphost::WaitUntilClosed(hDialog, kWait));
    }
    for (NPObject* function : functions) {
        EXPECT_TRUE(Finished(function));
        Browser::Get().ReleaseObject(function);
    }
    EXPECT_TRUE(Finished(function_));
    const HWND hDialog = Select(function_, {}, others.back()->ScriptableObject());
    ASSERT_NE(nullptr, hDialog) << "a picker opens again once the others are over";
    CancelAndExpectNothing(hDialog);
}

// The page may keep the object after its instance is gone: nothing it calls reaches it.
TEST_F(Picker, AnObjectWhoseInstanceIsDestroyedStartsNothing) {
    instance_->Destroy();
    SelectExpectingNothing(object_, {}, false);
    nphost::DialogWatcher watcher;
    NPVariant result = Sentinel();
    EXPECT_FALSE(Browser::Get().CallMethod(object_, "RunAppointedApplication",
                                           Arguments().String("C:\\nope\\x.exe"), &result));
    EXPECT_FALSE(Browser::Get().CallMethod(object_, "RecentlyApplications", Arguments(), &result));
    EXPECT_TRUE(IsSentinel(result));
    EXPECT_TRUE(watcher.Boxes().empty()) << "a box was shown";
}

TEST_F(Picker, AfterDeliveryNothingOfTheReplyIsLeftInTheBrowsersHeap) {
    const size_t nBlocks = Browser::Get().Allocator().OutstandingBlocks();
    PickAndReply(Picked(L"tool.exe"));
    EXPECT_EQ(nBlocks, Browser::Get().Allocator().OutstandingBlocks())
        << "the argument's storage is given back";
}

TEST_F(Picker, AnInstanceDestroyedWhileTheDialogIsOpenGetsNoReply) {
    const int nDropped = Browser::Get().DroppedAsyncCalls();
    const HWND hDialog = Select(function_);
    ASSERT_NE(nullptr, hDialog);
    UniqueHandle hThread(nphost::OpenDialogThread(hDialog));
    ASSERT_TRUE(hThread);
    instance_->Destroy();
    EXPECT_EQ(1u, function_->referenceCount) << "NPP_Destroy lets go of the page's function";
    nphost::ChooseFile(hDialog, Picked(L"tool.exe"));
    ASSERT_TRUE(Browser::Get().PumpUntil(
        [&] { return WaitForSingleObject(hThread.get(), 0) == WAIT_OBJECT_0; }, kWait))
        << "the picker thread never ended";
    Browser::Get().PumpUntil([] { return Browser::Get().PendingAsyncCalls() == 0; }, kWait);
    EXPECT_EQ(nDropped, Browser::Get().DroppedAsyncCalls())
        << "an asynchronous call was posted for the destroyed instance";
    EXPECT_TRUE(Browser::Get().CallsOf(function_).empty());
}

TEST_F(Picker, AReplyPostedBeforeTheInstanceIsDestroyedCallsNothingEvenIfDelivered) {
    const HWND hDialog = Select(function_);
    ASSERT_NE(nullptr, hDialog);
    nphost::ChooseFile(hDialog, Picked(L"tool.exe"));
    // Posted calls stay queued: only messages sent by the dialog's thread are answered.
    ASSERT_TRUE(Browser::Get().AnswerSentMessagesUntil(
        [] { return Browser::Get().PendingAsyncCalls() == 1; }, kWait))
        << "the reply was never posted";
    instance_->Destroy();
    EXPECT_EQ(1u, function_->referenceCount) << "NPP_Destroy lets go of the page's function";
    Browser::Get().DeliverToDestroyedInstances(true);
    Browser::Get().PumpUntil([] { return Browser::Get().PendingAsyncCalls() == 0; }, kWait);
    Browser::Get().DeliverToDestroyedInstances(false);
    EXPECT_TRUE(Browser::Get().CallsOf(function_).empty());
    EXPECT_EQ(1u, function_->referenceCount);
}

// The module stays loaded while a picker runs, even when the browser unloads it.
TEST(PickerUnload, UnloadingThePluginWhileAPickIsPendingCrashesNothing) {
    const wchar_t kModule[] = L"npDesklaunch.dll";
    ASSERT_EQ(nullptr, GetModuleHandleW(kModule)) << "run this case in a process of its own";
    BrowserFrame();
    NPObject* function = Browser::Get().CreateFunction();
    HWND hDialog = nullptr;
    UniqueHandle hThread;
    {
        nphost::PluginModule module(nphost::BesideExecutable(kModule));
        ASSERT_TRUE(module.Loaded());
        Instance instance(module);
        NPObject* object = instance.ScriptableObject();
        ASSERT_NE(nullptr, object);
        NPVariant result;
        result.type = NPVariantType_Void;
        ASSERT_TRUE(Browser::Get().CallMethod(object, "SelectApplications",
                                              Arguments().Object(function), &result));
        hDialog = nphost::WaitForFileDialog(kWait);
        ASSERT_NE(nullptr, hDialog);
        hThread.reset(nphost::OpenDialogThread(hDialog));
        ASSERT_TRUE(hThread);
    } // the instance is destroyed, NP_Shutdown called and the library freed
    EXPECT_NE(nullptr, GetModuleHandleW(kModule)) << "the picker thread keeps the module";
    EXPECT_EQ(1u, function->referenceCount);
    nphost::PressCancel(hDialog);
    ASSERT_TRUE(Browser::Get().PumpUntil(
        [&] { return WaitForSingleObject(hThread.get(), 0) == WAIT_OBJECT_0; }, kWait));
    EXPECT_EQ(nullptr, GetModuleHandleW(kModule)) << "the thread's reference was given back";
    Browser::Get().PumpUntil([] { return Browser::Get().PendingAsyncCalls() == 0; }, kWait);
    EXPECT_TRUE(Browser::Get().CallsOf(function).empty());
    Browser::Get().ReleaseObject(function);
}

} // namespace
