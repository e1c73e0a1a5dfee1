// The browser's function table: each service a plain function that checks the calling thread
// and does what the browser does, mostly through the Browser.
#include "nphost/browser.h"

#include <string.h>

namespace nphost {

namespace {

Browser& B() {
    return Browser::Get();
}

NPError NP_TABLE GetURL(NPP, const char*, const char*) {
    B().CheckThread("NPN_GetURL");
    return NPERR_GENERIC_ERROR;
}
NPError NP_TABLE PostURL(NPP, const char*, const char*, uint32_t, const char*, NPBool) {
    B().CheckThread("NPN_PostURL");
    return NPERR_GENERIC_ERROR;
}
NPError NP_TABLE RequestRead(NPStream*, NPByteRange*) {
    B().CheckThread("NPN_RequestRead");
    return NPERR_GENERIC_ERROR;
}
NPError NP_TABLE NewStream(NPP, NPMIMEType, const char*, NPStream**) {
    B().CheckThread("NPN_NewStream");
    return NPERR_GENERIC_ERROR;
}
int32_t NP_TABLE Write(NPP, NPStream*, int32_t, void*) {
    B().CheckThread("NPN_Write");
    return -1;
}
NPError NP_TABLE DestroyStream(NPP, NPStream*, NPReason) {
    B().CheckThread("NPN_DestroyStream");
    return NPERR_GENERIC_ERROR;
}
void NP_TABLE Status(NPP, const char*) {
    B().CheckThread("NPN_Status");
}
const char* NP_TABLE UserAgent(NPP) {
    B().CheckThread("NPN_UserAgent");
    return "CorvidBrowser/1.0";
}
void* NP_TABLE MemAlloc(uint32_t size) {
    B().CheckThread("NPN_MemAlloc");
    return B().Allocator().Alloc(size);
}
void NP_TABLE MemFree(void* ptr) {
    B().CheckThread("NPN_MemFree");
    B().Allocator().Free(ptr);
}
uint32_t NP_TABLE MemFlush(uint32_t) {
    B().CheckThread("NPN_MemFlush");
    return 0;
}
void NP_TABLE ReloadPlugins(NPBool) {
    B().CheckThread("NPN_ReloadPlugins");
}
void* NP_TABLE GetJavaEnv(void) {
    B().CheckThread("NPN_GetJavaEnv");
    return nullptr;
}
void* NP_TABLE GetJavaPeer(NPP) {
    B().CheckThread("NPN_GetJavaPeer");
    return nullptr;
}
NPError NP_TABLE GetURLNotify(NPP, const char*, const char*, void*) {
    B().CheckThread("NPN_GetURLNotify");
    return NPERR_GENERIC_ERROR;
}
NPError NP_TABLE PostURLNotify(NPP, const char*, const char*, uint32_t, const char*, NPBool,
                               void*) {
    B().CheckThread("NPN_PostURLNotify");
    return NPERR_GENERIC_ERROR;
}
NPError NP_TABLE GetValue(NPP, NPNVariable variable, void* value) {
    B().CheckThread("NPN_GetValue");
    return B().PageValue(variable, value);
}
NPError NP_TABLE SetValue(NPP, NPPVariable, void*) {
    B().CheckThread("NPN_SetValue");
    return NPERR_GENERIC_ERROR;
}
void NP_TABLE InvalidateRect(NPP, NPRect*) {}
void NP_TABLE InvalidateRegion(NPP, void*) {}
void NP_TABLE ForceRedraw(NPP) {}
NPIdentifier NP_TABLE GetStringIdentifier(const NPUTF8* name) {
    B().CheckThread("NPN_GetStringIdentifier");
    return name ? B().StringIdentifier(name) : nullptr;
}
void NP_TABLE GetStringIdentifiers(const NPUTF8** names, int32_t nameCount,
                                   NPIdentifier* identifiers) {
    B().CheckThread("NPN_GetStringIdentifiers");
    for (int32_t i = 0; i < nameCount; ++i) {
        identifiers[i] = GetStringIdentifier(names[i]);
    }
}
NPIdentifier NP_TABLE GetIntIdentifier(int32_t intid) {
    B().CheckThread("NPN_GetIntIdentifier");
    return B().IntIdentifier(intid);
}
bool NP_TABLE IdentifierIsString(NPIdentifier identifier) {
    B().CheckThread("NPN_IdentifierIsString");
    return B().IdentifierName(identifier) != nullptr;
}
NPUTF8* NP_TABLE UTF8FromIdentifier(NPIdentifier identifier) {
    B().CheckThread("NPN_UTF8FromIdentifier");
    const char* name = B().IdentifierName(identifier);
    if (!name) {
        return nullptr;
    }
    const size_t nLength = strlen(name);
    char* copy = static_cast<char*>(MemAlloc(static_cast<uint32_t>(nLength + 1)));
    if (copy) {
        memcpy(copy, name, nLength + 1);
    }
    return copy;
}
int32_t NP_TABLE IntFromIdentifier(NPIdentifier) {
    B().CheckThread("NPN_IntFromIdentifier");
    return 0;
}
NPObject* NP_TABLE CreateObject(NPP npp, NPClass* aClass) {
    B().CheckThread("NPN_CreateObject");
    return B().CreateObject(npp, aClass);
}
NPObject* NP_TABLE RetainObject(NPObject* obj) {
    B().CheckThread("NPN_RetainObject");
    return B().RetainObject(obj);
}
void NP_TABLE ReleaseObject(NPObject* obj) {
    B().CheckThread("NPN_ReleaseObject");
    B().ReleaseObject(obj);
}
bool NP_TABLE Invoke(NPP, NPObject* obj, NPIdentifier methodName, const NPVariant* args,
                     uint32_t argCount, NPVariant* result) {
    B().CheckThread("NPN_Invoke");
    return B().CheckObject("NPN_Invoke", obj) &&
           CheckedClass()->invoke(obj, methodName, args, argCount, result);
}
bool NP_TABLE InvokeDefault(NPP, NPObject* obj, const NPVariant* args, uint32_t argCount,
                            NPVariant* result) {
    B().CheckThread("NPN_InvokeDefault");
    return B().CheckObject("NPN_InvokeDefault", obj) &&
           CheckedClass()->invokeDefault(obj, args, argCount, result);
}
bool NP_TABLE Evaluate(NPP, NPObject*, NPString*, NPVariant*) {
    B().CheckThread("NPN_Evaluate");
    return false;
}
bool NP_TABLE GetProperty(NPP, NPObject* obj, NPIdentifier name, NPVariant* result) {
    B().CheckThread("NPN_GetProperty");
    return B().CheckObject("NPN_GetProperty", obj) &&
           CheckedClass()->getProperty(obj, name, result);
}
bool NP_TABLE SetProperty(NPP, NPObject* obj, NPIdentifier name, const NPVariant* value) {
    B().CheckThread("NPN_SetProperty");
    return B().CheckObject("NPN_SetProperty", obj) && CheckedClass()->setProperty(obj, name, value);
}
bool NP_TABLE RemoveProperty(NPP, NPObject* obj, NPIdentifier name) {
    B().CheckThread("NPN_RemoveProperty");
    return B().CheckObject("NPN_RemoveProperty", obj) && CheckedClass()->removeProperty(obj, name);
}
bool NP_TABLE HasProperty(NPP, NPObject* obj, NPIdentifier name) {
    B().CheckThread("NPN_HasProperty");
    return B().CheckObject("NPN_HasProperty", obj) && CheckedClass()->hasProperty(obj, name);
}
bool NP_TABLE HasMethod(NPP, NPObject* obj, NPIdentifier name) {
    B().CheckThread("NPN_HasMethod");
    return B().CheckObject("NPN_HasMethod", obj) && CheckedClass()->hasMethod(obj, name);
}
void NP_TABLE ReleaseVariantValue(NPVariant* variant) {
    B().CheckThread("NPN_ReleaseVariantValue");
    B().ReleaseVariantValue(variant);
}
void NP_TABLE SetException(NPObject*, const NPUTF8*) {
    B().CheckThread("NPN_SetException");
}
void NP_TABLE PushPopupsEnabledState(NPP, NPBool) {}
void NP_TABLE PopPopupsEnabledState(NPP) {}
bool NP_TABLE Enumerate(NPP, NPObject* obj, NPIdentifier** identifiers, uint32_t* count) {
    B().CheckThread("NPN_Enumerate");
    return B().CheckObject("NPN_Enumerate", obj) &&
           CheckedClass()->enumerate(obj, identifiers, count);
}
void NP_TABLE PluginThreadAsyncCall(NPP instance, NPN_AsyncCallFunction func, void* userData) {
    B().QueueAsyncCall(instance, func, userData);
}
bool NP_TABLE Construct(NPP, NPObject* obj, const NPVariant* args, uint32_t argCount,
                        NPVariant* result) {
    B().CheckThread("NPN_Construct");
    return B().CheckObject("NPN_Construct", obj) &&
           CheckedClass()->construct(obj, args, argCount, result);
}
NPError NP_TABLE GetValueForURL(NPP, NPNURLVariable, const char*, char**, uint32_t*) {
    B().CheckThread("NPN_GetValueForURL");
    return NPERR_GENERIC_ERROR;
}
NPError NP_TABLE SetValueForURL(NPP, NPNURLVariable, const char*, const char*, uint32_t) {
    B().CheckThread("NPN_SetValueForURL");
    return NPERR_GENERIC_ERROR;
}
NPError NP_TABLE GetAuthenticationInfo(NPP, const char*, const char*, int32_t, const char*,
                                       const char*, char**, uint32_t*, char**, uint32_t*) {
    B().CheckThread("NPN_GetAuthenticationInfo");
    return NPERR_GENERIC_ERROR;
}

} // namespace

NPNetscapeFuncs Browser::Funcs() const {
    NPNetscapeFuncs funcs;
    memset(&funcs, 0, sizeof(funcs));
    funcs.size = sizeof(funcs);
    funcs.version = (NP_VERSION_MAJOR << 8) | NP_VERSION_MINOR;
    funcs.geturl = GetURL;
    funcs.posturl = PostURL;
    funcs.requestread = RequestRead;
    funcs.newstream = NewStream;
    funcs.write = Write;
    funcs.destroystream = DestroyStream;
    funcs.status = Status;
    funcs.uagent = UserAgent;
    funcs.memalloc = MemAlloc;
    funcs.memfree = MemFree;
    funcs.memflush = MemFlush;
    funcs.reloadplugins = ReloadPlugins;
    funcs.getJavaEnv = GetJavaEnv;
    funcs.getJavaPeer = GetJavaPeer;
    funcs.geturlnotify = GetURLNotify;
    funcs.posturlnotify = PostURLNotify;
    funcs.getvalue = GetValue;
    funcs.setvalue = SetValue;
    funcs.invalidaterect = InvalidateRect;
    funcs.invalidateregion = InvalidateRegion;
    funcs.forceredraw = ForceRedraw;
    funcs.getstringidentifier = GetStringIdentifier;
    funcs.getstringidentifiers = GetStringIdentifiers;
    funcs.getintidentifier = GetIntIdentifier;
    funcs.identifierisstring = IdentifierIsString;
    funcs.utf8fromidentifier = UTF8FromIdentifier;
    funcs.intfromidentifier = IntFromIdentifier;
    funcs.createobject = nphost::CreateObject;
    funcs.retainobject = nphost::RetainObject;
    funcs.releaseobject = nphost::ReleaseObject;
    funcs.invoke = Invoke;
    funcs.invokeDefault = InvokeDefault;
    funcs.evaluate = Evaluate;
    funcs.getproperty = GetProperty;
    funcs.setproperty = SetProperty;
    funcs.removeproperty = RemoveProperty;
    funcs.hasproperty = HasProperty;
    funcs.hasmethod = HasMethod;
    funcs.releasevariantvalue = nphost::ReleaseVariantValue;
    funcs.setexception = SetException;
    funcs.pushpopupsenabledstate = PushPopupsEnabledState;
    funcs.poppopupsenabledstate = PopPopupsEnabledState;
    funcs.enumerate = Enumerate;
    funcs.pluginthreadasynccall = PluginThreadAsyncCall;
    funcs.construct = Construct;
    funcs.getvalueforurl = GetValueForURL;
    funcs.setvalueforurl = SetValueForURL;
    funcs.getauthenticationinfo = GetAuthenticationInfo;
    return funcs;
}

NPNetscapeFuncs Browser::FuncsWithoutAsyncCalls() const {
    NPNetscapeFuncs funcs = Funcs();
    funcs.pluginthreadasynccall = nullptr;
    return funcs;
}

} // namespace nphost
