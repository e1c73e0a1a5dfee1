// The scripted object: a base class that refuses everything, the concrete class and its class
// record.
#ifndef NPDESKLAUNCH_SCRIPT_SCRIPTABLE_OBJECT_H
#define NPDESKLAUNCH_SCRIPT_SCRIPTABLE_OBJECT_H

#include "npapi/npapi.h"

// One virtual operation per NPAPI class operation; every answer is "no" and outputs stay untouched.
// The NPObject header is filled and maintained by the browser only.
class ScriptablePluginObjectBase : public NPObject {
  public:
    explicit ScriptablePluginObjectBase(NPP instance) : npp(instance) {}
    virtual ~ScriptablePluginObjectBase() {}

    ScriptablePluginObjectBase(const ScriptablePluginObjectBase&) = delete;
    ScriptablePluginObjectBase& operator=(const ScriptablePluginObjectBase&) = delete;

    virtual void Invalidate() {}
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

// The object a page scripts: three methods, a default call and no properties.
class ScriptablePluginObject : public ScriptablePluginObjectBase {
  public:
    explicit ScriptablePluginObject(NPP instance) : ScriptablePluginObjectBase(instance) {}

    bool HasMethod(NPIdentifier name) override;
    bool Invoke(NPIdentifier name, const NPVariant* args, uint32_t argCount,
                NPVariant* result) override;
    bool InvokeDefault(const NPVariant* args, uint32_t argCount, NPVariant* result) override;
    bool HasProperty(NPIdentifier name) override;
    bool GetProperty(NPIdentifier name, NPVariant* result) override;
};

// The class record handed to NPN_CreateObject.
extern NPClass ScriptablePluginObjectClass;

#endif
