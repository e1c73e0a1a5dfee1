// The soak through the host, shared by the soak tests and the soak benchmark.
#include "soak_run.h"

#include <commdlg.h>
#include <stdlib.h>

#include <algorithm>

#include "host/file_dialog_driver.h"
#include "host/stopwatch.h"
#include "nphost/dialog_watcher.h"
#include "nphost/usage_history_seed.h"

namespace {

using nphost::Browser;

const std::wstring kRoot = L"C:\\npd-soak";
const DWORD kWait = 60000; // ends only a run that went wrong
const int kQualifying = 30;
const int kOthers = 120;

// Open-file dialogs shown by this process so far: each runs in a COM apartment of its own.
int g_nDialogs = 0;

std::wstring Numbered(const wchar_t* wszPattern, int n) {
    wchar_t wszText[MAX_PATH] = {0};
    _snwprintf(wszText, MAX_PATH - 1, wszPattern, n);
    return wszText;
}

std::wstring PickTarget() {
    return kRoot + L"\\pick\\Soak Pick.exe";
}

// The smaller of `nFull` and the count that the variable `name` sets.
int AtMostFromEnvironment(const char* name, int nFull) {
    const char* value = getenv(name);
    return value && *value ? std::min(nFull, atoi(value)) : nFull;
}

void Fault(SoakResult& result, const std::string& what) {
    if (std::find(result.faults.begin(), result.faults.end(), what) == result.faults.end()) {
        result.faults.push_back(what);
    }
}

// One RecentlyApplications call; its text, or empty after a fault.
std::string CallCatalogue(NPObject* object, SoakResult& result) {
    nphost::Value copy;
    if (!Browser::Get().CallAndCopy(object, "RecentlyApplications", nphost::Arguments(), &copy)) {
        Fault(result, "RecentlyApplications failed");
        return std::string();
    }
    if (copy.type != NPVariantType_String || copy.text.empty()) {
        Fault(result, "RecentlyApplications gave no text");
    }
    return copy.text;
}

void NoDialog(SoakResult& result, const char* what) {
    char text[160] = {0};
    _snprintf(text, sizeof(text) - 1, "%s (the process's dialog %d of at most %d)", what,
              g_nDialogs, kMostDialogsPerProcess);
    Fault(result, text);
}

// One picker round trip: the dialog opened, the program chosen, the reply delivered; false
// when it went wrong.
bool PickOnce(NPObject* object, SoakResult& result) {
    // Each fault is said once per soak, so this round trip's own are counted here.
    bool bSound = true;
    const auto fail = [&](const std::string& what) {
        Fault(result, what);
        bSound = false;
    };
    ++g_nDialogs;
    NPObject* function = Browser::Get().CreateFunction();
    NPVariant value;
    value.type = NPVariantType_Void;
    if (!Browser::Get().CallMethod(object, "SelectApplications",
                                   nphost::Arguments().Object(function), &value)) {
        fail("SelectApplications failed");
    }
    Browser::Get().ReleaseVariantValue(&value);
    const HWND hDialog = nphost::WaitForFileDialog(kWait);
    if (!hDialog) {
        NoDialog(result, "no open-file dialog appeared");
        bSound = false;
    } else {
        nphost::ChooseFile(hDialog, PickTarget());
        if (!nphost::WaitUntilClosed(hDialog, kWait)) {
            fail("the open-file dialog stayed open");
        }
    }
    {
        // Only once the file dialog is gone: the watcher presses the first button it sees.
        nphost::DialogWatcher watcher;
        if (!Browser::Get().PumpUntil([&] { return function->referenceCount == 1; }, kWait)) {
            fail("the picker never let go of the page's function");
        }
        if (!watcher.Boxes().empty()) {
            fail("a message box appeared: " + nphost::Narrow(watcher.Boxes()[0].text));
        }
    }
    const std::vector<nphost::FunctionCall>& calls = Browser::Get().CallsOf(function);
    const std::string expected = nphost::Narrow(PickTarget()) + "*Soak Pick#";
    if (calls.size() != 1 || calls[0].args.size() != 1 || calls[0].args[0].text != expected) {
        fail("the page's function did not receive \"" + expected + "\" once");
    }
    Browser::Get().ReleaseObject(function);
    return bSound;
}

UINT_PTR CALLBACK BareDialogHook(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

// The open-file dialog alone, as the system gives it to any program: on a thread of its own,
// owned by the browser's frame, of the picker's kind (the old record with a hook) and worked
// like it.
DWORD WINAPI RunBareDialog(void* pFrame) {
    wchar_t wszFile[MAX_PATH] = {0};
    OPENFILENAMEW ofn;
    ZeroMemory(&ofn, sizeof(ofn));
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    ofn.hwndOwner = static_cast<HWND>(pFrame);
    ofn.lpstrFilter = L"Programs\0*.exe\0";
    ofn.lpstrFile = wszFile;
    ofn.nMaxFile = MAX_PATH;
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_ENABLEHOOK;
    ofn.lpfnHook = BareDialogHook;
    GetOpenFileNameW(&ofn);
    return 0;
}

void BareDialogOnce(SoakResult& result) {
    ++g_nDialogs;
    UniqueHandle hThread(CreateThread(NULL, 0, RunBareDialog, nphost::BrowserFrame(), 0, NULL));
    const HWND hDialog = nphost::WaitForFileDialog(kWait);
    if (!hDialog) {
        NoDialog(result, "no bare open-file dialog appeared");
        return;
    }
    nphost::ChooseFile(hDialog, PickTarget());
    nphost::WaitUntilClosed(hDialog, kWait);
    Browser::Get().PumpUntil([&] { return WaitForSingleObject(hThread.get(), 0) == WAIT_OBJECT_0; },
                             kWait);
}

} // namespace

SoakPlan SoakPlanFromEnvironment(const SoakPlan& full) {
    return {AtMostFromEnvironment("NPD_SOAK_CALLS", full.nCatalogueCalls),
            AtMostFromEnvironment("NPD_SOAK_PICKS", full.nPicks),
            AtMostFromEnvironment("NPD_SOAK_BARE_DIALOGS", full.nBareDialogs)};
}

bool PrepareSoak() {
    nphost::RemoveTree(kRoot);
    const std::wstring marker = nphost::BesideExecutable(L"marker_program.exe");
    if (!nphost::CopyProgram(marker, PickTarget())) {
        return false;
    }
    // Programs on disk that qualify, and values that do not: programs no longer there,
    // installers, program identifiers and shortcuts whose file is gone.
    std::vector<nphost::HistoryValue> values;
    for (int i = 0; i < kQualifying; ++i) {
        const std::wstring path = kRoot + Numbered(L"\\apps\\program%02d.exe", i);
        if (!nphost::CopyProgram(marker, path)) {
            return false;
        }
        values.push_back({path, 10 + i, 1});
    }
    const wchar_t* const patterns[] = {L"\\gone\\removed%03d.exe", L"\\apps\\setup%03d.exe",
                                       L"Vendor.Product%03d", L"\\links\\gone%03d.lnk"};
    for (int i = 0; i < kOthers; ++i) {
        const bool bPath = i % 4 != 2;
        const std::wstring name = (bPath ? kRoot : std::wstring()) + Numbered(patterns[i % 4], i);
        if (i % 4 == 1 && !nphost::CopyProgram(marker, name)) {
            return false;
        }
        values.push_back({name, 1 + i % 50, 1});
    }
    return nphost::SeedUsageHistory(nphost::HistoryFamily::Nt6, values);
}

void CleanUpSoak() {
    nphost::ClearUsageHistory(nphost::HistoryFamily::Nt6);
    nphost::RemoveTree(kRoot);
}

SoakResult RunSoak(nphost::PluginModule& module, const SoakPlan& plan) {
    SoakResult result;
    nphost::BrowserFrame(); // the page's browser window, made by this thread
    nphost::Instance instance(module);
    NPObject* object = instance.ScriptableObject();
    if (!object) {
        Fault(result, "no scriptable object");
        return result;
    }
    const std::string first = CallCatalogue(object, result);
    if (plan.nPicks > 0) {
        PickOnce(object, result);
    }
    if (plan.nPicks > 0 && plan.nBareDialogs > 0) {
        // What the system itself keeps for each open-file dialog, the module aside.
        BareDialogOnce(result);
        const nphost::ResourceCounters bareStart = nphost::ReadResourceCounters();
        for (int i = 0; i < plan.nBareDialogs; ++i) {
            BareDialogOnce(result);
        }
        result.systemPerDialog =
            nphost::GrowthPer(bareStart, nphost::ReadResourceCounters(), plan.nBareDialogs);
    }
    result.start = nphost::ReadResourceCounters();

    nphost::Stopwatch stopwatch;
    for (int i = 0; i < plan.nCatalogueCalls; ++i) {
        if (CallCatalogue(object, result) != first) {
            Fault(result, "RecentlyApplications changed its text");
        }
    }
    result.dCallSeconds = plan.nCatalogueCalls ? stopwatch.Seconds() / plan.nCatalogueCalls : 0;
    stopwatch.Restart();
    // A pick that went wrong may have left its thread stuck in the system's dialog: the rest
    // would only wait for it.
    while (result.nPicks < plan.nPicks && PickOnce(object, result)) {
        ++result.nPicks;
    }
    result.dPickSeconds = result.nPicks ? stopwatch.Seconds() / result.nPicks : 0;
    result.end = nphost::ReadResourceCounters();
    return result;
}

nphost::FlatnessMargins SoakMargins(const nphost::FlatnessMargins& base, const SoakResult& result,
                                    const SoakPlan& plan) {
    const nphost::FlatnessMargins& each = result.systemPerDialog;
    return {base.nGdiObjects + each.nGdiObjects * plan.nPicks,
            base.nUserObjects + each.nUserObjects * plan.nPicks,
            base.nHandles + each.nHandles * plan.nPicks,
            base.nPrivateBytes + each.nPrivateBytes * plan.nPicks};
}
