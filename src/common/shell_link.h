// A shell shortcut (.lnk file) opened through the shell's link object.
#ifndef NPDESKLAUNCH_COMMON_SHELL_LINK_H
#define NPDESKLAUNCH_COMMON_SHELL_LINK_H

#include <windows.h>
#include <shlobj.h>

#include "common/unique_resource.h"
#include "common/wide_text.h"

// The shell's link object.
class ShellLink {
  public:
    ShellLink() {}
    ShellLink(const ShellLink&) = delete;
    ShellLink& operator=(const ShellLink&) = delete;

    // Loads the shortcut file at `wstrPath` for reading; false when the link object or the file
    // fails. COM is initialised for the calling thread and left so; a thread already in another
    // apartment keeps it.
    [[nodiscard]] bool Load(const WideString& wstrPath);

    // The loaded link; valid only after Load answered true.
    IShellLinkW* operator->() const { return link_.get(); }

  private:
    ComPtr<IShellLinkW> link_;
};

#endif
