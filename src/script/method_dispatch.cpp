// Invoke: the OS family, the administrator's origin policy, the method by its identifier, the
// arguments, and the operation that works, with what the user sees of its failure.
#include <windows.h>

#include <memory>

#include "app/os_family.h"
#include "app/recent_applications.h"
#include "app/run_application.h"
#include "common/unique_resource.h"
#include "npruntime/browser_services.h"
#include "script/method_names.h"
#include "script/page_admission.h"
#include "script/pick_delivery.h"
#include "script/pick_job.h"
#include "script/script_arguments.h"
#include "script/scriptable_object.h"
#include "script/string_marshalling.h"

namespace {

// "错误": error.
const WideChar kLaunchFailureCaption[] = WIDE("\u9519\u8BEF");

bool RecentlyApplications(OsFamily family, NPVariant* result) {
    return WideStringToVariant(RecentApplications(family), result);
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
    if (!RunApplication(family, wstrText)) {
        ShowLaunchFailure(wstrText);
    }
}

// Ends a job that no thread took over, on every path out of SelectApplications.
struct PickJobDiscarder {
    void operator()(PickJob* pJob) const { DiscardPickJob(pJob); }
};

bool SelectApplications(NPP npp, const NPVariant* args, uint32_t argCount,
                        PickThreadStarter startPickThread) {
    NPObject* pCallback = CallbackArgument(args, argCount);
    // Without the asynchronous-call service no answer could ever reach the page: no thread.
    if (!pCallback || !BrowserOffersAsyncCalls()) {
        return true;
    }
    bool bRefused = false;
    std::unique_ptr<PickJob, PickJobDiscarder> job(NewPickJob(npp, bRefused));
    if (!job) {
        // A picker of this instance is open, or as many as the module allows: nothing starts.
        return bRefused;
    }
    job->callback = NPN_RetainObject(pCallback);
    UniqueHandle hThread(
        reinterpret_cast<HANDLE>(startPickThread(PickApplicationThread, job.get())));
    if (hThread) {
        job.release(); // the thread owns the job; its handle is closed here, detached
    }
    return true;
}

} // namespace

bool ScriptablePluginObject::Invoke(NPIdentifier name, const NPVariant* args, uint32_t argCount,
                                    NPVariant* result) {
    // The object of a destroyed instance speaks for no page element any more: it does nothing.
    if (!npp) {
        return false;
    }
    const OsFamily family = DetectOsFamily();
    if (!IsServedOsFamily(family)) {
        return false;
    }
    // Where the administrator names the sites that may use the object, no other page gets
    // anything from it.
    if (!PageMayCall(npp)) {
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
        return SelectApplications(npp, args, argCount, startPickThread_);
    }
    return false;
}
