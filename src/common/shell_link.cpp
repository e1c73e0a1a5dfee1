// Loading a shortcut file through the shell link object.
#include "common/shell_link.h"

bool ShellLink::Load(const WideString& wstrPath) {
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  link_.put_void()))) {
        return false;
    }
    ComPtr<IPersistFile> file;
    if (FAILED(link_->QueryInterface(IID_IPersistFile, file.put_void())) ||
        FAILED(file->Load(wstrPath.c_str(), STGM_READ))) {
        link_.reset();
        return false;
    }
    return true;
}
