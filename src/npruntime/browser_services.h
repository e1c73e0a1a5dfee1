// The browser's function table as kept by NP_Initialize, and the services the module calls.
#ifndef NPDESKLAUNCH_NPRUNTIME_BROWSER_SERVICES_H
#define NPDESKLAUNCH_NPRUNTIME_BROWSER_SERVICES_H

#include "npapi/npapi.h"

// Keeps the browser's size, version and service entries; `pFuncs` has passed NP_Initialize's
// checks.
void KeepBrowserFuncs(const NPNetscapeFuncs* pFuncs);

NPIdentifier NPN_GetStringIdentifier(const NPUTF8* name);
NPObject* NPN_CreateObject(NPP npp, NPClass* aClass);
NPObject* NPN_RetainObject(NPObject* obj);
void NPN_ReleaseObject(NPObject* obj);
void* NPN_MemAlloc(uint32_t size);
void NPN_MemFree(void* ptr);
[[nodiscard]] bool NPN_InvokeDefault(NPP npp, NPObject* obj, const NPVariant* args,
                                     uint32_t argCount, NPVariant* result);
void NPN_ReleaseVariantValue(NPVariant* variant);
// NPERR_GENERIC_ERROR when the browser's table has no such service.
[[nodiscard]] NPError NPN_GetValue(NPP npp, NPNVariable variable, void* value);
[[nodiscard]] bool NPN_GetProperty(NPP npp, NPObject* obj, NPIdentifier propertyName,
                                   NPVariant* result);
// Whether the browser's table carries the asynchronous-call service.
bool BrowserOffersAsyncCalls();
// Safe from any thread. False when the browser offers no asynchronous calls: `func` never runs.
[[nodiscard]] bool NPN_PluginThreadAsyncCall(NPP instance, NPN_AsyncCallFunction func,
                                             void* userData);

#endif
