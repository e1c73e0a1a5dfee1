// The NPAPI host: the browser's services, its plug-in scan and load, frame windows and instances.
#include "host/browser.h"

#include <string.h>

namespace nphost {

namespace {

const UINT kAsyncCallMessage = WM_APP + 1;

Browser& B() {
    return Browser::Get();
}

// --- the browser's function table ---

NPError NP_TABLE GetURL(NPP, const char*, const char*) {
    return NPERR_GENERIC_ERROR;
}
NPError NP_TABLE PostURL(NPP, const char*, const char*, uint32_t, const char*, NPBool) {
    return NPERR_GENERIC_ERROR;
}
NPError NP_TABLE RequestRead(NPStream*, NPByteRange*) {
    return NPERR_GENERIC_ERROR;
}
NPError NP_TABLE NewStream(NPP, NPMIMEType, const char*, NPStream**) {
    return NPERR_GENERIC_ERROR;
}
int32_t NP_TABLE Write(NPP, NPStream*, int32_t, void*) {
    return -1;
}
NPError NP_TABLE DestroyStream(NPP, NPStream*, NPReason) {
    return NPERR_GENERIC_ERROR;
}
void NP_TABLE Status(NPP, const char*) {}
const char* NP_TABLE UserAgent(NPP) {
    return "CorvidBrowser/1.0";
}
void* NP_TABLE MemAlloc(uint32_t size) {
    B().CheckThread();
    return B().Allocator().Alloc(size);
}
void NP_TABLE MemFree(void* ptr) {
    B().CheckThread();
    B().Allocator().Free(ptr);
}
uint32_t NP_TABLE MemFlush(uint32_t) {
    return 0;
}
void NP_TABLE ReloadPlugins(NPBool) {}
void* NP_TABLE GetJavaEnv(void) {
    return nullptr;
}
void* NP_TABLE GetJavaPeer(NPP) {
    return nullptr;
}
NPError NP_TABLE GetURLNotify(NPP, const char*, const char*, void*) {
    return NPERR_GENERIC_ERROR;
}
NPError NP_TABLE PostURLNotify(NPP, const char*, const char*, uint32_t, const char*, NPBool,
                               void*) {
    return NPERR_GENERIC_ERROR;
}
NPError NP_TABLE GetValue(NPP, NPNVariable, void*) {
    return NPERR_GENERIC_ERROR;
}
NPError NP_TABLE SetValue(NPP, NPPVariable, void*) {
    return NPERR_GENERIC_ERROR;
}
void NP_TABLE InvalidateRect(NPP, NPRect*) {}
void NP_TABLE InvalidateRegion(NPP, void*) {}
void NP_TABLE ForceRedraw(NPP) {}
NPIdentifier NP_TABLE GetStringIdentifier(const NPUTF8* name) {
    B().CheckThread();
    return name ? B().StringIdentifier(name) : nullptr;
}
void NP_TABLE GetStringIdentifiers(const NPUTF8** names, int32_t nameCount,
                                   NPIdentifier* identifiers) {
    for (int32_t i = 0; i < nameCount; ++i) {
        identifiers[i] = GetStringIdentifier(names[i]);
    }
}
NPIdentifier NP_TABLE GetIntIdentifier(int32_t intid) {
    B().CheckThread();
    return B().IntIdentifier(intid);
}
bool NP_TABLE IdentifierIsString(NPIdentifier identifier) {
    return B().IdentifierName(identifier) != nullptr;
}
NPUTF8* NP_TABLE UTF8FromIdentifier(NPIdentifier identifier) {
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
    return 0;
}
NPObject* NP_TABLE CreateObject(NPP npp, NPClass* aClass) {
    return B().CreateObject(npp, aClass);
}
NPObject* NP_TABLE RetainObject(NPObject* obj) {
    return B().RetainObject(obj);
}
void NP_TABLE ReleaseObject(NPObject* obj) {
    B().ReleaseObject(obj);
}
bool NP_TABLE Invoke(NPP, NPObject* obj, NPIdentifier methodName, const NPVariant* args,
                     uint32_t argCount, NPVariant* result) {
    B().CheckThread();
    return obj && obj->_class && obj->_class->invoke &&
           obj->_class->invoke(obj, methodName, args, argCount, result);
}
bool NP_TABLE InvokeDefault(NPP, NPObject* obj, const NPVariant* args, uint32_t argCount,
                            NPVariant* result) {
    B().CheckThread();
    return obj && obj->_class && obj->_class->invokeDefault &&
           obj->_class->invokeDefault(obj, args, argCount, result);
}
bool NP_TABLE Evaluate(NPP, NPObject*, NPString*, NPVariant*) {
    return false;
}
bool NP_TABLE GetProperty(NPP, NPObject* obj, NPIdentifier name, NPVariant* result) {
    B().CheckThread();
    return obj && obj->_class->getProperty && obj->_class->getProperty(obj, name, result);
}
bool NP_TABLE SetProperty(NPP, NPObject* obj, NPIdentifier name, const NPVariant* value) {
    B().CheckThread();
    return obj && obj->_class->setProperty && obj->_class->setProperty(obj, name, value);
}
bool NP_TABLE RemoveProperty(NPP, NPObject* obj, NPIdentifier name) {
    B().CheckThread();
    return obj && obj->_class->removeProperty && obj->_class->removeProperty(obj, name);
}
bool NP_TABLE HasProperty(NPP, NPObject* obj, NPIdentifier name) {
    B().CheckThread();
    return obj && obj->_class->hasProperty && obj->_class->hasProperty(obj, name);
}
bool NP_TABLE HasMethod(NPP, NPObject* obj, NPIdentifier name) {
    B().CheckThread();
    return obj && obj->_class->hasMethod && obj->_class->hasMethod(obj, name);
}
void NP_TABLE ReleaseVariantValue(NPVariant* variant) {
    B().ReleaseVariantValue(variant);
}
void NP_TABLE SetException(NPObject*, const NPUTF8*) {}
void NP_TABLE PushPopupsEnabledState(NPP, NPBool) {}
void NP_TABLE PopPopupsEnabledState(NPP) {}
bool NP_TABLE Enumerate(NPP, NPObject* obj, NPIdentifier** identifiers, uint32_t* count) {
    B().CheckThread();
    return obj && obj->_class->structVersion >= NP_CLASS_STRUCT_VERSION_ENUM &&
           obj->_class->enumerate && obj->_class->enumerate(obj, identifiers, count);
}
void NP_TABLE PluginThreadAsyncCall(NPP instance, NPN_AsyncCallFunction func, void* userData) {
    B().QueueAsyncCall(instance, func, userData);
}
bool NP_TABLE Construct(NPP, NPObject* obj, const NPVariant* args, uint32_t argCount,
                        NPVariant* result) {
    B().CheckThread();
    return obj && obj->_class->structVersion >= NP_CLASS_STRUCT_VERSION_CTOR &&
           obj->_class->construct && obj->_class->construct(obj, args, argCount, result);
}
NPError NP_TABLE GetValueForURL(NPP, NPNURLVariable, const char*, char**, uint32_t*) {
    return NPERR_GENERIC_ERROR;
}
NPError NP_TABLE SetValueForURL(NPP, NPNURLVariable, const char*, const char*, uint32_t) {
    return NPERR_GENERIC_ERROR;
}
NPError NP_TABLE GetAuthenticationInfo(NPP, const char*, const char*, int32_t, const char*,
                                       const char*, char**, uint32_t*, char**, uint32_t*) {
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

void* TrackedAllocator::Alloc(uint32_t nSize) {
    requests_.push_back(nSize);
    if (nFailNext_ > 0) {
        --nFailNext_;
        return nullptr;
    }
    void* pBlock = malloc(nSize ? nSize : 1);
    if (pBlock) {
        blocks_[pBlock] = nSize;
    }
    return pBlock;
}

void TrackedAllocator::Free(void* pBlock) {
    if (!pBlock) {
        return;
    }
    auto it = blocks_.find(pBlock);
    if (it == blocks_.end()) {
        ++nBadFrees_;
        return;
    }
    blocks_.erase(it);
    free(pBlock);
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

Arguments& Arguments::Int(int32_t value) {
    NPVariant variant;
    variant.type = NPVariantType_Int32;
    variant.value.intValue = value;
    variants_.push_back(variant);
    return *this;
}

Arguments& Arguments::Void() {
    NPVariant variant;
    memset(&variant, 0, sizeof(variant));
    variant.type = NPVariantType_Void;
    variants_.push_back(variant);
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

void Browser::CheckThread() {
    if (GetCurrentThreadId() != dwPluginThread_) {
        ++nOffThreadCalls_;
    }
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
    CheckThread();
    if (!aClass) {
        return nullptr;
    }
    if (nFailCreate_ > 0) {
        --nFailCreate_;
        return nullptr;
    }
    NPObject* object = aClass->allocate ? aClass->allocate(npp, aClass)
                                        : static_cast<NPObject*>(malloc(sizeof(NPObject)));
    if (!object) {
        return nullptr;
    }
    object->_class = aClass;
    object->referenceCount = 1;
    liveObjects_.insert(object);
    return object;
}

NPObject* Browser::RetainObject(NPObject* object) {
    CheckThread();
    if (object) {
        ++object->referenceCount;
    }
    return object;
}

void Browser::ReleaseObject(NPObject* object) {
    CheckThread();
    if (!object || object->referenceCount == 0) {
        return;
    }
    if (--object->referenceCount == 0) {
        liveObjects_.erase(object);
        functionCalls_.erase(object);
        if (object->_class->deallocate) {
            object->_class->deallocate(object);
        } else {
            free(object);
        }
    }
}

void Browser::ReleaseVariantValue(NPVariant* variant) {
    CheckThread();
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
    if (!object->_class->hasMethod || !object->_class->hasMethod(object, id)) {
        return false;
    }
    return object->_class->invoke(object, id, args.data(), args.size(), result);
}

void Browser::QueueAsyncCall(NPP npp, NPN_AsyncCallFunction func, void* userData) {
    EnterCriticalSection(&asyncLock_);
    asyncCalls_.push_back(AsyncCall{npp, func, userData});
    LeaveCriticalSection(&asyncLock_);
    PostMessageW(hMessageWindow_, kAsyncCallMessage, 0, 0);
}

size_t Browser::PendingAsyncCalls() {
    EnterCriticalSection(&asyncLock_);
    const size_t nPending = asyncCalls_.size();
    LeaveCriticalSection(&asyncLock_);
    return nPending;
}

bool Browser::AnswerSentMessagesUntil(const std::function<bool()>& done, DWORD dwTimeoutMs) {
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

void Browser::DeliverAsyncCalls() {
    std::vector<AsyncCall> calls;
    EnterCriticalSection(&asyncLock_);
    calls.swap(asyncCalls_);
    LeaveCriticalSection(&asyncLock_);
    for (const AsyncCall& call : calls) {
        // As in browsers, a call for an instance that is gone is dropped.
        if (liveInstances_.count(call.npp) == 0) {
            ++nDroppedAsyncCalls_;
            if (!bDeliverToDestroyed_) {
                continue;
            }
        }
        call.func(call.userData);
    }
}

LRESULT CALLBACK Browser::MessageWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == kAsyncCallMessage) {
        Get().DeliverAsyncCalls();
        return 0;
    }
    return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

bool Browser::PumpUntil(const std::function<bool()>& done, DWORD dwTimeoutMs) {
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
    PumpUntil([] { return false; }, dwMs);
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

} // namespace

PluginModule::PluginModule(const std::wstring& path) {
    memset(&funcs_, 0, sizeof(funcs_));
    hModule_.reset(LoadLibraryW(path.c_str()));
    if (!hModule_) {
        return;
    }
    getEntryPoints_ =
        reinterpret_cast<NP_GetEntryPointsFunc>(Export(hModule_.get(), "NP_GetEntryPoints"));
    initialize_ = reinterpret_cast<NP_InitializeFunc>(Export(hModule_.get(), "NP_Initialize"));
    shutdown_ = reinterpret_cast<NP_ShutdownFunc>(Export(hModule_.get(), "NP_Shutdown"));
    if (!getEntryPoints_ || !initialize_ || !shutdown_) {
        return;
    }
    funcs_.size = sizeof(funcs_);
    funcs_.version = (NP_VERSION_MAJOR << 8) | NP_VERSION_MINOR;
    entryPointsResult_ = getEntryPoints_(&funcs_);
    NPNetscapeFuncs browserFuncs = Browser::Get().Funcs();
    initializeResult_ = initialize_(&browserFuncs);
}

PluginModule::~PluginModule() {
    if (shutdown_ && initializeResult_ == NPERR_NO_ERROR) {
        shutdown_();
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

LRESULT CALLBACK BrowserPluginWindowProcA(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hWnd, uMsg, wParam, lParam);
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

NPError Instance::Destroy() {
    if (bDestroyed_) {
        return NPERR_NO_ERROR;
    }
    bDestroyed_ = true;
    Browser::Get().InstanceDestroyed(&npp_);
    NPSavedData* saved = nullptr;
    return module_.Funcs().destroy(&npp_, &saved);
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

} // namespace nphost
