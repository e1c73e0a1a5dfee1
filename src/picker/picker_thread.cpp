// The picker thread: dialog, identity of the chosen file, its icon, and the reply to the page.
#include "picker/picker_thread.h"

#include <windows.h>

#include "catalogue/app_identity.h"
#include "catalogue/result_text.h"
#include "icons/bitmap_file.h"
#include "picker/picker_dialog.h"
#include "picker/picker_rules.h"
#include "plugin/browser_services.h"
#include "script/pick_job.h"

namespace {

const unsigned int kPickFailed = 0xFFFFFFFF;

// The entry in UTF-8 into the job's buffer; an entry that does not convert leaves it empty.
void WriteReply(PickJob* pJob, const WideString& wstrEntry) {
    const WideString wstrResult = ReplaceLoneSurrogates(wstrEntry);
    int nBytes = 0;
    if (!wstrResult.empty()) {
        nBytes =
            WideCharToMultiByte(CP_UTF8, 0, wstrResult.data(), static_cast<int>(wstrResult.size()),
                                pJob->buffer, static_cast<int>(kPickBufferSize - 1), NULL, NULL);
    }
    if (nBytes < 0) {
        nBytes = 0;
    }
    pJob->buffer[nBytes] = '\0';
    pJob->length = static_cast<uint32_t>(nBytes);
    pJob->bReplied = true;
}

// What the chosen file stands for: the path and name of the reply, or false after the user
// was told that its icon could not be stored.
bool IdentifyChoice(const WideString& wstrChosen, const WideString& wstrTitle,
                    WideString& wstrResultPath, WideString& wstrProductName) {
    // The images folder with a trailing separator; without one no icon can be stored.
    WideChar wszAppFolder[kPathCapacity] = {0};
    const bool bHaveFolder = GetImagesFolder(wszAppFolder);
    const WideString wstrPathPos = TextBeforeZero(wszAppFolder, kPathCapacity) + WIDE("\\");
    if (!IsShortcutChoice(wstrChosen)) {
        GetProductName(wstrChosen, wstrProductName);
        if (!bHaveFolder || !SaveAppIcon(wstrChosen, wstrPathPos)) {
            MessageBoxW(NULL, WIDE("Save Bitmap Icon Failed"), NULL, MB_OK);
            return false;
        }
        if (wstrProductName.empty()) {
            wstrProductName = TitleWithoutLastExtension(wstrTitle);
        }
        wstrResultPath = wstrChosen;
        return true;
    }
    wstrProductName = TitleWithoutLastExtension(wstrTitle);
    WideString wstrExePath;
    ResolveShortcutTarget(wstrChosen, wstrExePath);
    if (!bHaveFolder || !SaveAppIcon(wstrExePath, wstrPathPos)) {
        MessageBoxW(NULL, WIDE("Save  Bitmap Icon Failed"), NULL, MB_OK);
        return false;
    }
    wstrResultPath = wstrExePath;
    return true;
}

// One pick from dialog to reply; every object of the run is gone when it returns.
unsigned int RunPick(PickJob* pJob) {
    WideChar wszFilaPath[kPathCapacity] = {0};
    WideChar wszAppName[kPathCapacity] = {0};
    unsigned int nExitCode = 0;
    if (ShowPickerDialog(wszFilaPath, wszAppName) == IDOK && wszFilaPath[0] != 0) {
        WideString wstrResultPath;
        WideString wstrProductName;
        if (IdentifyChoice(TextBeforeZero(wszFilaPath, kPathCapacity),
                           TextBeforeZero(wszAppName, kPathCapacity), wstrResultPath,
                           wstrProductName)) {
            WideString wstrResult;
            AppendEntryText(wstrResult, wstrResultPath, ReplyDisplayName(wstrProductName));
            WriteReply(pJob, wstrResult);
        } else {
            nExitCode = kPickFailed;
        }
    }
    return nExitCode;
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
            pArgument->value.stringValue.UTF8Characters = pJob->buffer;
            pArgument->value.stringValue.UTF8Length = pJob->length;
            NPVariant result;
            result.type = NPVariantType_Void;
            result.value.objectValue = NULL;
            NPN_InvokeDefault(pJob->npp, pJob->callback, pArgument, 1, &result);
            NPN_ReleaseVariantValue(&result);
            // The characters stay the module's: only the variant's own storage goes back.
            NPN_MemFree(pArgument);
        }
    }
    DiscardPickJob(pJob);
}
