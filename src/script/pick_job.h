// The record that carries one SelectApplications call to the picker thread and back.
#ifndef NPDESKLAUNCH_SCRIPT_PICK_JOB_H
#define NPDESKLAUNCH_SCRIPT_PICK_JOB_H

#include "npapi/npapi.h"

// Size of the reply buffer, of which the picker writes at most 1024 bytes.
const uint32_t kPickBufferSize = 2048;

struct PickJob {
    NPP npp;            // the instance the reply goes to
    uint32_t length;    // bytes of the UTF-8 reply in buffer, without its zero byte
    char* buffer;       // kPickBufferSize bytes from the module's heap
    NPObject* callback; // the page's function, held by one reference
};

// A job for `npp` with a zeroed buffer; null when memory is exhausted.
PickJob* NewPickJob(NPP npp);

// Ends a job that will never be answered, on the plug-in thread: the hold on the page's
// function is let go (the page is not called), then the buffer and the record are freed.
void DiscardPickJob(PickJob* pJob);

#endif
