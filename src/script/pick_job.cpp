// Creation and release of PickJob records, and the list that keeps them apart from destroyed
// instances.
#include "script/pick_job.h"

#include <new>

#include "common/unique_resource.h"
#include "npruntime/browser_services.h"

namespace {

// The list of unfinished jobs, shared by the plug-in thread and the picker threads.
class PickJobList {
  public:
    PickJobList() : pFirst_(NULL), nLastTicket_(0) {}
    PickJobList(const PickJobList&) = delete;
    PickJobList& operator=(const PickJobList&) = delete;

    CriticalSection& Lock() { return lock_; }

    // The calls below expect the lock to be held.
    void Add(PickJob* pJob) {
        pJob->nTicket = ++nLastTicket_;
        pJob->pNext = pFirst_;
        pFirst_ = pJob;
    }
    void Remove(PickJob* pJob) {
        for (PickJob** ppLink = &pFirst_; *ppLink; ppLink = &(*ppLink)->pNext) {
            if (*ppLink == pJob) {
                *ppLink = pJob->pNext;
                pJob->pNext = NULL;
                return;
            }
        }
    }
    PickJob* First() const { return pFirst_; }
    // Whether one more job for `npp` stays within the limits.
    bool Admits(NPP npp) const {
        size_t nJobs = 0;
        for (const PickJob* pJob = pFirst_; pJob; pJob = pJob->pNext) {
            if (pJob->npp == npp || ++nJobs >= kMaxOpenPickers) {
                return false;
            }
        }
        return true;
    }

  private:
    CriticalSection lock_;
    PickJob* pFirst_;
    uintptr_t nLastTicket_;
};

PickJobList g_jobs;

class ListLock : public ScopedLock {
  public:
    ListLock() : ScopedLock(g_jobs.Lock()) {}
};

HMODULE ReferenceThisModule() {
    HMODULE hModule = NULL;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            reinterpret_cast<LPCWSTR>(&ReferenceThisModule), &hModule)) {
        return NULL;
    }
    return hModule;
}

// Frees what the module itself allocated, the buffer with the record; calls nothing of the
// browser.
void FreeJobMemory(PickJob* pJob) {
    delete pJob;
}

} // namespace

PickJob* NewPickJob(NPP npp, bool& bRefused) {
    bRefused = false;
    if (!npp) {
        bRefused = true;
        return NULL;
    }
    PickJob* pJob = new (std::nothrow) PickJob();
    if (!pJob) {
        return NULL;
    }
    pJob->npp = npp;
    pJob->buffer.reset(new (std::nothrow) char[kPickBufferSize]());
    if (!pJob->buffer) {
        delete pJob;
        return NULL;
    }
    pJob->hModule = ReferenceThisModule();
    {
        ListLock lock;
        if (g_jobs.Admits(npp)) {
            g_jobs.Add(pJob);
            return pJob;
        }
    }
    bRefused = true;
    DiscardPickJob(pJob);
    return NULL;
}

void DiscardPickJob(PickJob* pJob) {
    if (!pJob) {
        return;
    }
    {
        ListLock lock;
        g_jobs.Remove(pJob);
    }
    if (pJob->callback) {
        NPN_ReleaseObject(pJob->callback);
    }
    if (pJob->hModule) {
        FreeLibrary(pJob->hModule); // the browser's own reference keeps the module loaded
    }
    FreeJobMemory(pJob);
}

HMODULE TakePickerModuleReference(PickJob* pJob) {
    HMODULE hModule = pJob->hModule;
    pJob->hModule = NULL;
    return hModule;
}

void HandPickJobToPluginThread(PickJob* pJob, NPN_AsyncCallFunction deliver) {
    {
        ListLock lock;
        // Under the lock NPP_Destroy cannot come between the test and the post.
        if (pJob->npp) {
            pJob->bHanded = true;
            if (NPN_PluginThreadAsyncCall(pJob->npp, deliver,
                                          reinterpret_cast<void*>(pJob->nTicket))) {
                return;
            }
            // Without the service the job cannot leave this thread; dispatch starts no
            // picker then, so this is not reached.
            pJob->bHanded = false;
            return;
        }
        g_jobs.Remove(pJob);
    }
    FreeJobMemory(pJob);
}

PickJob* TakeHandedPickJob(void* pTicket) {
    const uintptr_t nTicket = reinterpret_cast<uintptr_t>(pTicket);
    ListLock lock;
    for (PickJob* pJob = g_jobs.First(); pJob; pJob = pJob->pNext) {
        if (pJob->nTicket == nTicket && pJob->bHanded) {
            g_jobs.Remove(pJob);
            return pJob;
        }
    }
    return NULL;
}

void ForgetPickJobsOf(NPP npp) {
    PickJob* pHanded = NULL; // jobs taken off the list, linked through pNext
    {
        ListLock lock;
        PickJob* pJob = g_jobs.First();
        while (pJob) {
            PickJob* pNext = pJob->pNext;
            if (pJob->npp == npp) {
                // Released under the lock: a picker thread waits here at most for this loop.
                if (pJob->callback) {
                    NPN_ReleaseObject(pJob->callback);
                    pJob->callback = NULL;
                }
                pJob->npp = NULL;
                if (pJob->bHanded) {
                    g_jobs.Remove(pJob);
                    pJob->pNext = pHanded;
                    pHanded = pJob;
                }
            }
            pJob = pNext;
        }
    }
    while (pHanded) {
        PickJob* pNext = pHanded->pNext;
        FreeJobMemory(pHanded);
        pHanded = pNext;
    }
}
