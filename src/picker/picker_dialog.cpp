// The picker dialog: its record, its owner, and the subclass object that centres it.
#include "picker/picker_dialog.h"

#include <new>

#include "picker/picker_rules.h"
#include "common/module_handle.h"
#include "common/unique_resource.h"

namespace {

// "Executive files" / "*.exe", then the empty string that ends the list.
const WideChar kExecutableFilter[] = WIDE("Executive files\0*.exe\0");
const WideChar kBrowserFrameClass[] = WIDE("CB_CorvidBrowserFrame");
const WideChar kSubclassProperty[] = WIDE("npDesklaunch.COpenFileDialog");

// The hook of the dialog itself: the common dialog does all its own processing.
UINT_PTR CALLBACK PickerDialogHook(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

// Whether the next dialog of a thread is to be centred: one slot per thread, so that pickers
// opening at the same time each centre their own dialog. A dynamic slot, because a module
// loaded at run time cannot use the compiler's thread-local data on Windows XP.
class CenteringSlot {
  public:
    CenteringSlot() : dwIndex_(TlsAlloc()) {}
    ~CenteringSlot() {
        if (dwIndex_ != TLS_OUT_OF_INDEXES) {
            TlsFree(dwIndex_);
        }
    }
    CenteringSlot(const CenteringSlot&) = delete;
    CenteringSlot& operator=(const CenteringSlot&) = delete;

    void Set(bool bCenterNextDialog) {
        if (dwIndex_ != TLS_OUT_OF_INDEXES) {
            TlsSetValue(dwIndex_, bCenterNextDialog ? reinterpret_cast<void*>(1) : NULL);
        }
    }
    bool Get() const { return dwIndex_ != TLS_OUT_OF_INDEXES && TlsGetValue(dwIndex_) != NULL; }

  private:
    DWORD dwIndex_;
};

CenteringSlot g_bCenterNextDialog;

ScreenRect ToScreenRect(const RECT& rect) {
    ScreenRect result = {static_cast<int32_t>(rect.left), static_cast<int32_t>(rect.top),
                         static_cast<int32_t>(rect.right), static_cast<int32_t>(rect.bottom)};
    return result;
}

// Posted to a dialog once its modal loop has disabled the owner.
UINT OwnerStaysEnabledMessage() {
    static const UINT uMessage = RegisterWindowMessageW(WIDE("npDesklaunch.OwnerStaysEnabled"));
    return uMessage;
}

// The window-subclass object: it centres its window at WM_INITDIALOG and deletes itself after
// the window's final message.
class COpenFileDialog {
  public:
    // Subclasses `hWnd`; false when the object cannot be made or attached.
    static bool Attach(HWND hWnd) {
        COpenFileDialog* pDialog = new (std::nothrow) COpenFileDialog(hWnd);
        if (!pDialog) {
            return false;
        }
        if (!SetPropW(hWnd, kSubclassProperty, pDialog)) {
            delete pDialog;
            return false;
        }
        pDialog->m_pfnSuperWindowProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
            hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&COpenFileDialog::WindowProc)));
        if (!pDialog->m_pfnSuperWindowProc) {
            RemovePropW(hWnd, kSubclassProperty);
            delete pDialog;
            return false;
        }
        return true;
    }

  private:
    explicit COpenFileDialog(HWND hWnd) : m_hWnd(hWnd), m_pfnSuperWindowProc(NULL) {}

    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
        COpenFileDialog* pDialog = static_cast<COpenFileDialog*>(GetPropW(hWnd, kSubclassProperty));
        if (!pDialog) {
            return DefWindowProcW(hWnd, uMsg, wParam, lParam);
        }
        return pDialog->ProcessMessage(uMsg, wParam, lParam);
    }

    LRESULT ProcessMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
        if (uMsg != 0 && uMsg == OwnerStaysEnabledMessage()) {
            EnableWindow(GetWindow(m_hWnd, GW_OWNER), TRUE);
            return 0;
        }
        const LRESULT lResult = CallWindowProcW(m_pfnSuperWindowProc, m_hWnd, uMsg, wParam, lParam);
        if (uMsg == WM_INITDIALOG) {
            // After the dialog's own set-up, which may still change its size.
            Center();
            // A modal dialog disables its owner until it closes. Another process's window is
            // given back at once: were this process ended meanwhile, that window would stay
            // disabled for good.
            const HWND hOwner = GetWindow(m_hWnd, GW_OWNER);
            DWORD dwOwnerProcess = 0;
            if (hOwner && GetWindowThreadProcessId(hOwner, &dwOwnerProcess) &&
                dwOwnerProcess != GetCurrentProcessId()) {
                PostMessageW(m_hWnd, OwnerStaysEnabledMessage(), 0, 0);
            }
        }
        if (uMsg == WM_NCDESTROY) {
            OnFinalMessage();
        }
        return lResult;
    }

    void OnFinalMessage() {
        if (GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC) ==
            reinterpret_cast<LONG_PTR>(&COpenFileDialog::WindowProc)) {
            SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC,
                              reinterpret_cast<LONG_PTR>(m_pfnSuperWindowProc));
        }
        RemovePropW(m_hWnd, kSubclassProperty);
        m_hWnd = NULL;
        delete this;
    }

    void Center() {
        RECT rcDialog;
        if (!GetWindowRect(m_hWnd, &rcDialog)) {
            return;
        }
        const HWND hOwner = GetWindow(m_hWnd, GW_OWNER);
        // The work area of the monitor the owner is on (the dialog's own without an owner).
        MONITORINFO monitor;
        ZeroMemory(&monitor, sizeof(monitor));
        monitor.cbSize = sizeof(monitor);
        if (!GetMonitorInfoW(MonitorFromWindow(hOwner ? hOwner : m_hWnd, MONITOR_DEFAULTTONEAREST),
                             &monitor)) {
            return;
        }
        const RECT rcWorkArea = monitor.rcWork;
        const DWORD dwOwnerStyle =
            hOwner ? static_cast<DWORD>(GetWindowLongW(hOwner, GWL_STYLE)) : 0;
        RECT rcOwner;
        const bool bOnOwner =
            CanCenterOnOwner(hOwner != NULL, dwOwnerStyle) && GetWindowRect(hOwner, &rcOwner);
        const ScreenRect owner = bOnOwner ? ToScreenRect(rcOwner) : ToScreenRect(rcWorkArea);
        const ScreenPoint point = CenterDialogPosition(
            ToScreenRect(rcDialog), bOnOwner ? &owner : NULL, ToScreenRect(rcWorkArea));
        SetWindowPos(m_hWnd, NULL, point.x, point.y, -1, -1,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    HWND m_hWnd;
    WNDPROC m_pfnSuperWindowProc;
};

// The call-window-procedure hook that attaches the centring object to the first dialog window
// of its thread.
LRESULT CALLBACK CenterDialogHook(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HC_ACTION) {
        const CWPSTRUCT* pMessage = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (pMessage && pMessage->message == WM_INITDIALOG && g_bCenterNextDialog.Get()) {
            COpenFileDialog::Attach(pMessage->hwnd);
            g_bCenterNextDialog.Set(false);
        }
    }
    return CallNextHookEx(NULL, nCode, wParam, lParam);
}

// The dialog's owner: the thread's active window, else the browser's frame window; may be null.
HWND FindPickerOwner() {
    const HWND hActive = GetActiveWindow();
    return hActive ? hActive : FindWindowW(kBrowserFrameClass, NULL);
}

} // namespace

CFileDialog::CFileDialog(const WideChar* wszDefExt, const WideChar* wszFileName, DWORD dwFlags,
                         const WideChar* wszFilter, HWND hWndParent) {
    ZeroMemory(&m_ofn, sizeof(m_ofn));
    ZeroMemory(m_szFileTitle, sizeof(m_szFileTitle));
    ZeroMemory(m_szFileName, sizeof(m_szFileName));
    m_ofn.lStructSize = kOpenFileNameSizeBefore2000;
    m_ofn.hwndOwner = hWndParent;
    m_ofn.hInstance = ModuleHandle();
    m_ofn.lpstrFilter = wszFilter;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = kPathCapacity;
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = sizeof(m_szFileTitle) / sizeof(m_szFileTitle[0]);
    m_ofn.lpstrDefExt = wszDefExt;
    m_ofn.Flags = dwFlags | OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLESIZING;
    m_ofn.lpfnHook = PickerDialogHook;
    if (wszFileName) {
        CopyToBuffer(m_szFileName, kPathCapacity, wszFileName);
    }
}

INT_PTR CFileDialog::DoModal() {
    if (!m_ofn.hwndOwner) {
        m_ofn.hwndOwner = GetActiveWindow();
    }
    return GetOpenFileNameW(&m_ofn) ? IDOK : IDCANCEL;
}

CPickerDialog::CPickerDialog(HWND hOwner, WideChar (&wszFilaPath)[kPathCapacity],
                             WideChar (&wszAppName)[kPathCapacity])
    : CFileDialog(WIDE("exe"), NULL,
                  OFN_NODEREFERENCELINKS | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                  kExecutableFilter, hOwner) {
    m_ofn.lpstrFile = wszFilaPath;
    m_ofn.lpstrFileTitle = wszAppName;
}

INT_PTR ShowPickerDialog(WideChar (&wszFilaPath)[kPathCapacity],
                         WideChar (&wszAppName)[kPathCapacity], HWND hOwner) {
    CPickerDialog dlg(hOwner ? hOwner : FindPickerOwner(), wszFilaPath, wszAppName);
    g_bCenterNextDialog.Set(true);
    // Without the hook the dialog opens where the system puts it.
    const UniqueHook hook(
        SetWindowsHookExW(WH_CALLWNDPROC, CenterDialogHook, NULL, GetCurrentThreadId()));
    return dlg.DoModal();
}
