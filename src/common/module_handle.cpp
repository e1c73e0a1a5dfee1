// The module's own instance handle, taken at load time from an address inside the module.
#include "common/module_handle.h"

namespace {

HMODULE FindOwnModule() {
    HMODULE hModule = NULL;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&FindOwnModule), &hModule);
    return hModule;
}

const HMODULE g_hModule = FindOwnModule();

} // namespace

HMODULE ModuleHandle() {
    return g_hModule;
}
