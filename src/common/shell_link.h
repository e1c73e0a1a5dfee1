// A shell shortcut (.lnk file) opened through the shell's link object.
#ifndef NPDESKLAUNCH_COMMON_SHELL_LINK_H
#define NPDESKLAUNCH_COMMON_SHELL_LINK_H

#include <windows.h>
#include <shlobj.h>

#include "common/unique_resource.h"
#include "common/wide_text.h"

// The shell's link object, with COM set up on the calling thread for the link's lifetime and
// left afterwards as it was found.
class ShellLink {
  public:
    ShellLink() {}
    ShellLink(const ShellLink&) = delete;
    ShellLink& operator=(const ShellLink&) = delete;

    // Loads the shortcut file at `wstrPath` for reading; false when the link object or the file
    // fails.
    [[nodiscard]] bool Load(const WideString& wstrPath);

    // The loaded link; valid only after Load answered true.
    IShellLinkW* operator->() const { return link_.get(); }

  private:
    const ComApartment apartment_; // first: it goes after the link
    ComPtr<IShellLinkW> link_;
};

#endif
