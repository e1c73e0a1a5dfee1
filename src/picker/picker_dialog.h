// The open-file dialog of SelectApplications, centred over the browser's frame window.
#ifndef NPDESKLAUNCH_PICKER_PICKER_DIALOG_H
#define NPDESKLAUNCH_PICKER_PICKER_DIALOG_H

#include <windows.h>
#include <commdlg.h>

#include "common/wide_text.h"

// The record's size without the fields added with Windows 2000 (76 bytes on 32-bit Windows).
const DWORD kOpenFileNameSizeBefore2000 = offsetof(OPENFILENAMEW, pvReserved);
static_assert(sizeof(void*) != 4 || kOpenFileNameSizeBefore2000 == 76,
              "the record without the Windows 2000 fields is 76 bytes on 32-bit Windows");

// The common open dialog around one OPENFILENAMEW record.
class CFileDialog {
  public:
    // The dialog's own hook, which handles no message, and the flags that go with it are added.
    CFileDialog(const WideChar* wszDefExt, const WideChar* wszFileName, DWORD dwFlags,
                const WideChar* wszFilter, HWND hWndParent);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // Runs the dialog on the calling thread: IDOK when a file was chosen, IDCANCEL otherwise
    // (also when the dialog itself fails).
    INT_PTR DoModal();

    OPENFILENAMEW m_ofn;

  private:
    WideChar m_szFileTitle[256];
    WideChar m_szFileName[kPathCapacity];
};

// The picker's dialog: executables only, a chosen shortcut returned as itself, and the picker
// thread's buffers for the chosen path and file title.
class CPickerDialog : public CFileDialog {
  public:
    CPickerDialog(HWND hOwner, WideChar (&wszFilaPath)[kPathCapacity],
                  WideChar (&wszAppName)[kPathCapacity]);
};

// Shows the picker dialog on the calling thread, owned by `hOwner` (without one, the thread's
// active window, else the browser's frame window), and waits for it to close. On IDOK the
// buffers hold the chosen file's full path and its file title; IDCANCEL otherwise.
INT_PTR ShowPickerDialog(WideChar (&wszFilaPath)[kPathCapacity],
                         WideChar (&wszAppName)[kPathCapacity], HWND hOwner = NULL);

#endif
