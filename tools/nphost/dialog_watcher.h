// Watches this process's message boxes as a user would: reads each one and presses a button.
#ifndef NPDESKLAUNCH_TOOLS_NPHOST_DIALOG_WATCHER_H
#define NPDESKLAUNCH_TOOLS_NPHOST_DIALOG_WATCHER_H

#include <windows.h>

#include <string>
#include <vector>

#include "common/unique_resource.h"

namespace nphost {

struct SeenBox {
    std::wstring caption;
    std::wstring text;
    std::vector<std::wstring> buttons; // their texts, in window order
    std::vector<int> buttonIds;
    bool bHasOwner = false;
};

// From construction to destruction a thread looks for the process's dialog boxes; it records
// each box it finds and presses its first button.
class DialogWatcher {
  public:
    DialogWatcher();
    ~DialogWatcher();
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

    std::vector<SeenBox> Boxes();

  private:
    static DWORD WINAPI Run(void* pSelf);
    void Scan();

    UniqueHandle hStop_;
    UniqueHandle hThread_; // ended before the event is closed
    CRITICAL_SECTION lock_;
    std::vector<SeenBox> boxes_;
    std::vector<HWND> handled_;
};

} // namespace nphost

#endif
