// The plug-in scan and load: a module's version resource read as the browser's scan reads it,
// and the module loaded and its table called as the browser does, each call measured.
#include "nphost/browser.h"

#include <stdio.h>
#include <string.h>

#include "nphost/checked_call.h"

namespace nphost {

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

} // namespace

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

} // namespace nphost
