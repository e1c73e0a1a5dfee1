// The launcher's shell request.
#include "app/shell_open.h"

namespace {

const WideChar kOpenVerb[] = WIDE("open");

} // namespace

SHELLEXECUTEINFOW ShellOpenRequest(const WideChar* wszFile) {
    SHELLEXECUTEINFOW sei;
    ZeroMemory(&sei, sizeof(sei));
    sei.cbSize = sizeof(sei);
    sei.fMask = 0;
    sei.hwnd = NULL;
    sei.lpVerb = kOpenVerb;
    sei.lpFile = wszFile;
    sei.lpParameters = NULL;
    sei.lpDirectory = NULL;
    sei.nShow = SW_SHOW;
    return sei;
}
