// Identifiers, objects and the page's own functions, and method calls as a page script makes
// them.
#include "nphost/browser.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "nphost/checked_call.h"

namespace nphost {

namespace {

// A page function: an object of the page's script that records its calls.
bool NP_TABLE FunctionInvokeDefault(NPObject* obj, const NPVariant* args, uint32_t argCount,
                                    NPVariant* result) {
    Browser::Get().RecordCall(obj, args, argCount);
    result->type = NPVariantType_Void;
    return true;
}

NPClass g_functionClass = {NP_CLASS_STRUCT_VERSION_CTOR,
                           nullptr,
                           nullptr,
                           nullptr,
                           nullptr,
                           nullptr,
                           FunctionInvokeDefault,
                           nullptr,
                           nullptr,
                           nullptr,
                           nullptr,
                           nullptr,
                           nullptr};

} // namespace

bool Browser::CheckObject(const char* service, NPObject* object) {
    if (!object) {
        Violation(std::string(service) + " with a null object");
        return false;
    }
    if (liveObjects_.count(object) == 0) {
        char text[32];
        snprintf(text, sizeof(text), "%p", static_cast<void*>(object));
        Violation(std::string(service) + " on object " + text +
                  (deadObjects_.count(object) ? ", used after it was deallocated"
                                              : ", which the browser never created"));
        return false;
    }
    return true;
}

NPIdentifier Browser::StringIdentifier(const std::string& name) {
    std::unique_ptr<Identifier>& slot = stringIds_[name];
    if (!slot) {
        slot.reset(new Identifier{true, name, 0});
    }
    return slot.get();
}

NPIdentifier Browser::IntIdentifier(int32_t value) {
    std::unique_ptr<Identifier>& slot = intIds_[value];
    if (!slot) {
        slot.reset(new Identifier{false, std::string(), value});
    }
    return slot.get();
}

const char* Browser::IdentifierName(NPIdentifier identifier) const {
    for (const auto& entry : stringIds_) {
        if (entry.second.get() == identifier) {
            return entry.second->name.c_str();
        }
    }
    return nullptr;
}

NPObject* Browser::CreateObject(NPP npp, NPClass* aClass) {
    CheckThread("NPN_CreateObject");
    if (!aClass) {
        return nullptr;
    }
    if (nFailCreate_ > 0) {
        --nFailCreate_;
        return nullptr;
    }
    NPObject* object = aClass->allocate
                           ? CallTable("NPClass allocate", aClass->allocate, npp, aClass)
                           : static_cast<NPObject*>(malloc(sizeof(NPObject)));
    if (!object) {
        return nullptr;
    }
    object->_class = aClass;
    object->referenceCount = 1;
    liveObjects_.insert(object);
    deadObjects_.erase(object);
    return object;
}

NPObject* Browser::RetainObject(NPObject* object) {
    CheckThread("NPN_RetainObject");
    if (CheckObject("NPN_RetainObject", object)) {
        ++object->referenceCount;
    }
    return object;
}

void Browser::ReleaseObject(NPObject* object) {
    CheckThread("NPN_ReleaseObject");
    if (!CheckObject("NPN_ReleaseObject", object)) {
        return;
    }
    if (object->referenceCount == 0) {
        Violation("NPN_ReleaseObject released an object below a reference count of zero");
        return;
    }
    if (--object->referenceCount == 0) {
        liveObjects_.erase(object);
        deadObjects_.insert(object);
        functionCalls_.erase(object);
        if (object->_class->deallocate) {
            CallTable("NPClass deallocate", object->_class->deallocate, object);
        } else {
            free(object);
        }
    }
}

void Browser::ReleaseVariantValue(NPVariant* variant) {
    CheckThread("NPN_ReleaseVariantValue");
    if (!variant) {
        return;
    }
    if (variant->type == NPVariantType_String) {
        allocator_.Free(const_cast<NPUTF8*>(variant->value.stringValue.UTF8Characters));
    } else if (variant->type == NPVariantType_Object) {
        ReleaseObject(variant->value.objectValue);
    }
    memset(variant, 0, sizeof(*variant));
    variant->type = NPVariantType_Void;
}

NPObject* Browser::CreateFunction() {
    NPObject* function = CreateObject(nullptr, &g_functionClass);
    functionCalls_[function];
    return function;
}

const std::vector<FunctionCall>& Browser::CallsOf(NPObject* function) const {
    static const std::vector<FunctionCall> none;
    auto it = functionCalls_.find(function);
    return it == functionCalls_.end() ? none : it->second;
}

void Browser::RecordCall(NPObject* function, const NPVariant* args, uint32_t argCount) {
    FunctionCall call;
    call.dwThreadId = GetCurrentThreadId();
    for (uint32_t i = 0; i < argCount; ++i) {
        call.args.push_back(CopyValue(args[i]));
    }
    functionCalls_[function].push_back(call);
}

bool Browser::CallMethod(NPObject* object, const std::string& name, const Arguments& args,
                         NPVariant* result) {
    const NPIdentifier id = StringIdentifier(name);
    if (!CheckObject("a script call", object) || !CheckedClass()->hasMethod(object, id)) {
        return false;
    }
    return CheckedClass()->invoke(object, id, args.data(), args.size(), result);
}

bool Browser::CallAndCopy(NPObject* object, const std::string& name, const Arguments& args,
                          Value* result) {
    NPVariant variant;
    variant.type = NPVariantType_Void;
    const bool bInvoked = CallMethod(object, name, args, &variant);
    *result = CopyValue(variant);
    ReleaseVariantValue(&variant);
    return bInvoked;
}

} // namespace nphost
