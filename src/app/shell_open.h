// The shell request by which the launcher opens a program.
#ifndef NPDESKLAUNCH_APP_SHELL_OPEN_H
#define NPDESKLAUNCH_APP_SHELL_OPEN_H

#include <windows.h>
#include <shellapi.h>

#include "common/wide_text.h"

// The request that opens `wszFile` with the "open" verb, no arguments, the shell's default
// folder, shown normally. The shell reports its own errors, and its checks of files that came
// from the Internet stay on: never SEE_MASK_NOZONECHECKS. `wszFile` must outlive the request.
SHELLEXECUTEINFOW ShellOpenRequest(const WideChar* wszFile);

#endif
