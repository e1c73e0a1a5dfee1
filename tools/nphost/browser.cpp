// The NPAPI host: the browser's services, its plug-in scan and load, frame windows and instances.
#include "nphost/browser.h"

#include <stdio.h>
#include <string.h>

#include "nphost/checked_call.h"
#include "nphost/test_time.h"

namespace nphost {

namespace {

const UINT kAsyncCallMessage = WM_APP + 1;

Browser& B() {
    return Browser::Get();
}

// --- the browser's function table ---

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
NPError NP_TABLE GetValue(NPP, NPNVariable, void*) {
    B().CheckThread("NPN_GetValue");
    return NPERR_GENERIC_ERROR;
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

// --- page functions: objects of the page's script that record their calls ---

bool NP_TABLE FunctionInvokeDefault(NPObject* obj, const NPVariant* args, uint32_t argCount,
                                    NPVariant* result) {
    B().RecordCall(obj, args, argCount);
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

// --- TrackedAllocator ---

namespace {

// Guard bytes around each block: a header that also keeps the block's size, and a tail.
const size_t kHeadBytes = 16;
const size_t kTailBytes = 16;
const unsigned char kHeadGuard = 0xAB;
const unsigned char kTailGuard = 0xFD;
const unsigned char kFreshFill = 0xCD; // new blocks: reading before writing shows
const unsigned char kFreedFill = 0xDD; // freed blocks: reading after freeing shows

std::string Address(const void* p) {
    char text[32];
    snprintf(text, sizeof(text), "%p", p);
    return text;
}

bool AllBytes(const unsigned char* p, size_t n, unsigned char value) {
    for (size_t i = 0; i < n; ++i) {
        if (p[i] != value) {
            return false;
        }
    }
    return true;
}

} // namespace

TrackedAllocator::TrackedAllocator() : hHeap_(HeapCreate(0, 0, 0)) {}

TrackedAllocator::~TrackedAllocator() {
    // The heap stays: the module may still hold blocks when the process ends.
}

void* TrackedAllocator::Alloc(uint32_t nSize) {
    requests_.push_back(nSize);
    if (nFailNext_ > 0) {
        --nFailNext_;
        return nullptr;
    }
    unsigned char* pRaw =
        static_cast<unsigned char*>(HeapAlloc(hHeap_, 0, kHeadBytes + nSize + kTailBytes));
    if (!pRaw) {
        return nullptr;
    }
    memset(pRaw, kHeadGuard, kHeadBytes);
    memset(pRaw + kHeadBytes, kFreshFill, nSize);
    memset(pRaw + kHeadBytes + nSize, kTailGuard, kTailBytes);
    void* pBlock = pRaw + kHeadBytes;
    blocks_[pBlock] = nSize;
    freed_.erase(pBlock);
    return pBlock;
}

void TrackedAllocator::Free(void* pBlock) {
    if (!pBlock) {
        return;
    }
    auto it = blocks_.find(pBlock);
    if (it == blocks_.end()) {
        Browser::Get().Violation("NPN_MemFree of " + Address(pBlock) +
                                 (freed_.count(pBlock)
                                      ? ": the block was freed already (freed twice)"
                                      : ": not a block that NPN_MemAlloc gave out"));
        return;
    }
    const uint32_t nSize = it->second;
    unsigned char* pRaw = static_cast<unsigned char*>(pBlock) - kHeadBytes;
    if (!AllBytes(pRaw, kHeadBytes, kHeadGuard)) {
        Browser::Get().Violation("NPN_MemFree of the " + std::to_string(nSize) + "-byte block " +
                                 Address(pBlock) + ": written before its start");
    }
    if (!AllBytes(pRaw + kHeadBytes + nSize, kTailBytes, kTailGuard)) {
        Browser::Get().Violation("NPN_MemFree of the " + std::to_string(nSize) + "-byte block " +
                                 Address(pBlock) + ": written past its end");
    }
    blocks_.erase(it);
    freed_.insert(pBlock);
    memset(pRaw, kFreedFill, kHeadBytes + nSize + kTailBytes);
    HeapFree(hHeap_, 0, pRaw);
}

long long TrackedAllocator::BlockSize(const void* pBlock) const {
    auto it = blocks_.find(pBlock);
    return it == blocks_.end() ? -1 : static_cast<long long>(it->second);
}

// --- values and arguments ---

Value CopyValue(const NPVariant& variant) {
    Value value;
    value.type = variant.type;
    switch (variant.type) {
    case NPVariantType_Bool:
        value.boolValue = variant.value.boolValue;
        break;
    case NPVariantType_Int32:
        value.intValue = variant.value.intValue;
        break;
    case NPVariantType_Double:
        value.doubleValue = variant.value.doubleValue;
        break;
    case NPVariantType_String:
        value.text.assign(variant.value.stringValue.UTF8Characters,
                          variant.value.stringValue.UTF8Length);
        break;
    case NPVariantType_Object:
        value.object = variant.value.objectValue;
        break;
    default:
        break;
    }
    return value;
}

Arguments& Arguments::String(const std::string& text) {
    texts_.push_back(std::make_shared<const std::string>(text));
    NPVariant variant;
    variant.type = NPVariantType_String;
    variant.value.stringValue.UTF8Characters = texts_.back()->data();
    variant.value.stringValue.UTF8Length = static_cast<uint32_t>(texts_.back()->size());
    variants_.push_back(variant);
    return *this;
}

Arguments& Arguments::Object(NPObject* object) {
    NPVariant variant;
    variant.type = NPVariantType_Object;
    variant.value.objectValue = object;
    variants_.push_back(variant);
    return *this;
}

namespace {

NPVariant Blank(NPVariantType type) {
    NPVariant variant;
    memset(&variant, 0, sizeof(variant));
    variant.type = type;
    return variant;
}

} // namespace

Arguments& Arguments::Int(int32_t value) {
    NPVariant variant = Blank(NPVariantType_Int32);
    variant.value.intValue = value;
    variants_.push_back(variant);
    return *this;
}

Arguments& Arguments::Double(double value) {
    NPVariant variant = Blank(NPVariantType_Double);
    variant.value.doubleValue = value;
    variants_.push_back(variant);
    return *this;
}

Arguments& Arguments::Bool(bool value) {
    NPVariant variant = Blank(NPVariantType_Bool);
    variant.value.boolValue = value;
    variants_.push_back(variant);
    return *this;
}

Arguments& Arguments::Void() {
    variants_.push_back(Blank(NPVariantType_Void));
    return *this;
}

Arguments& Arguments::Null() {
    variants_.push_back(Blank(NPVariantType_Null));
    return *this;
}

// --- Browser ---

Browser& Browser::Get() {
    static Browser browser;
    return browser;
}

Browser::Browser() : dwPluginThread_(GetCurrentThreadId()) {
    InitializeCriticalSection(&asyncLock_);
    WNDCLASSW wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = MessageWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"NpHostMessageWindow";
    RegisterClassW(&wc);
    hMessageWindow_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                      nullptr, wc.hInstance, nullptr);
}

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

void Browser::CheckThread(const char* service) {
    if (GetCurrentThreadId() != dwPluginThread_) {
        ++nOffThreadCalls_;
        Violation(std::string(service) + " called off the plug-in thread (thread " +
                  std::to_string(GetCurrentThreadId()) + ")");
    }
}

void Browser::Violation(const std::string& what) {
    EnterCriticalSection(&asyncLock_);
    violations_.push_back(what);
    LeaveCriticalSection(&asyncLock_);
}

std::vector<std::string> Browser::Violations() {
    EnterCriticalSection(&asyncLock_);
    std::vector<std::string> copy = violations_;
    LeaveCriticalSection(&asyncLock_);
    return copy;
}

std::vector<std::string> Browser::TakeViolations(size_t nKeep) {
    EnterCriticalSection(&asyncLock_);
    std::vector<std::string> taken;
    if (violations_.size() > nKeep) {
        taken.assign(violations_.begin() + static_cast<std::ptrdiff_t>(nKeep), violations_.end());
        violations_.resize(nKeep);
    }
    LeaveCriticalSection(&asyncLock_);
    return taken;
}

size_t Browser::PendingAsyncCalls() {
    EnterCriticalSection(&asyncLock_);
    const size_t nPending = asyncCalls_.size() + nDelivering_;
    LeaveCriticalSection(&asyncLock_);
    return nPending;
}

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

void Browser::QueueAsyncCall(NPP npp, NPN_AsyncCallFunction func, void* userData) {
    EnterCriticalSection(&asyncLock_);
    ++nPostedAsyncCalls_;
    LeaveCriticalSection(&asyncLock_);
    // A real browser reads the instance here: one that is gone may be freed memory.
    const bool bLive = IsLiveInstance(npp);
    if (!bLive) {
        char text[32];
        snprintf(text, sizeof(text), "%p", static_cast<void*>(npp));
        Violation(std::string("NPN_PluginThreadAsyncCall posted for instance ") + text +
                  ", which is destroyed or was never created; the call is not run");
        return;
    }
    EnterCriticalSection(&asyncLock_);
    asyncCalls_.push_back(AsyncCall{npp, func, userData});
    LeaveCriticalSection(&asyncLock_);
    PostMessageW(hMessageWindow_, kAsyncCallMessage, 0, 0);
}

void Browser::InstanceCreated(NPP npp) {
    EnterCriticalSection(&asyncLock_);
    liveInstances_.insert(npp);
    LeaveCriticalSection(&asyncLock_);
}

void Browser::InstanceDestroyed(NPP npp) {
    EnterCriticalSection(&asyncLock_);
    liveInstances_.erase(npp);
    LeaveCriticalSection(&asyncLock_);
}

bool Browser::IsLiveInstance(NPP npp) {
    EnterCriticalSection(&asyncLock_);
    const bool bLive = liveInstances_.count(npp) != 0;
    LeaveCriticalSection(&asyncLock_);
    return bLive;
}

void Browser::DeliverAsyncCalls() {
    // One call at a time, counted as pending until it has run.
    for (;;) {
        EnterCriticalSection(&asyncLock_);
        if (asyncCalls_.empty()) {
            LeaveCriticalSection(&asyncLock_);
            return;
        }
        const AsyncCall call = asyncCalls_.front();
        asyncCalls_.erase(asyncCalls_.begin());
        ++nDelivering_;
        LeaveCriticalSection(&asyncLock_);
        // As in browsers, a call for an instance destroyed since it was posted is dropped.
        if (IsLiveInstance(call.npp)) {
            CallTable("an asynchronous call", call.func, call.userData);
        } else {
            ++nDroppedAsyncCalls_;
            if (bDeliverToDestroyed_) {
                CallTable("an asynchronous call", call.func, call.userData);
            }
        }
        EnterCriticalSection(&asyncLock_);
        --nDelivering_;
        LeaveCriticalSection(&asyncLock_);
    }
}

LRESULT CALLBACK Browser::MessageWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == kAsyncCallMessage) {
        Get().DeliverAsyncCalls();
        return 0;
    }
    return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

bool Browser::AnswerSentMessagesUntil(const std::function<bool()>& done, DWORD dwTimeoutMs) {
    dwTimeoutMs = nphost::PatientWait(dwTimeoutMs);
    const DWORD dwStart = GetTickCount();
    for (;;) {
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        if (done()) {
            return true;
        }
        if (GetTickCount() - dwStart >= dwTimeoutMs) {
            return false;
        }
        MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_SENDMESSAGE, 0);
    }
}

bool Browser::PumpUntil(const std::function<bool()>& done, DWORD dwTimeoutMs) {
    return PumpWithin(done, nphost::PatientWait(dwTimeoutMs));
}

bool Browser::PumpWithin(const std::function<bool()>& done, DWORD dwTimeoutMs) {
    const DWORD dwStart = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done()) {
            return true;
        }
        if (GetTickCount() - dwStart >= dwTimeoutMs) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void Browser::PumpFor(DWORD dwMs) {
    PumpWithin([] { return false; }, dwMs);
}

// --- plug-in scan and load ---

std::wstring Widen(const std::string& utf8) {
    if (utf8.empty()) {
        return std::wstring();
    }
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], n);
    return wide;
}

std::string Narrow(const std::wstring& wide) {
    if (wide.empty()) {
        return std::string();
    }
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &utf8[0], n,
                        nullptr, nullptr);
    return utf8;
}

std::wstring BesideExecutable(const std::wstring& name) {
    wchar_t path[MAX_PATH] = {0};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    const size_t slash = folder.find_last_of(L"\\/");
    folder = slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash + 1);
    return folder + name;
}

std::string ReadVersionString(const std::wstring& path, const std::string& key) {
    DWORD dwHandle = 0;
    const DWORD dwSize = GetFileVersionInfoSizeW(path.c_str(), &dwHandle);
    if (dwSize == 0) {
        return std::string();
    }
    std::vector<char> data(dwSize);
    if (!GetFileVersionInfoW(path.c_str(), 0, dwSize, &data[0])) {
        return std::string();
    }
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* pTranslation = nullptr;
    UINT nBytes = 0;
    if (!VerQueryValueW(&data[0], L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&pTranslation), &nBytes) ||
        nBytes < sizeof(Translation)) {
        return std::string();
    }
    wchar_t query[128];
    _snwprintf(query, 128, L"\\StringFileInfo\\%04x%04x\\%ls", pTranslation->language,
               pTranslation->codePage, Widen(key).c_str());
    query[127] = 0;
    wchar_t* pValue = nullptr;
    UINT nChars = 0;
    if (!VerQueryValueW(&data[0], query, reinterpret_cast<void**>(&pValue), &nChars) || !pValue) {
        return std::string();
    }
    return Narrow(std::wstring(pValue));
}

ScanInfo ScanPlugin(const std::wstring& path) {
    ScanInfo info;
    info.mimeType = ReadVersionString(path, "MIMEType");
    info.fileExtents = ReadVersionString(path, "FileExtents");
    info.fileOpenName = ReadVersionString(path, "FileOpenName");
    info.productName = ReadVersionString(path, "ProductName");
    info.fileDescription = ReadVersionString(path, "FileDescription");
    info.bFound = !info.mimeType.empty();
    return info;
}

namespace {

void* Export(HMODULE hModule, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(hModule, name));
}

// The table of the module most recently loaded, which the checking forwarders call.
const NPPluginFuncs* g_pModuleFuncs = nullptr;

NPError NP_TABLE CheckedNew(NPMIMEType pluginType, NPP instance, uint16_t mode, int16_t argc,
                            char* argn[], char* argv[], NPSavedData* saved) {
    return CallTable("NPP_New", g_pModuleFuncs->newp, pluginType, instance, mode, argc, argn, argv,
                     saved);
}
NPError NP_TABLE CheckedDestroy(NPP instance, NPSavedData** save) {
    return CallTable("NPP_Destroy", g_pModuleFuncs->destroy, instance, save);
}
NPError NP_TABLE CheckedSetWindow(NPP instance, NPWindow* window) {
    return CallTable("NPP_SetWindow", g_pModuleFuncs->setwindow, instance, window);
}
NPError NP_TABLE CheckedNewStream(NPP instance, NPMIMEType type, NPStream* stream, NPBool seekable,
                                  uint16_t* stype) {
    return CallTable("NPP_NewStream", g_pModuleFuncs->newstream, instance, type, stream, seekable,
                     stype);
}
NPError NP_TABLE CheckedDestroyStream(NPP instance, NPStream* stream, NPReason reason) {
    return CallTable("NPP_DestroyStream", g_pModuleFuncs->destroystream, instance, stream, reason);
}
void NP_TABLE CheckedStreamAsFile(NPP instance, NPStream* stream, const char* fname) {
    CallTable("NPP_StreamAsFile", g_pModuleFuncs->asfile, instance, stream, fname);
}
int32_t NP_TABLE CheckedWriteReady(NPP instance, NPStream* stream) {
    return CallTable("NPP_WriteReady", g_pModuleFuncs->writeready, instance, stream);
}
int32_t NP_TABLE CheckedWrite(NPP instance, NPStream* stream, int32_t offset, int32_t len,
                              void* buffer) {
    return CallTable("NPP_Write", g_pModuleFuncs->write, instance, stream, offset, len, buffer);
}
void NP_TABLE CheckedPrint(NPP instance, NPPrint* platformPrint) {
    CallTable("NPP_Print", g_pModuleFuncs->print, instance, platformPrint);
}
int16_t NP_TABLE CheckedHandleEvent(NPP instance, void* event) {
    return CallTable("NPP_HandleEvent", g_pModuleFuncs->event, instance, event);
}
void NP_TABLE CheckedURLNotify(NPP instance, const char* url, NPReason reason, void* notifyData) {
    CallTable("NPP_URLNotify", g_pModuleFuncs->urlnotify, instance, url, reason, notifyData);
}
NPError NP_TABLE CheckedGetValue(NPP instance, NPPVariable variable, void* value) {
    return CallTable("NPP_GetValue", g_pModuleFuncs->getvalue, instance, variable, value);
}
NPError NP_TABLE CheckedSetValue(NPP instance, NPNVariable variable, void* value) {
    return CallTable("NPP_SetValue", g_pModuleFuncs->setvalue, instance, variable, value);
}

// --- the checking class record: each entry calls the object's own class ---

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

PluginModule::PluginModule(const std::wstring& path) {
    memset(&funcs_, 0, sizeof(funcs_));
    memset(&checkedFuncs_, 0, sizeof(checkedFuncs_));
    hModule_.reset(LoadLibraryW(path.c_str()));
    if (!hModule_) {
        return;
    }
    getEntryPoints_ =
        reinterpret_cast<NP_GetEntryPointsFunc>(Export(hModule_.get(), "NP_GetEntryPoints"));
    initialize_ = reinterpret_cast<NP_InitializeFunc>(Export(hModule_.get(), "NP_Initialize"));
    shutdown_ = reinterpret_cast<NP_ShutdownFunc>(Export(hModule_.get(), "NP_Shutdown"));
    if (!HasExports()) {
        return;
    }
    funcs_.size = sizeof(funcs_);
    funcs_.version = (NP_VERSION_MAJOR << 8) | NP_VERSION_MINOR;
    entryPointsResult_ = GetEntryPoints(&funcs_);
    NPNetscapeFuncs browserFuncs = Browser::Get().Funcs();
    initializeResult_ = Initialize(&browserFuncs);

    g_pModuleFuncs = &funcs_;
    checkedFuncs_ = funcs_;
    checkedFuncs_.newp = CheckedNew;
    checkedFuncs_.destroy = CheckedDestroy;
    checkedFuncs_.setwindow = CheckedSetWindow;
    checkedFuncs_.newstream = CheckedNewStream;
    checkedFuncs_.destroystream = CheckedDestroyStream;
    checkedFuncs_.asfile = CheckedStreamAsFile;
    checkedFuncs_.writeready = CheckedWriteReady;
    checkedFuncs_.write = CheckedWrite;
    checkedFuncs_.print = CheckedPrint;
    checkedFuncs_.event = CheckedHandleEvent;
    checkedFuncs_.urlnotify = CheckedURLNotify;
    checkedFuncs_.getvalue = CheckedGetValue;
    checkedFuncs_.setvalue = CheckedSetValue;
}

#if defined(_M_IX86) || defined(__i386__)
NPError PluginModule::GetEntryPoints(NPPluginFuncs* pFuncs) const {
    return CallChecked<NPError, NPPluginFuncs*>("NP_GetEntryPoints", Convention::Stdcall,
                                                reinterpret_cast<const void*>(getEntryPoints_),
                                                pFuncs);
}

NPError PluginModule::Initialize(NPNetscapeFuncs* pFuncs) const {
    return CallChecked<NPError, NPNetscapeFuncs*>(
        "NP_Initialize", Convention::Stdcall, reinterpret_cast<const void*>(initialize_), pFuncs);
}

NPError PluginModule::Shutdown() {
    bShutDown_ = true;
    return CallChecked<NPError>("NP_Shutdown", Convention::Stdcall,
                                reinterpret_cast<const void*>(shutdown_));
}
#else
NPError PluginModule::GetEntryPoints(NPPluginFuncs* pFuncs) const {
    return getEntryPoints_(pFuncs);
}

NPError PluginModule::Initialize(NPNetscapeFuncs* pFuncs) const {
    return initialize_(pFuncs);
}

NPError PluginModule::Shutdown() {
    bShutDown_ = true;
    return shutdown_();
}
#endif

PluginModule::~PluginModule() {
    if (g_pModuleFuncs == &funcs_) {
        g_pModuleFuncs = nullptr;
    }
    if (HasExports() && initializeResult_ == NPERR_NO_ERROR && !bShutDown_) {
        Shutdown();
    }
}

// --- windows and instances ---

namespace {

LRESULT CALLBACK FrameProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

const wchar_t kFrameClass[] = L"CB_CorvidBrowserFrame";
const wchar_t kPluginAreaClass[] = L"CB_CorvidPluginArea";

void RegisterWindowClasses() {
    static bool bRegistered = false;
    if (bRegistered) {
        return;
    }
    WNDCLASSW wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpfnWndProc = FrameProc;
    wc.lpszClassName = kFrameClass;
    RegisterClassW(&wc);
    wc.lpfnWndProc = BrowserPluginWindowProcA;
    wc.lpszClassName = kPluginAreaClass;
    RegisterClassW(&wc);
    bRegistered = true;
}

} // namespace

namespace {

std::map<std::pair<HWND, UINT>, int>& MessagesSeen() {
    static std::map<std::pair<HWND, UINT>, int> seen;
    return seen;
}

} // namespace

LRESULT CALLBACK BrowserPluginWindowProcA(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    ++MessagesSeen()[std::make_pair(hWnd, uMsg)];
    return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

int MessagesSeenByBrowserProcedure(HWND hWnd, UINT uMsg) {
    auto it = MessagesSeen().find(std::make_pair(hWnd, uMsg));
    return it == MessagesSeen().end() ? 0 : it->second;
}

LRESULT CALLBACK BrowserPluginWindowProcB(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

HWND BrowserFrame() {
    static HWND hFrame = nullptr;
    if (!hFrame) {
        RegisterWindowClasses();
        hFrame =
            CreateWindowExW(0, kFrameClass, L"CorvidBrowser", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                            100, 800, 600, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    return hFrame;
}

PluginArea::PluginArea(WNDPROC procedure)
    : procedure_(procedure ? procedure : BrowserPluginWindowProcA) {
    hWnd_.reset(CreateWindowExW(0, kPluginAreaClass, L"", WS_CHILD | WS_VISIBLE, 10, 10, 320, 240,
                                BrowserFrame(), nullptr, GetModuleHandleW(nullptr), nullptr));
    if (hWnd_ && procedure_ != BrowserPluginWindowProcA) {
        SetWindowLongPtrW(hWnd_.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure_));
    }
}

WNDPROC PluginArea::CurrentProcedure() const {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hWnd_.get(), GWLP_WNDPROC));
}

Instance::Instance(PluginModule& module, const char* mimeType) : module_(module) {
    memset(&npp_, 0, sizeof(npp_));
    memset(&window_, 0, sizeof(window_));
    npp_.ndata = this;
    newResult_ = module_.Funcs().newp(const_cast<char*>(mimeType), &npp_, NP_EMBED, 0, nullptr,
                                      nullptr, nullptr);
    if (newResult_ == NPERR_NO_ERROR) {
        Browser::Get().InstanceCreated(&npp_);
    } else {
        bDestroyed_ = true;
    }
}

Instance::~Instance() {
    Destroy();
    for (NPObject* object : pageHeld_) {
        Browser::Get().ReleaseObject(object);
    }
}

NPError Instance::SetWindow(HWND hWnd) {
    window_.window = hWnd;
    RECT rect = {0, 0, 0, 0};
    if (hWnd) {
        GetClientRect(hWnd, &rect);
    }
    window_.x = 0;
    window_.y = 0;
    window_.width = static_cast<uint32_t>(rect.right);
    window_.height = static_cast<uint32_t>(rect.bottom);
    window_.clipRect.right = static_cast<uint16_t>(rect.right);
    window_.clipRect.bottom = static_cast<uint16_t>(rect.bottom);
    window_.type = NPWindowTypeWindow;
    return module_.Funcs().setwindow(&npp_, &window_);
}

NPError Instance::Destroy(NPSavedData** save) {
    if (bDestroyed_) {
        return NPERR_NO_ERROR;
    }
    bDestroyed_ = true;
    NPSavedData* saved = nullptr;
    const NPError result = module_.Funcs().destroy(&npp_, save ? save : &saved);
    // The instance is gone once NPP_Destroy has returned; calls posted during it still count.
    Browser::Get().InstanceDestroyed(&npp_);
    return result;
}

NPObject* Instance::ScriptableObject() {
    NPObject* object = nullptr;
    if (module_.Funcs().getvalue(&npp_, NPPVpluginScriptableNPObject, &object) != NPERR_NO_ERROR) {
        return nullptr;
    }
    if (object) {
        pageHeld_.push_back(object);
    }
    return object;
}

void Instance::ReleasePageHold(NPObject* object) {
    for (auto it = pageHeld_.begin(); it != pageHeld_.end(); ++it) {
        if (*it == object) {
            pageHeld_.erase(it);
            Browser::Get().ReleaseObject(object);
            return;
        }
    }
    Browser::Get().Violation("the page released a reference it does not hold");
}

} // namespace nphost
