// The browser's windows: its frame and the plug-in areas inside it, with the browser's own
// window procedures.
#include "nphost/browser.h"

namespace nphost {

namespace {

LRESULT CALLBACK FrameProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

const wchar_t kFrameClass[] = L"CB_CorvidBrowserFrame";
const wchar_t kPluginAreaClass[] = L"CB_CorvidPluginArea";

void RegisterWindowClasses() {
    static bool bRegistered = false;
    if (bRegistered) {
        return;
    }
    WNDCLASSW wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpfnWndProc = FrameProc;
    wc.lpszClassName = kFrameClass;
    RegisterClassW(&wc);
    wc.lpfnWndProc = BrowserPluginWindowProcA;
    wc.lpszClassName = kPluginAreaClass;
    RegisterClassW(&wc);
    bRegistered = true;
}

} // namespace

namespace {

std::map<std::pair<HWND, UINT>, int>& MessagesSeen() {
    static std::map<std::pair<HWND, UINT>, int> seen;
    return seen;
}

} // namespace

LRESULT CALLBACK BrowserPluginWindowProcA(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    ++MessagesSeen()[std::make_pair(hWnd, uMsg)];
    return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

int MessagesSeenByBrowserProcedure(HWND hWnd, UINT uMsg) {
    auto it = MessagesSeen().find(std::make_pair(hWnd, uMsg));
    return it == MessagesSeen().end() ? 0 : it->second;
}

LRESULT CALLBACK BrowserPluginWindowProcB(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

HWND BrowserFrame() {
    static HWND hFrame = nullptr;
    if (!hFrame) {
        RegisterWindowClasses();
        hFrame =
            CreateWindowExW(0, kFrameClass, L"CorvidBrowser", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                            100, 800, 600, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    return hFrame;
}

PluginArea::PluginArea(WNDPROC procedure)
    : procedure_(procedure ? procedure : BrowserPluginWindowProcA) {
    hWnd_.reset(CreateWindowExW(0, kPluginAreaClass, L"", WS_CHILD | WS_VISIBLE, 10, 10, 320, 240,
                                BrowserFrame(), nullptr, GetModuleHandleW(nullptr), nullptr));
    if (hWnd_ && procedure_ != BrowserPluginWindowProcA) {
        SetWindowLongPtrW(hWnd_.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure_));
    }
}

WNDPROC PluginArea::CurrentProcedure() const {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hWnd_.get(), GWLP_WNDPROC));
}

} // namespace nphost
