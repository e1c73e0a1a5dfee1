// The picker thread: the pick, the user told of a failure, and the reply carried to the page.
#include "script/pick_delivery.h"

#include <windows.h>
#include <string.h>

#include "app/pick_application.h"
#include "npruntime/browser_services.h"
#include "script/pick_job.h"

namespace {

const unsigned int kPickFailed = 0xFFFFFFFF;

// The entry in UTF-8 into the job's buffer; an entry that does not convert leaves it empty.
void WriteReply(PickJob* pJob, const WideString& wstrEntry) {
    const std::string utf8 = Utf8FromWide(wstrEntry);
    // An entry too long for the buffer stays empty (no entry comes near it).
    const size_t nBytes = utf8.size() < kPickBufferSize ? utf8.size() : 0;
    memcpy(pJob->buffer.get(), utf8.data(), nBytes);
    pJob->buffer[nBytes] = '\0';
    pJob->length = static_cast<uint32_t>(nBytes);
    pJob->bReplied = true;
}

// One pick from dialog to reply; every object of the run is gone when it returns.
unsigned int RunPick(PickJob* pJob) {
    PickedApplication entry;
    switch (PickApplication(entry)) {
    case PickChosen:
        WriteReply(pJob, PickedEntryText(entry));
        return 0;
    case PickIconNotStored:
        MessageBoxW(NULL, WIDE("Save Bitmap Icon Failed"), NULL, MB_OK);
        return kPickFailed;
    case PickShortcutIconNotStored:
        MessageBoxW(NULL, WIDE("Save  Bitmap Icon Failed"), NULL, MB_OK);
        return kPickFailed;
    case PickCancelled:
    default:
        return 0;
    }
}

unsigned int RunPickGuarded(PickJob* pJob) {
    try {
        return RunPick(pJob);
    } catch (...) {
        return kPickFailed; // out of memory for a string: the page gets no answer
    }
}

} // namespace

unsigned int __stdcall PickApplicationThread(void* pArgument) {
    PickJob* pJob = static_cast<PickJob*>(pArgument);
    if (!pJob) {
        return kPickFailed;
    }
    const HMODULE hModule = TakePickerModuleReference(pJob);
    const unsigned int nExitCode = RunPickGuarded(pJob);
    // With or without a reply the job goes back to the plug-in thread, where the hold on the
    // page's function may be let go.
    HandPickJobToPluginThread(pJob, DeliverPickedApplication);
    if (hModule) {
        // The module may go with this reference, so no code of it may run afterwards.
        FreeLibraryAndExitThread(hModule, nExitCode);
    }
    return nExitCode;
}

void NP_TABLE DeliverPickedApplication(void* pTicket) {
    PickJob* pJob = TakeHandedPickJob(pTicket);
    if (!pJob) {
        return; // its instance was destroyed; the job is gone already
    }
    if (pJob->bReplied && pJob->callback) {
        NPVariant* pArgument = static_cast<NPVariant*>(NPN_MemAlloc(sizeof(NPVariant)));
        if (pArgument) {
            pArgument->type = NPVariantType_String;
            pArgument->value.stringValue.UTF8Characters = pJob->buffer.get();
            pArgument->value.stringValue.UTF8Length = pJob->length;
            NPVariant result;
            result.type = NPVariantType_Void;
            result.value.objectValue = NULL;
            // The page's answer, and whether the call reached it, change nothing here.
            static_cast<void>(NPN_InvokeDefault(pJob->npp, pJob->callback, pArgument, 1, &result));
            NPN_ReleaseVariantValue(&result);
            // The characters stay the module's: only the variant's own storage goes back.
            NPN_MemFree(pArgument);
        }
    }
    DiscardPickJob(pJob);
}
