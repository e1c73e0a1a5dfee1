// A thread that reads and answers the process's dialog boxes.
#include "nphost/dialog_watcher.h"

#include <algorithm>

namespace nphost {

namespace {

std::wstring WindowText(HWND hWnd) {
    wchar_t text[1024] = {0};
    GetWindowTextW(hWnd, text, 1024);
    return text;
}

std::wstring ClassOf(HWND hWnd) {
    wchar_t name[64] = {0};
    GetClassNameW(hWnd, name, 64);
    return name;
}

struct Found {
    std::vector<HWND> boxes;
};

BOOL CALLBACK CollectBox(HWND hWnd, LPARAM lParam) {
    DWORD dwProcess = 0;
    GetWindowThreadProcessId(hWnd, &dwProcess);
    if (dwProcess == GetCurrentProcessId() && IsWindowVisible(hWnd) && ClassOf(hWnd) == L"#32770") {
        reinterpret_cast<Found*>(lParam)->boxes.push_back(hWnd);
    }
    return TRUE;
}

BOOL CALLBACK ReadControl(HWND hWnd, LPARAM lParam) {
    SeenBox* pBox = reinterpret_cast<SeenBox*>(lParam);
    const std::wstring name = ClassOf(hWnd);
    if (name == L"Button") {
        pBox->buttons.push_back(WindowText(hWnd));
        pBox->buttonIds.push_back(GetDlgCtrlID(hWnd));
    } else if (name == L"Static") {
        const std::wstring text = WindowText(hWnd);
        if (!text.empty() && pBox->text.empty()) {
            pBox->text = text;
        }
    }
    return TRUE;
}

} // namespace

DialogWatcher::DialogWatcher() {
    InitializeCriticalSection(&lock_);
    hStop_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    hThread_.reset(CreateThread(nullptr, 0, Run, this, 0, nullptr));
}

DialogWatcher::~DialogWatcher() {
    SetEvent(hStop_.get());
    WaitForSingleObject(hThread_.get(), INFINITE);
    DeleteCriticalSection(&lock_);
}

std::vector<SeenBox> DialogWatcher::Boxes() {
    EnterCriticalSection(&lock_);
    std::vector<SeenBox> boxes = boxes_;
    LeaveCriticalSection(&lock_);
    return boxes;
}

DWORD WINAPI DialogWatcher::Run(void* pSelf) {
    DialogWatcher* self = static_cast<DialogWatcher*>(pSelf);
    while (WaitForSingleObject(self->hStop_.get(), 25) == WAIT_TIMEOUT) {
        self->Scan();
    }
    return 0;
}

void DialogWatcher::Scan() {
    Found found;
    EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&found));
    for (HWND hBox : found.boxes) {
        if (std::find(handled_.begin(), handled_.end(), hBox) != handled_.end()) {
            continue;
        }
        SeenBox box;
        box.caption = WindowText(hBox);
        box.bHasOwner = GetWindow(hBox, GW_OWNER) != nullptr;
        EnumChildWindows(hBox, ReadControl, reinterpret_cast<LPARAM>(&box));
        if (box.buttonIds.empty()) {
            continue; // not drawn yet
        }
        handled_.push_back(hBox);
        EnterCriticalSection(&lock_);
        boxes_.push_back(box);
        LeaveCriticalSection(&lock_);
        PostMessageW(hBox, WM_COMMAND, MAKEWPARAM(box.buttonIds[0], BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(hBox, box.buttonIds[0])));
    }
}

} // namespace nphost
