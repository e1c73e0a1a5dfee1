// The three exported entry points through which the browser starts and stops the module.
#include "npapi/npapi.h"
#include "npruntime/boundary_guard.h"
#include "npruntime/browser_services.h"
#include "plugin/plugin_callbacks.h"

extern "C" {

NPError NP_ENTRY NP_GetEntryPoints(NPPluginFuncs* pFuncs) {
    return GuardBoundary<NPError>(NPERR_GENERIC_ERROR, [&]() -> NPError {
        if (!pFuncs || pFuncs->size < NP_PLUGIN_FUNCS_MIN_SIZE) {
            return NPERR_INVALID_FUNCTABLE_ERROR;
        }
        FillPluginFuncs(pFuncs);
        return NPERR_NO_ERROR;
    });
}

NPError NP_ENTRY NP_Initialize(NPNetscapeFuncs* pFuncs) {
    return GuardBoundary<NPError>(NPERR_GENERIC_ERROR, [&]() -> NPError {
        if (!pFuncs) {
            return NPERR_INVALID_FUNCTABLE_ERROR;
        }
        if ((pFuncs->version >> 8) > NP_VERSION_MAJOR) {
            return NPERR_INCOMPATIBLE_VERSION_ERROR;
        }
        if (pFuncs->size < NP_NETSCAPE_FUNCS_MIN_SIZE) {
            return NPERR_INVALID_FUNCTABLE_ERROR;
        }
        KeepBrowserFuncs(pFuncs);
        return NPERR_NO_ERROR;
    });
}

NPError NP_ENTRY NP_Shutdown(void) {
    // Nothing that could throw: the module keeps nothing to release.
    return NPERR_NO_ERROR;
}
}
