// Thin forwarders into the browser's function table.
#include "npruntime/browser_services.h"

#include <string.h>

namespace {

// Written once on the plug-in thread by NP_Initialize; afterwards only read.
NPNetscapeFuncs g_browser;

} // namespace

void KeepBrowserFuncs(const NPNetscapeFuncs* pFuncs) {
    memcpy(&g_browser, pFuncs, sizeof(g_browser));
}

NPIdentifier NPN_GetStringIdentifier(const NPUTF8* name) {
    return g_browser.getstringidentifier ? g_browser.getstringidentifier(name) : NULL;
}

NPObject* NPN_CreateObject(NPP npp, NPClass* aClass) {
    return g_browser.createobject ? g_browser.createobject(npp, aClass) : NULL;
}

NPObject* NPN_RetainObject(NPObject* obj) {
    return g_browser.retainobject ? g_browser.retainobject(obj) : obj;
}

void NPN_ReleaseObject(NPObject* obj) {
    if (g_browser.releaseobject) {
        g_browser.releaseobject(obj);
    }
}

void* NPN_MemAlloc(uint32_t size) {
    return g_browser.memalloc ? g_browser.memalloc(size) : NULL;
}

void NPN_MemFree(void* ptr) {
    if (g_browser.memfree) {
        g_browser.memfree(ptr);
    }
}

bool NPN_InvokeDefault(NPP npp, NPObject* obj, const NPVariant* args, uint32_t argCount,
                       NPVariant* result) {
    return g_browser.invokeDefault ? g_browser.invokeDefault(npp, obj, args, argCount, result)
                                   : false;
}

void NPN_ReleaseVariantValue(NPVariant* variant) {
    if (g_browser.releasevariantvalue) {
        g_browser.releasevariantvalue(variant);
    }
}

NPError NPN_GetValue(NPP npp, NPNVariable variable, void* value) {
    return g_browser.getvalue ? g_browser.getvalue(npp, variable, value) : NPERR_GENERIC_ERROR;
}

bool NPN_GetProperty(NPP npp, NPObject* obj, NPIdentifier propertyName, NPVariant* result) {
    return g_browser.getproperty ? g_browser.getproperty(npp, obj, propertyName, result) : false;
}

bool BrowserOffersAsyncCalls() {
    return g_browser.pluginthreadasynccall != NULL;
}

bool NPN_PluginThreadAsyncCall(NPP instance, NPN_AsyncCallFunction func, void* userData) {
    if (!g_browser.pluginthreadasynccall) {
        return false;
    }
    g_browser.pluginthreadasynccall(instance, func, userData);
    return true;
}
