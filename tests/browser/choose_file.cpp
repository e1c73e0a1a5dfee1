// Plays the user at an open-file dialog that another program (the messaging host) showed:
// waits for one, types the path into its file-name box and presses Open.
//   choose_file PATH        exits 0 once Open was pressed, 1 when no dialog came in 30 s
//   choose_file --find      exits 0 when such a dialog is open now, else 1
#include <windows.h>

namespace {

// Control identifiers of the common file dialog's template.
const int kFileTypeList = 0x470;  // cmb1
const int kFileNameCombo = 0x47c; // cmb13, where Windows has it
const int kFileNameEdit = 0x480;  // edt1, where Wine has it

BOOL CALLBACK FindFileDialog(HWND hWnd, LPARAM lParam) {
    wchar_t name[16] = {0};
    GetClassNameW(hWnd, name, 16);
    if (lstrcmpW(name, L"#32770") != 0 || !IsWindowVisible(hWnd) ||
        GetDlgItem(hWnd, kFileTypeList) == nullptr) {
        return TRUE;
    }
    *reinterpret_cast<HWND*>(lParam) = hWnd;
    return FALSE;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        return 2;
    }
    const bool bFindOnly = lstrcmpW(argv[1], L"--find") == 0;
    HWND hDialog = nullptr;
    EnumWindows(FindFileDialog, reinterpret_cast<LPARAM>(&hDialog));
    for (int i = 0; i < 300 && hDialog == nullptr && !bFindOnly; ++i) {
        Sleep(100);
        EnumWindows(FindFileDialog, reinterpret_cast<LPARAM>(&hDialog));
    }
    if (hDialog == nullptr || bFindOnly) {
        return hDialog == nullptr ? 1 : 0;
    }
    HWND hBox = GetDlgItem(hDialog, kFileNameCombo);
    if (hBox == nullptr) {
        hBox = GetDlgItem(hDialog, kFileNameEdit);
    }
    SendMessageW(hBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[1]));
    PostMessageW(hDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hDialog, IDOK)));
    return 0;
}
