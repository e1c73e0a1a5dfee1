// Creation and release of PickJob records.
#include "script/pick_job.h"

#include <new>

#include "plugin/browser_services.h"

PickJob* NewPickJob(NPP npp) {
    PickJob* pJob = new (std::nothrow) PickJob();
    if (!pJob) {
        return NULL;
    }
    pJob->npp = npp;
    pJob->buffer = new (std::nothrow) char[kPickBufferSize]();
    if (!pJob->buffer) {
        delete pJob;
        return NULL;
    }
    return pJob;
}

void DiscardPickJob(PickJob* pJob) {
    if (!pJob) {
        return;
    }
    if (pJob->callback) {
        NPN_ReleaseObject(pJob->callback);
    }
    delete[] pJob->buffer;
    delete pJob;
}
