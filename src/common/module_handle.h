// The module's own instance handle, by which it finds its file and folder.
#ifndef NPDESKLAUNCH_COMMON_MODULE_HANDLE_H
#define NPDESKLAUNCH_COMMON_MODULE_HANDLE_H

#include <windows.h>

HMODULE ModuleHandle();

#endif
