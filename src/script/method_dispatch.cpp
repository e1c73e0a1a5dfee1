// Invoke: the OS family, the method by its identifier, the arguments, and the routine that works.
#include <windows.h>
#include <process.h>

#include <memory>

#include "catalogue/catalogue_builder.h"
#include "common/unique_resource.h"
#include "picker/launcher.h"
#include "picker/picker_thread.h"
#include "plugin/browser_services.h"
#include "plugin/plugin_instance.h"
#include "script/os_family.h"
#include "script/pick_job.h"
#include "script/pick_thread_start.h"
#include "script/script_arguments.h"
#include "script/scriptable_object.h"
#include "script/string_marshalling.h"

namespace {

uintptr_t BeginPickThread(PickThreadProc proc, void* pArgument) {
    return _beginthreadex(NULL, 0, proc, pArgument, 0, NULL);
}

} // namespace

PickThreadStarter StartPickThread = BeginPickThread;

namespace {

// "错误": error.
const WideChar kLaunchFailureCaption[] = WIDE("\u9519\u8BEF");

bool RecentlyApplications(OsFamily family, NPVariant* result) {
    WideString wstrData;
    if (family == OsFamilyNt6) {
        BuildRecentApplicationsNt6(wstrData);
    } else {
        BuildRecentApplicationsNt5(wstrData);
    }
    return WideStringToVariant(wstrData, result);
}

void ShowLaunchFailure(const WideString& wstrText) {
    WideChar wszError[kPathCapacity] = {0};
    CopyToBuffer(wszError, kPathCapacity, FormatLaunchFailureMessage(wstrText));
    MessageBoxW(NULL, wszError, kLaunchFailureCaption, MB_OK);
}

void RunAppointedApplication(OsFamily family, const NPVariant* args, uint32_t argCount) {
    const NPString* pArgument = StringArgument(args, argCount);
    WideString wstrText;
    if (!pArgument || !Utf8ArgumentToWide(*pArgument, wstrText)) {
        return;
    }
    bool bStarted = false;
    // A text too long for a path buffer names no program the shell could open.
    if (FitsPathBuffer(wstrText)) {
        WideChar wszArgs[kPathCapacity] = {0};
        CopyToBuffer(wszArgs, kPathCapacity, wstrText);
        bStarted =
            family == OsFamilyNt6 ? LaunchApplicationNt6(wszArgs) : LaunchApplicationNt5(wszArgs);
    }
    if (!bStarted) {
        ShowLaunchFailure(wstrText);
    }
}

// Ends a job that no thread took over, on every path out of SelectApplications.
struct PickJobDiscarder {
    void operator()(PickJob* pJob) const { DiscardPickJob(pJob); }
};

bool SelectApplications(NPP npp, const NPVariant* args, uint32_t argCount) {
    std::unique_ptr<PickJob, PickJobDiscarder> job(NewPickJob(npp));
    if (!job) {
        return false;
    }
    NPObject* pCallback = CallbackArgument(args, argCount);
    if (!pCallback) {
        return true;
    }
    job->callback = NPN_RetainObject(pCallback);
    // Without the asynchronous-call service no answer could ever reach the page: no thread.
    if (BrowserOffersAsyncCalls()) {
        UniqueHandle hThread(
            reinterpret_cast<HANDLE>(StartPickThread(PickApplicationThread, job.get())));
        if (hThread) {
            job.release(); // the thread owns the job; its handle is closed here, detached
        }
    }
    return true;
}

} // namespace

bool ScriptablePluginObject::Invoke(NPIdentifier name, const NPVariant* args, uint32_t argCount,
                                    NPVariant* result) {
    const OsFamily family = DetectOsFamily();
    if (!IsServedOsFamily(family)) {
        return false;
    }
    if (name == idRecentlyApplications) {
        return RecentlyApplications(family, result);
    }
    if (name == idRunAppointedApplication) {
        RunAppointedApplication(family, args, argCount);
        return true;
    }
    if (name == idSelectApplications) {
        return SelectApplications(npp, args, argCount);
    }
    return false;
}
