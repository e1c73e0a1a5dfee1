// The picker thread: it hands its job back to the plug-in thread, where the job ends.
#include "picker/picker_thread.h"

#include "plugin/browser_services.h"
#include "script/pick_job.h"

namespace {

void NP_TABLE DiscardPickJobOnPluginThread(void* pArgument) {
    DiscardPickJob(static_cast<PickJob*>(pArgument));
}

} // namespace

unsigned int __stdcall PickApplicationThread(void* pArgument) {
    PickJob* pJob = static_cast<PickJob*>(pArgument);
    if (!pJob) {
        return 0xFFFFFFFF;
    }
    // No dialog is shown yet, so every pick ends as if cancelled: the page is not called, and
    // the hold on its function may only be let go on the plug-in thread.
    NPN_PluginThreadAsyncCall(pJob->npp, DiscardPickJobOnPluginThread, pJob);
    return 0;
}
