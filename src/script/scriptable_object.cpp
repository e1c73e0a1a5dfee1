// The scripted object's operations other than method calls, and its static class record.
#include "script/scriptable_object.h"

#include <process.h>

#include <new>
#include <string.h>

#include "npruntime/boundary_guard.h"
#include "npruntime/browser_services.h"
#include "script/method_names.h"

namespace {

// Text returned when the page calls the object itself.
const char kDefaultMethodReturn[] = "default method return val";

} // namespace

bool ScriptablePluginObject::HasMethod(NPIdentifier name) {
    return name == idRecentlyApplications || name == idRunAppointedApplication ||
           name == idSelectApplications;
}

bool ScriptablePluginObject::InvokeDefault(const NPVariant*, uint32_t, NPVariant* result) {
    const uint32_t nLength = sizeof(kDefaultMethodReturn) - 1;
    char* szText = static_cast<char*>(NPN_MemAlloc(nLength + 1));
    if (!szText) {
        return false;
    }
    memcpy(szText, kDefaultMethodReturn, nLength + 1);
    result->type = NPVariantType_String;
    result->value.stringValue.UTF8Characters = szText;
    result->value.stringValue.UTF8Length = nLength;
    return true;
}

bool ScriptablePluginObject::HasProperty(NPIdentifier) {
    return false;
}

bool ScriptablePluginObject::GetProperty(NPIdentifier, NPVariant* result) {
    result->type = NPVariantType_Void;
    memset(&result->value, 0, sizeof(result->value));
    return false;
}

namespace {

// The browser hands out the header inside the object; this finds the object around it.
ScriptablePluginObjectBase* FromHeader(NPObject* npobj) {
    return static_cast<ScriptablePluginObjectBase*>(npobj);
}

NPObject* NP_TABLE Allocate(NPP npp, NPClass* aClass) {
    return GuardBoundary<NPObject*>(NULL, [&]() -> NPObject* {
        if (!aClass) {
            return NULL;
        }
        return new (std::nothrow)
            ScriptablePluginObject(npp, static_cast<ScriptableClass*>(aClass)->startPickThread);
    });
}

void NP_TABLE Deallocate(NPObject* npobj) {
    GuardBoundary([&] {
        if (npobj) {
            delete FromHeader(npobj);
        }
    });
}

void NP_TABLE Invalidate(NPObject* npobj) {
    GuardBoundary([&] { FromHeader(npobj)->Invalidate(); });
}

bool NP_TABLE HasMethod(NPObject* npobj, NPIdentifier name) {
    return GuardBoundary(false, [&] { return FromHeader(npobj)->HasMethod(name); });
}

bool NP_TABLE Invoke(NPObject* npobj, NPIdentifier name, const NPVariant* args, uint32_t argCount,
                     NPVariant* result) {
    return GuardBoundary(false,
                         [&] { return FromHeader(npobj)->Invoke(name, args, argCount, result); });
}

bool NP_TABLE InvokeDefault(NPObject* npobj, const NPVariant* args, uint32_t argCount,
                            NPVariant* result) {
    return GuardBoundary(false,
                         [&] { return FromHeader(npobj)->InvokeDefault(args, argCount, result); });
}

bool NP_TABLE HasProperty(NPObject* npobj, NPIdentifier name) {
    return GuardBoundary(false, [&] { return FromHeader(npobj)->HasProperty(name); });
}

bool NP_TABLE GetProperty(NPObject* npobj, NPIdentifier name, NPVariant* result) {
    return GuardBoundary(false, [&] { return FromHeader(npobj)->GetProperty(name, result); });
}

bool NP_TABLE SetProperty(NPObject* npobj, NPIdentifier name, const NPVariant* value) {
    return GuardBoundary(false, [&] { return FromHeader(npobj)->SetProperty(name, value); });
}

bool NP_TABLE RemoveProperty(NPObject* npobj, NPIdentifier name) {
    return GuardBoundary(false, [&] { return FromHeader(npobj)->RemoveProperty(name); });
}

bool NP_TABLE Enumerate(NPObject* npobj, NPIdentifier** identifiers, uint32_t* count) {
    return GuardBoundary(false, [&] { return FromHeader(npobj)->Enumerate(identifiers, count); });
}

bool NP_TABLE Construct(NPObject* npobj, const NPVariant* args, uint32_t argCount,
                        NPVariant* result) {
    return GuardBoundary(false,
                         [&] { return FromHeader(npobj)->Construct(args, argCount, result); });
}

uintptr_t BeginPickThread(PickThreadProc proc, void* pArgument) {
    return _beginthreadex(NULL, 0, proc, pArgument, 0, NULL);
}

} // namespace

void ForgetInstanceOf(NPObject* pObject) {
    if (pObject) {
        FromHeader(pObject)->ForgetInstance();
    }
}

ScriptableClass ScriptablePluginObjectClass = {
    {
        NP_CLASS_STRUCT_VERSION_CTOR,
        Allocate,
        Deallocate,
        Invalidate,
        HasMethod,
        Invoke,
        InvokeDefault,
        HasProperty,
        GetProperty,
        SetProperty,
        RemoveProperty,
        Enumerate,
        Construct,
    },
    BeginPickThread,
};
