// The scripted object: a base class that refuses everything, the concrete class and its class
// record.
#ifndef NPDESKLAUNCH_SCRIPT_SCRIPTABLE_OBJECT_H
#define NPDESKLAUNCH_SCRIPT_SCRIPTABLE_OBJECT_H

#include <stdint.h>

#include "npapi/npapi.h"

typedef unsigned int(__stdcall* PickThreadProc)(void* pArgument);

// Starts `proc` with `pArgument` on a new thread and answers its handle, 0 when no thread
// started.
typedef uintptr_t (*PickThreadStarter)(PickThreadProc proc, void* pArgument);

// One virtual operation per NPAPI class operation; every answer is "no" and outputs stay untouched.
// The NPObject header is filled and maintained by the browser only.
class ScriptablePluginObjectBase : public NPObject {
  public:
    explicit ScriptablePluginObjectBase(NPP instance) : npp(instance) {}
    virtual ~ScriptablePluginObjectBase() {}

    ScriptablePluginObjectBase(const ScriptablePluginObjectBase&) = delete;
    ScriptablePluginObjectBase& operator=(const ScriptablePluginObjectBase&) = delete;

    virtual void Invalidate() {}
    // The instance is destroyed: the object no longer names it.
    void ForgetInstance() { npp = NULL; }
    virtual bool HasMethod(NPIdentifier) { return false; }
    virtual bool Invoke(NPIdentifier, const NPVariant*, uint32_t, NPVariant*) { return false; }
    virtual bool InvokeDefault(const NPVariant*, uint32_t, NPVariant*) { return false; }
    virtual bool HasProperty(NPIdentifier) { return false; }
    virtual bool GetProperty(NPIdentifier, NPVariant*) { return false; }
    virtual bool SetProperty(NPIdentifier, const NPVariant*) { return false; }
    virtual bool RemoveProperty(NPIdentifier) { return false; }
    virtual bool Enumerate(NPIdentifier**, uint32_t*) { return false; }
    virtual bool Construct(const NPVariant*, uint32_t, NPVariant*) { return false; }

  protected:
    NPP npp;
};

// The object a page scripts: three methods, a default call and no properties. Its picker
// threads are started by `startPickThread`. Once its instance is destroyed or the browser has
// invalidated it, every method call answers false and does nothing.
class ScriptablePluginObject : public ScriptablePluginObjectBase {
  public:
    ScriptablePluginObject(NPP instance, PickThreadStarter startPickThread)
        : ScriptablePluginObjectBase(instance), startPickThread_(startPickThread) {}

    void Invalidate() override { ForgetInstance(); }
    bool HasMethod(NPIdentifier name) override;
    bool Invoke(NPIdentifier name, const NPVariant* args, uint32_t argCount,
                NPVariant* result) override;
    bool InvokeDefault(const NPVariant* args, uint32_t argCount, NPVariant* result) override;
    bool HasProperty(NPIdentifier name) override;
    bool GetProperty(NPIdentifier name, NPVariant* result) override;

  private:
    const PickThreadStarter startPickThread_;
};

// A class record with how its objects start their picker threads: the browser hands the record
// back to its allocate function.
struct ScriptableClass : NPClass {
    PickThreadStarter startPickThread;
};

// The class record handed to NPN_CreateObject: its objects start threads with _beginthreadex.
extern ScriptableClass ScriptablePluginObjectClass;

// From NPP_Destroy, for an object made with a ScriptableClass: the page may keep the object, but
// nothing it calls afterwards reaches the destroyed instance.
void ForgetInstanceOf(NPObject* pObject);

#endif
