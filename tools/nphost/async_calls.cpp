// Asynchronous calls, posted from any thread and run by the plug-in thread's message loop for
// live instances only; and the loops that wait on that thread.
#include "nphost/browser.h"

#include <stdio.h>

#include "nphost/checked_call.h"
#include "nphost/test_time.h"

namespace nphost {

namespace {

const UINT kAsyncCallMessage = WM_APP + 1;

} // namespace

size_t Browser::PendingAsyncCalls() {
    EnterCriticalSection(&asyncLock_);
    const size_t nPending = asyncCalls_.size() + nDelivering_;
    LeaveCriticalSection(&asyncLock_);
    return nPending;
}

void Browser::QueueAsyncCall(NPP npp, NPN_AsyncCallFunction func, void* userData) {
    EnterCriticalSection(&asyncLock_);
    ++nPostedAsyncCalls_;
    LeaveCriticalSection(&asyncLock_);
    // A real browser reads the instance here: one that is gone may be freed memory.
    const bool bLive = IsLiveInstance(npp);
    if (!bLive) {
        char text[32];
        snprintf(text, sizeof(text), "%p", static_cast<void*>(npp));
        Violation(std::string("NPN_PluginThreadAsyncCall posted for instance ") + text +
                  ", which is destroyed or was never created; the call is not run");
        return;
    }
    EnterCriticalSection(&asyncLock_);
    asyncCalls_.push_back(AsyncCall{npp, func, userData});
    LeaveCriticalSection(&asyncLock_);
    PostMessageW(hMessageWindow_, kAsyncCallMessage, 0, 0);
}

void Browser::InstanceCreated(NPP npp) {
    EnterCriticalSection(&asyncLock_);
    liveInstances_.insert(npp);
    LeaveCriticalSection(&asyncLock_);
}

void Browser::InstanceDestroyed(NPP npp) {
    EnterCriticalSection(&asyncLock_);
    liveInstances_.erase(npp);
    LeaveCriticalSection(&asyncLock_);
}

bool Browser::IsLiveInstance(NPP npp) {
    EnterCriticalSection(&asyncLock_);
    const bool bLive = liveInstances_.count(npp) != 0;
    LeaveCriticalSection(&asyncLock_);
    return bLive;
}

void Browser::DeliverAsyncCalls() {
    // One call at a time, counted as pending until it has run.
    for (;;) {
        EnterCriticalSection(&asyncLock_);
        if (asyncCalls_.empty()) {
            LeaveCriticalSection(&asyncLock_);
            return;
        }
        const AsyncCall call = asyncCalls_.front();
        asyncCalls_.erase(asyncCalls_.begin());
        ++nDelivering_;
        LeaveCriticalSection(&asyncLock_);
        // As in browsers, a call for an instance destroyed since it was posted is dropped.
        if (IsLiveInstance(call.npp)) {
            CallTable("an asynchronous call", call.func, call.userData);
        } else {
            ++nDroppedAsyncCalls_;
            if (bDeliverToDestroyed_) {
                CallTable("an asynchronous call", call.func, call.userData);
            }
        }
        EnterCriticalSection(&asyncLock_);
        --nDelivering_;
        LeaveCriticalSection(&asyncLock_);
    }
}

LRESULT CALLBACK Browser::MessageWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == kAsyncCallMessage) {
        Get().DeliverAsyncCalls();
        return 0;
    }
    return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

bool Browser::AnswerSentMessagesUntil(const std::function<bool()>& done, DWORD dwTimeoutMs) {
    dwTimeoutMs = nphost::PatientWait(dwTimeoutMs);
    const DWORD dwStart = GetTickCount();
    for (;;) {
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        if (done()) {
            return true;
        }
        if (GetTickCount() - dwStart >= dwTimeoutMs) {
            return false;
        }
        MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_SENDMESSAGE, 0);
    }
}

bool Browser::PumpUntil(const std::function<bool()>& done, DWORD dwTimeoutMs) {
    return PumpWithin(done, nphost::PatientWait(dwTimeoutMs));
}

bool Browser::PumpWithin(const std::function<bool()>& done, DWORD dwTimeoutMs) {
    const DWORD dwStart = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done()) {
            return true;
        }
        if (GetTickCount() - dwStart >= dwTimeoutMs) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void Browser::PumpFor(DWORD dwMs) {
    PumpWithin([] { return false; }, dwMs);
}

} // namespace nphost
