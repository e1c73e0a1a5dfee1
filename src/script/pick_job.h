// The record that carries one SelectApplications call to the picker thread and back.
#ifndef NPDESKLAUNCH_SCRIPT_PICK_JOB_H
#define NPDESKLAUNCH_SCRIPT_PICK_JOB_H

#include <windows.h>

#include <memory>

#include "npapi/npapi.h"

// Size of the reply buffer: it holds any entry of two 259-unit texts and two separators in
// UTF-8 (at most 1,556 bytes) with its zero byte.
const uint32_t kPickBufferSize = 2048;

// How many pickers may be open in the module at once, whatever their instances: each is a thread
// and a dialog (Wine 8 hangs a process's 64th open-file dialog). An instance has one at most.
const size_t kMaxOpenPickers = 4;

struct PickJob {
    NPP npp;         // the instance the reply goes to; null once that instance is destroyed
    uint32_t length; // bytes of the UTF-8 reply in buffer, without its zero byte
    std::unique_ptr<char[]> buffer; // kPickBufferSize bytes from the module's heap
    NPObject* callback;             // the page's function, held by one reference

    // Bookkeeping of the module's list of unfinished jobs.
    uintptr_t nTicket; // names the job in its asynchronous call; never reused
    HMODULE hModule;   // the picker thread's reference on this module, until it takes it
    bool bReplied;     // buffer holds an entry for the page
    bool bHanded;      // passed to the plug-in thread by an asynchronous call
    PickJob* pNext;
};

// A job for `npp` with a zeroed buffer and a reference on this module for the picker thread,
// entered in the list of unfinished jobs. Null with `bRefused` set when `npp` has an unfinished
// job already or kMaxOpenPickers jobs are unfinished (a job counts until its reply is delivered
// or dropped); null with `bRefused` clear when memory is exhausted.
PickJob* NewPickJob(NPP npp, bool& bRefused);

// Ends a job on the plug-in thread: the hold on the page's function is let go (the page is
// not called), the module reference still in the job is given back, then the buffer and the
// record are freed.
void DiscardPickJob(PickJob* pJob);

// Picker thread: takes the module reference that the job holds for it (may be null).
HMODULE TakePickerModuleReference(PickJob* pJob);

// Picker thread, at its end: hands the job to the plug-in thread, where `deliver` gets its
// ticket. When the job's instance is gone nothing is posted and the job is freed here; its
// hold on the page's function was already let go. The caller does not touch the job again.
void HandPickJobToPluginThread(PickJob* pJob, NPN_AsyncCallFunction deliver);

// Plug-in thread: the job handed over under `pTicket`, now owned by the caller; null when
// there is none (its instance was destroyed in the meantime).
PickJob* TakeHandedPickJob(void* pTicket);

// Plug-in thread, from NPP_Destroy: no reply reaches `npp` afterwards. Every hold on a page
// function of its jobs is let go now; jobs already handed over are freed, the others are freed
// by their picker threads, which post nothing.
void ForgetPickJobsOf(NPP npp);

#endif
