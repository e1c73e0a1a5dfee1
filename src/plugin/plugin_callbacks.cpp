// The plug-in callbacks: instance records, window attachment, streams, events and values.
#include "plugin/plugin_callbacks.h"

#include <new>

#include "npruntime/boundary_guard.h"
#include "plugin/plugin_instance.h"
#include "script/pick_job.h"

namespace {

// Static texts answered for NPPVpluginNameString and NPPVpluginDescriptionString.
const char kPluginName[] = "NPRuntimeTest";
const char kPluginDescription[] = "NPRuntime scriptability API test plugin";

PluginInstance* RecordOf(NPP instance) {
    return static_cast<PluginInstance*>(instance->pdata);
}

NPError NewBody(NPMIMEType, NPP instance, uint16_t, int16_t, char*[], char*[], NPSavedData*) {
    if (!instance) {
        return NPERR_INVALID_INSTANCE_ERROR;
    }
    PluginInstance* pPlugin = new (std::nothrow) PluginInstance(instance);
    if (!pPlugin) {
        return NPERR_OUT_OF_MEMORY_ERROR;
    }
    instance->pdata = pPlugin;
    return NPERR_NO_ERROR;
}

NPError DestroyBody(NPP instance, NPSavedData**) {
    if (!instance) {
        return NPERR_INVALID_INSTANCE_ERROR;
    }
    // No reply of a picker reaches this instance from now on.
    ForgetPickJobsOf(instance);
    PluginInstance* pPlugin = RecordOf(instance);
    if (pPlugin) {
        pPlugin->Shut();
        delete pPlugin;
        instance->pdata = NULL;
    }
    return NPERR_NO_ERROR;
}

NPError SetWindowBody(NPP instance, NPWindow* pNPWindow) {
    if (!instance) {
        return NPERR_INVALID_INSTANCE_ERROR;
    }
    if (!pNPWindow) {
        return NPERR_GENERIC_ERROR;
    }
    PluginInstance* pPlugin = RecordOf(instance);
    if (!pPlugin) {
        return NPERR_GENERIC_ERROR;
    }
    // The record stays on its first window: later handles, and a null one, change nothing.
    if (!pPlugin->IsInitialized() && pNPWindow->window) {
        // A window that cannot be taken over leaves the record without one; the next call may
        // bring a window that can.
        static_cast<void>(pPlugin->Init(pNPWindow));
    }
    return NPERR_NO_ERROR;
}

// The stream, print and notification entries only test a pointer: nothing there can throw.
NPError NP_TABLE NPP_NewStream(NPP instance, NPMIMEType, NPStream*, NPBool, uint16_t*) {
    return instance ? NPERR_NO_ERROR : NPERR_INVALID_INSTANCE_ERROR;
}

NPError NP_TABLE NPP_DestroyStream(NPP instance, NPStream*, NPReason) {
    return instance ? NPERR_NO_ERROR : NPERR_INVALID_INSTANCE_ERROR;
}

void NP_TABLE NPP_StreamAsFile(NPP, NPStream*, const char*) {}

int32_t NP_TABLE NPP_WriteReady(NPP instance, NPStream*) {
    return instance ? 0x0FFFFFFF : NPERR_INVALID_INSTANCE_ERROR;
}

int32_t NP_TABLE NPP_Write(NPP instance, NPStream*, int32_t, int32_t len, void*) {
    // Every byte is taken and discarded.
    return instance ? len : NPERR_INVALID_INSTANCE_ERROR;
}

void NP_TABLE NPP_Print(NPP, NPPrint*) {}

int16_t HandleEventBody(NPP instance, void* event) {
    if (!instance) {
        return 0;
    }
    PluginInstance* pPlugin = RecordOf(instance);
    return pPlugin ? pPlugin->HandleEvent(event) : 0;
}

void NP_TABLE NPP_URLNotify(NPP, const char*, NPReason, void*) {}

NPError GetValueBody(NPP instance, NPPVariable variable, void* value) {
    if (!instance) {
        return NPERR_INVALID_INSTANCE_ERROR;
    }
    PluginInstance* pPlugin = RecordOf(instance);
    if (!pPlugin) {
        return NPERR_GENERIC_ERROR;
    }
    switch (variable) {
    case NPPVpluginNameString:
        *static_cast<const char**>(value) = kPluginName;
        return NPERR_NO_ERROR;
    case NPPVpluginDescriptionString:
        *static_cast<const char**>(value) = kPluginDescription;
        return NPERR_NO_ERROR;
    case NPPVpluginScriptableNPObject:
        *static_cast<NPObject**>(value) = pPlugin->GetScriptableObject();
        return NPERR_NO_ERROR;
    default:
        return NPERR_GENERIC_ERROR;
    }
}

NPError NP_TABLE NPP_SetValue(NPP instance, NPNVariable, void*) {
    return instance ? NPERR_NO_ERROR : NPERR_INVALID_INSTANCE_ERROR;
}

// The table's entries: each runs its body behind the last guard.

NPError NP_TABLE NPP_New(NPMIMEType pluginType, NPP instance, uint16_t mode, int16_t argc,
                         char* argn[], char* argv[], NPSavedData* saved) {
    return GuardBoundary<NPError>(NPERR_GENERIC_ERROR, [&] {
        return NewBody(pluginType, instance, mode, argc, argn, argv, saved);
    });
}

NPError NP_TABLE NPP_Destroy(NPP instance, NPSavedData** save) {
    return GuardBoundary<NPError>(NPERR_GENERIC_ERROR, [&] { return DestroyBody(instance, save); });
}

NPError NP_TABLE NPP_SetWindow(NPP instance, NPWindow* pNPWindow) {
    return GuardBoundary<NPError>(NPERR_GENERIC_ERROR,
                                  [&] { return SetWindowBody(instance, pNPWindow); });
}

int16_t NP_TABLE NPP_HandleEvent(NPP instance, void* event) {
    return GuardBoundary<int16_t>(0, [&] { return HandleEventBody(instance, event); });
}

NPError NP_TABLE NPP_GetValue(NPP instance, NPPVariable variable, void* value) {
    return GuardBoundary<NPError>(NPERR_GENERIC_ERROR,
                                  [&] { return GetValueBody(instance, variable, value); });
}

} // namespace

void FillPluginFuncs(NPPluginFuncs* pFuncs) {
    pFuncs->newp = NPP_New;
    pFuncs->destroy = NPP_Destroy;
    pFuncs->setwindow = NPP_SetWindow;
    pFuncs->newstream = NPP_NewStream;
    pFuncs->destroystream = NPP_DestroyStream;
    pFuncs->asfile = NPP_StreamAsFile;
    pFuncs->writeready = NPP_WriteReady;
    pFuncs->write = NPP_Write;
    pFuncs->print = NPP_Print;
    pFuncs->event = NPP_HandleEvent;
    pFuncs->urlnotify = NPP_URLNotify;
    pFuncs->getvalue = NPP_GetValue;
    pFuncs->setvalue = NPP_SetValue;
}
