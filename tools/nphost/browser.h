// The NPAPI host that stands in for the browser: services, plug-in scan and load, instances.
// Its code, by concern: browser.cpp (the browser and its record of misuse), browser_functions.cpp
// (the function table), tracked_allocator.cpp, values.cpp (values, arguments, UTF-8 text),
// objects.cpp (identifiers, objects, page functions, method calls), page.cpp (the page's origin
// and window), async_calls.cpp (and the message loop), plugin_module.cpp (scan and load),
// checked_class.cpp, frame_windows.cpp and instance.cpp.
#ifndef NPDESKLAUNCH_TOOLS_NPHOST_BROWSER_H
#define NPDESKLAUNCH_TOOLS_NPHOST_BROWSER_H

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "common/unique_resource.h"
#include "npapi/npapi.h"

// Owners that only the host needs: a loaded module and a window it created.
struct ModuleTraits {
    typedef HMODULE Type;
    static HMODULE Null() { return NULL; }
    static void Close(HMODULE module) { ::FreeLibrary(module); }
};
typedef UniqueResource<ModuleTraits> UniqueModule;

struct WindowTraits {
    typedef HWND Type;
    static HWND Null() { return NULL; }
    static void Close(HWND window) { ::DestroyWindow(window); }
};
typedef UniqueResource<WindowTraits> UniqueWindow;

namespace nphost {

// NPN_MemAlloc's heap: a private heap of the browser's own, not the C runtime's. Each block
// carries guard bytes before and after it, checked when it is freed; frees of blocks it never
// gave out, or gave out and took back already, are reported as misuse.
class TrackedAllocator {
  public:
    TrackedAllocator();
    ~TrackedAllocator();
    TrackedAllocator(const TrackedAllocator&) = delete;
    TrackedAllocator& operator=(const TrackedAllocator&) = delete;

    void* Alloc(uint32_t nSize);
    void Free(void* pBlock);

    size_t OutstandingBlocks() const { return blocks_.size(); }
    // The live blocks with their sizes.
    const std::map<const void*, uint32_t>& Blocks() const { return blocks_; }
    // The size of a live block, or -1 when `pBlock` is not one.
    long long BlockSize(const void* pBlock) const;
    // Every size asked for, in order.
    const std::vector<uint32_t>& Requests() const { return requests_; }
    // The next `nCount` allocations return null.
    void FailNext(int nCount) { nFailNext_ = nCount; }
    void ClearRequests() { requests_.clear(); }

  private:
    HANDLE hHeap_;
    std::map<const void*, uint32_t> blocks_;
    std::set<const void*> freed_; // given back and not handed out again since
    std::vector<uint32_t> requests_;
    int nFailNext_ = 0;
};

// A value the page received or passed, copied out of its NPVariant.
struct Value {
    NPVariantType type = NPVariantType_Void;
    bool boolValue = false;
    int32_t intValue = 0;
    double doubleValue = 0;
    std::string text; // the exact UTF8Length bytes of a string
    NPObject* object = nullptr;
};

Value CopyValue(const NPVariant& variant);

// One call of a page function made by the module.
struct FunctionCall {
    std::vector<Value> args;
    DWORD dwThreadId = 0;
};

// An argument list the page passes; it (and its copies) own the text of its string arguments.
class Arguments {
  public:
    Arguments& String(const std::string& text);
    Arguments& Object(NPObject* object);
    Arguments& Int(int32_t value);
    Arguments& Double(double value);
    Arguments& Bool(bool value);
    Arguments& Void();
    Arguments& Null();
    const NPVariant* data() const { return variants_.empty() ? nullptr : &variants_[0]; }
    uint32_t size() const { return static_cast<uint32_t>(variants_.size()); }

  private:
    std::vector<NPVariant> variants_;
    std::vector<std::shared_ptr<const std::string>> texts_; // shared by copies
};

// The page the instances are on, as the browser tells a plug-in: the document's origin through
// NPN_GetValue(NPNVdocumentOrigin), and the window (NPNVWindowNPObject) whose "location" has
// "origin", "protocol" and "host". By default the browser offers neither.
struct Page {
    std::string origin;           // "https://portal.example.com", "file://", "null"
    bool bDocumentOrigin = false; // NPNVdocumentOrigin answers `origin`
    bool bWindow = false;         // NPNVWindowNPObject answers a window with its location
    bool bLocationOrigin = true;  // the location has "origin"; without it, protocol and host
};

// The browser: one per process, as the NPAPI's services are plain functions.
class Browser {
  public:
    static Browser& Get();

    // A complete function table: all 48 services, size 196 on 32-bit Windows.
    NPNetscapeFuncs Funcs() const;

    TrackedAllocator& Allocator() { return allocator_; }

    NPIdentifier StringIdentifier(const std::string& name);
    NPIdentifier IntIdentifier(int32_t value);

    // A table without the asynchronous-call service, as older browsers hand out.
    NPNetscapeFuncs FuncsWithoutAsyncCalls() const;

    // Objects made by NPN_CreateObject that have not been deallocated.
    size_t LiveObjects() const { return liveObjects_.size(); }
    const std::set<NPObject*>& LiveObjectSet() const { return liveObjects_; }
    bool IsLive(NPObject* object) const { return liveObjects_.count(object) != 0; }
    // The next `nCount` calls of NPN_CreateObject fail, as when the browser is out of memory.
    void FailNextCreateObject(int nCount) { nFailCreate_ = nCount; }

    // A page function that records each call; the page holds one reference.
    NPObject* CreateFunction();
    const std::vector<FunctionCall>& CallsOf(NPObject* function) const;

    // Calls a method the way a page script does: HasMethod first, then Invoke.
    bool CallMethod(NPObject* object, const std::string& name, const Arguments& args,
                    NPVariant* result);
    // The same, with the result copied out and its variant released.
    bool CallAndCopy(NPObject* object, const std::string& name, const Arguments& args,
                     Value* result);

    // The page from now on (page.cpp), and NPN_GetValue's answers about it.
    void SetPage(const Page& page) { page_ = page; }
    const Page& CurrentPage() const { return page_; }
    NPError PageValue(NPNVariable variable, void* value);
    // How many times `service` ("NPN_GetValue") was entered, by the module or by the host's own
    // services on its behalf, since the process started.
    int ServiceCalls(const std::string& service);

    DWORD PluginThreadId() const { return dwPluginThread_; }
    // Services other than the asynchronous call made off the plug-in thread.
    int OffThreadCalls() const { return nOffThreadCalls_; }
    // Asynchronous calls posted and not yet run (or dropped), and all ever posted.
    size_t PendingAsyncCalls();
    int PostedAsyncCalls() const { return nPostedAsyncCalls_; }
    // Calls dropped at delivery because their instance was destroyed after they were posted.
    int DroppedAsyncCalls() const { return nDroppedAsyncCalls_; }
    // Runs calls for destroyed instances instead of dropping them, as a careless browser might.
    void DeliverToDestroyedInstances(bool bDeliver) { bDeliverToDestroyed_ = bDeliver; }
    // Waits, answering only messages sent from other threads; posted ones (the asynchronous
    // calls among them) stay queued. True when `done` became true in time.
    // The time is a patient wait (test_time.h).
    bool AnswerSentMessagesUntil(const std::function<bool()>& done, DWORD dwTimeoutMs);

    // What a real browser would punish: each entry says what was misused and how. The test
    // listener fails the test during which an entry was added.
    void Violation(const std::string& what);
    std::vector<std::string> Violations();
    // For tests of the host itself, which misuse it on purpose: removes and answers the entries
    // after the first `nKeep`.
    std::vector<std::string> TakeViolations(size_t nKeep);
    // Runs the plug-in thread's message loop until `done` or the time is up; true when done.
    // The time is a patient wait (test_time.h): longer where the tests run slowly.
    bool PumpUntil(const std::function<bool()>& done, DWORD dwTimeoutMs);
    // Runs the plug-in thread's message loop for exactly `dwMs`.
    void PumpFor(DWORD dwMs);

    // Instances whose NPP_New succeeded and that are not destroyed: async calls reach only them.
    void InstanceCreated(NPP npp);
    void InstanceDestroyed(NPP npp);
    bool IsLiveInstance(NPP npp);

    // What the services do; public for the table's plain functions.
    void CheckThread(const char* service);
    NPObject* CreateObject(NPP npp, NPClass* aClass);
    NPObject* RetainObject(NPObject* object);
    void ReleaseObject(NPObject* object);
    // Reports and answers false when `object` is not a live object; `service` names the caller.
    bool CheckObject(const char* service, NPObject* object);
    void ReleaseVariantValue(NPVariant* variant);
    void QueueAsyncCall(NPP npp, NPN_AsyncCallFunction func, void* userData);
    void RecordCall(NPObject* function, const NPVariant* args, uint32_t argCount);
    const char* IdentifierName(NPIdentifier identifier) const;

  private:
    Browser();
    void DeliverAsyncCalls();
    bool PumpWithin(const std::function<bool()>& done, DWORD dwTimeoutMs);
    static LRESULT CALLBACK MessageWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    struct Identifier {
        bool isString;
        std::string name;
        int32_t value;
    };
    struct AsyncCall {
        NPP npp;
        NPN_AsyncCallFunction func;
        void* userData;
    };

    TrackedAllocator allocator_;
    std::map<std::string, std::unique_ptr<Identifier>> stringIds_;
    std::map<int32_t, std::unique_ptr<Identifier>> intIds_;
    std::set<NPObject*> liveObjects_;
    std::set<NPObject*> deadObjects_; // deallocated, and not since handed out again
    std::map<NPObject*, std::vector<FunctionCall>> functionCalls_;
    std::set<NPP> liveInstances_;
    DWORD dwPluginThread_;
    int nOffThreadCalls_ = 0;
    int nPostedAsyncCalls_ = 0;
    int nDroppedAsyncCalls_ = 0;
    bool bDeliverToDestroyed_ = false;
    size_t nDelivering_ = 0;
    int nFailCreate_ = 0;
    HWND hMessageWindow_ = nullptr;
    CRITICAL_SECTION asyncLock_; // guards the calls, the live instances and the violations
    std::vector<AsyncCall> asyncCalls_;
    std::vector<std::string> violations_;     // under asyncLock_: any thread may add one
    std::map<std::string, int> serviceCalls_; // under asyncLock_
    Page page_;
};

// What the browser's plug-in scan reads from a module's version resource.
struct ScanInfo {
    bool bFound = false;
    std::string mimeType;
    std::string fileExtents;
    std::string fileOpenName;
    std::string productName;     // shown as the plug-in's name
    std::string fileDescription; // shown as its description
};

// Reads `key` from the first translation of the version resource of `path`.
std::string ReadVersionString(const std::wstring& path, const std::string& key);
ScanInfo ScanPlugin(const std::wstring& path);

// A module loaded the way a browser loads it: LoadLibrary, NP_GetEntryPoints, NP_Initialize.
// Every call into it goes through the measuring thunk of checked_call.h: the exports, the
// plug-in table (Funcs() holds the host's checking forwarders) and the class records.
class PluginModule {
  public:
    explicit PluginModule(const std::wstring& path);
    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    bool Loaded() const { return static_cast<bool>(hModule_); }
    NPError EntryPointsResult() const { return entryPointsResult_; }
    NPError InitializeResult() const { return initializeResult_; }
    // The plug-in table as the browser calls it, each entry measured.
    const NPPluginFuncs& Funcs() const { return checkedFuncs_; }
    // The table exactly as the module filled it.
    const NPPluginFuncs& ModuleFuncs() const { return funcs_; }
    // The exports, called through the measuring thunk.
    NPError GetEntryPoints(NPPluginFuncs* pFuncs) const;
    NPError Initialize(NPNetscapeFuncs* pFuncs) const;
    bool HasExports() const { return getEntryPoints_ && initialize_ && shutdown_; }
    // NP_Shutdown, which ends the module's use: called by the destructor unless called here.
    NPError Shutdown();
    HMODULE Handle() const { return hModule_.get(); }

  private:
    UniqueModule hModule_;
    NP_GetEntryPointsFunc getEntryPoints_ = nullptr;
    NP_InitializeFunc initialize_ = nullptr;
    NP_ShutdownFunc shutdown_ = nullptr;
    NPPluginFuncs funcs_;
    NPPluginFuncs checkedFuncs_;
    NPError entryPointsResult_ = -1;
    NPError initializeResult_ = -1;
    bool bShutDown_ = false;
};

// The browser's top-level frame window, of class "CB_CorvidBrowserFrame": one per process,
// shown on first use and kept until the process ends.
HWND BrowserFrame();

// A plug-in area inside the frame: a child window with the browser's own window procedure.
class PluginArea {
  public:
    // `procedure` is the window's procedure before the plug-in takes it over.
    explicit PluginArea(WNDPROC procedure = nullptr);
    PluginArea(const PluginArea&) = delete;
    PluginArea& operator=(const PluginArea&) = delete;

    HWND Handle() const { return hWnd_.get(); }
    WNDPROC BrowserProcedure() const { return procedure_; }
    // The procedure that the window has now.
    WNDPROC CurrentProcedure() const;

  private:
    WNDPROC procedure_;
    UniqueWindow hWnd_;
};

// Two distinct browser window procedures, so that tests can tell windows' procedures apart.
// The first records every message it receives, so that a plug-in procedure that chains to the
// browser's is seen.
LRESULT CALLBACK BrowserPluginWindowProcA(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK BrowserPluginWindowProcB(HWND, UINT, WPARAM, LPARAM);
// How many times BrowserPluginWindowProcA received `uMsg` for `hWnd`.
int MessagesSeenByBrowserProcedure(HWND hWnd, UINT uMsg);

// A class record whose entries call the object's own class record through the measuring
// thunk: tests call class operations through it as the browser would.
NPClass* CheckedClass();

// One plug-in instance on a page: NPP_New on construction, NPP_Destroy on destruction
// (when still alive), and the page's hold on the scriptable object released after it.
class Instance {
  public:
    explicit Instance(PluginModule& module,
                      const char* mimeType = "application/corvid-application");
    ~Instance();
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;

    NPP npp() { return &npp_; }
    NPError NewResult() const { return newResult_; }
    NPError SetWindow(HWND hWnd);
    // NPP_Destroy, with `save` as the browser's slot for saved data when given.
    NPError Destroy(NPSavedData** save = nullptr);
    bool Destroyed() const { return bDestroyed_; }
    // NPP_GetValue(NPPVpluginScriptableNPObject); the page keeps (and later releases) it.
    NPObject* ScriptableObject();
    // The page lets go of one of its references to `object` now instead of at the end.
    void ReleasePageHold(NPObject* object);

  private:
    PluginModule& module_;
    NPP_t npp_;
    NPWindow window_;
    NPError newResult_;
    bool bDestroyed_ = false;
    std::vector<NPObject*> pageHeld_;
};

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& wide);
// The full path of a file beside the running executable.
std::wstring BesideExecutable(const std::wstring& name);

} // namespace nphost

#endif
