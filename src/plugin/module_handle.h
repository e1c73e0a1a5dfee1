// The module's own instance handle, by which it finds its file and folder.
#ifndef NPDESKLAUNCH_PLUGIN_MODULE_HANDLE_H
#define NPDESKLAUNCH_PLUGIN_MODULE_HANDLE_H

#include <windows.h>

HMODULE ModuleHandle();

#endif
