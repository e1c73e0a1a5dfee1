// The checking class record: each entry calls the object's own class record through the
// measuring thunk.
#include "nphost/browser.h"

#include "nphost/checked_call.h"

namespace nphost {

namespace {

void NP_TABLE CheckedInvalidate(NPObject* obj) {
    if (obj->_class->invalidate) {
        CallTable("NPClass invalidate", obj->_class->invalidate, obj);
    }
}
bool NP_TABLE CheckedHasMethod(NPObject* obj, NPIdentifier name) {
    return obj->_class->hasMethod &&
           CallTable("NPClass hasMethod", obj->_class->hasMethod, obj, name);
}
bool NP_TABLE CheckedInvoke(NPObject* obj, NPIdentifier name, const NPVariant* args,
                            uint32_t argCount, NPVariant* result) {
    return obj->_class->invoke &&
           CallTable("NPClass invoke", obj->_class->invoke, obj, name, args, argCount, result);
}
bool NP_TABLE CheckedInvokeDefault(NPObject* obj, const NPVariant* args, uint32_t argCount,
                                   NPVariant* result) {
    return obj->_class->invokeDefault &&
           CallTable("NPClass invokeDefault", obj->_class->invokeDefault, obj, args, argCount,
                     result);
}
bool NP_TABLE CheckedHasProperty(NPObject* obj, NPIdentifier name) {
    return obj->_class->hasProperty &&
           CallTable("NPClass hasProperty", obj->_class->hasProperty, obj, name);
}
bool NP_TABLE CheckedGetProperty(NPObject* obj, NPIdentifier name, NPVariant* result) {
    return obj->_class->getProperty &&
           CallTable("NPClass getProperty", obj->_class->getProperty, obj, name, result);
}
bool NP_TABLE CheckedSetProperty(NPObject* obj, NPIdentifier name, const NPVariant* value) {
    return obj->_class->setProperty &&
           CallTable("NPClass setProperty", obj->_class->setProperty, obj, name, value);
}
bool NP_TABLE CheckedRemoveProperty(NPObject* obj, NPIdentifier name) {
    return obj->_class->removeProperty &&
           CallTable("NPClass removeProperty", obj->_class->removeProperty, obj, name);
}
bool NP_TABLE CheckedEnumerate(NPObject* obj, NPIdentifier** identifiers, uint32_t* count) {
    return obj->_class->structVersion >= NP_CLASS_STRUCT_VERSION_ENUM && obj->_class->enumerate &&
           CallTable("NPClass enumerate", obj->_class->enumerate, obj, identifiers, count);
}
bool NP_TABLE CheckedConstruct(NPObject* obj, const NPVariant* args, uint32_t argCount,
                               NPVariant* result) {
    return obj->_class->structVersion >= NP_CLASS_STRUCT_VERSION_CTOR && obj->_class->construct &&
           CallTable("NPClass construct", obj->_class->construct, obj, args, argCount, result);
}

NPClass g_checkedClass = {NP_CLASS_STRUCT_VERSION_CTOR,
                          nullptr,
                          nullptr,
                          CheckedInvalidate,
                          CheckedHasMethod,
                          CheckedInvoke,
                          CheckedInvokeDefault,
                          CheckedHasProperty,
                          CheckedGetProperty,
                          CheckedSetProperty,
                          CheckedRemoveProperty,
                          CheckedEnumerate,
                          CheckedConstruct};

} // namespace

NPClass* CheckedClass() {
    return &g_checkedClass;
}

} // namespace nphost
