// The browser: one per process, made on the plug-in thread, and its record of misuse.
#include "nphost/browser.h"

namespace nphost {

Browser& Browser::Get() {
    static Browser browser;
    return browser;
}

Browser::Browser() : dwPluginThread_(GetCurrentThreadId()) {
    InitializeCriticalSection(&asyncLock_);
    // The window to which asynchronous calls are posted (async_calls.cpp).
    WNDCLASSW wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = MessageWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"NpHostMessageWindow";
    RegisterClassW(&wc);
    hMessageWindow_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                      nullptr, wc.hInstance, nullptr);
}

void Browser::CheckThread(const char* service) {
    EnterCriticalSection(&asyncLock_);
    ++serviceCalls_[service];
    LeaveCriticalSection(&asyncLock_);
    if (GetCurrentThreadId() != dwPluginThread_) {
        ++nOffThreadCalls_;
        Violation(std::string(service) + " called off the plug-in thread (thread " +
                  std::to_string(GetCurrentThreadId()) + ")");
    }
}

void Browser::Violation(const std::string& what) {
    EnterCriticalSection(&asyncLock_);
    violations_.push_back(what);
    LeaveCriticalSection(&asyncLock_);
}

int Browser::ServiceCalls(const std::string& service) {
    EnterCriticalSection(&asyncLock_);
    const int nCalls = serviceCalls_[service];
    LeaveCriticalSection(&asyncLock_);
    return nCalls;
}

std::vector<std::string> Browser::Violations() {
    EnterCriticalSection(&asyncLock_);
    std::vector<std::string> copy = violations_;
    LeaveCriticalSection(&asyncLock_);
    return copy;
}

std::vector<std::string> Browser::TakeViolations(size_t nKeep) {
    EnterCriticalSection(&asyncLock_);
    std::vector<std::string> taken;
    if (violations_.size() > nKeep) {
        taken.assign(violations_.begin() + static_cast<std::ptrdiff_t>(nKeep), violations_.end());
        violations_.resize(nKeep);
    }
    LeaveCriticalSection(&asyncLock_);
    return taken;
}

} // namespace nphost
