// Finding and working the common open-file dialog from the test's thread.
#include "host/file_dialog_driver.h"

#include <algorithm>

#include "nphost/browser.h"

namespace nphost {

namespace {

// Control identifiers of the common file dialog's template.
const int kFileTypeList = 0x470;  // cmb1
const int kFileNameCombo = 0x47c; // cmb13, where Windows has it
const int kFileNameEdit = 0x480;  // edt1, where Wine has it

struct Search {
    const std::vector<HWND>* known;
    DWORD dwProcess;
    HWND found;
};

bool IsFileDialog(HWND hWnd) {
    wchar_t name[16] = {0};
    GetClassNameW(hWnd, name, 16);
    return std::wstring(name) == L"#32770" && GetDlgItem(hWnd, kFileTypeList) != nullptr;
}

BOOL CALLBACK FindNewDialog(HWND hWnd, LPARAM lParam) {
    Search* pSearch = reinterpret_cast<Search*>(lParam);
    DWORD dwProcess = 0;
    GetWindowThreadProcessId(hWnd, &dwProcess);
    if (dwProcess != pSearch->dwProcess || !IsWindowVisible(hWnd) || !IsFileDialog(hWnd) ||
        std::find(pSearch->known->begin(), pSearch->known->end(), hWnd) != pSearch->known->end()) {
        return TRUE;
    }
    pSearch->found = hWnd;
    return FALSE;
}

HWND FileNameBox(HWND hDialog) {
    HWND hBox = GetDlgItem(hDialog, kFileNameCombo);
    return hBox ? hBox : GetDlgItem(hDialog, kFileNameEdit);
}

} // namespace

HWND WaitForFileDialog(DWORD dwTimeoutMs, const std::vector<HWND>& known, DWORD dwProcess) {
    Search search = {&known, dwProcess, nullptr};
    Browser::Get().PumpUntil(
        [&] {
            EnumWindows(FindNewDialog, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        dwTimeoutMs);
    return search.found;
}

std::wstring FileTypeText(HWND hDialog) {
    const HWND hList = GetDlgItem(hDialog, kFileTypeList);
    const LRESULT nChoice = SendMessageW(hList, CB_GETCURSEL, 0, 0);
    if (nChoice == CB_ERR) {
        return std::wstring();
    }
    const LRESULT nLength = SendMessageW(hList, CB_GETLBTEXTLEN, nChoice, 0);
    if (nLength == CB_ERR) {
        return std::wstring();
    }
    std::wstring text(static_cast<size_t>(nLength) + 1, L'\0');
    SendMessageW(hList, CB_GETLBTEXT, nChoice, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(wcslen(text.c_str()));
    return text;
}

void ChooseFile(HWND hDialog, const std::wstring& path) {
    SendMessageW(FileNameBox(hDialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageW(hDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hDialog, IDOK)));
}

void PressCancel(HWND hDialog) {
    PostMessageW(hDialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hDialog, IDCANCEL)));
}

bool WaitUntilClosed(HWND hDialog, DWORD dwTimeoutMs) {
    return Browser::Get().PumpUntil([&] { return !IsWindow(hDialog); }, dwTimeoutMs);
}

HANDLE OpenDialogThread(HWND hDialog) {
    const DWORD dwThread = GetWindowThreadProcessId(hDialog, nullptr);
    return dwThread ? OpenThread(SYNCHRONIZE, FALSE, dwThread) : nullptr;
}

} // namespace nphost
