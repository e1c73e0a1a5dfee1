// NPAPI declarations for Windows: scripting types, plug-in and browser function tables.
#ifndef NPDESKLAUNCH_NPAPI_NPAPI_H
#define NPDESKLAUNCH_NPAPI_NPAPI_H

#include <stddef.h>
#include <stdint.h>
#ifndef __cplusplus
#include <stdbool.h>
#endif

#ifdef _WIN32
#define NP_ENTRY __stdcall
#define NP_TABLE __cdecl
#else
#define NP_ENTRY
#define NP_TABLE
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef unsigned char NPBool;
typedef int16_t NPError;
typedef int16_t NPReason;
typedef char* NPMIMEType;

#define NP_VERSION_MAJOR 0
#define NP_VERSION_MINOR 27

#define NP_EMBED 1
#define NP_FULL 2

#define NPERR_NO_ERROR 0
#define NPERR_GENERIC_ERROR 1
#define NPERR_INVALID_INSTANCE_ERROR 2
#define NPERR_INVALID_FUNCTABLE_ERROR 3
#define NPERR_MODULE_LOAD_FAILED_ERROR 4
#define NPERR_OUT_OF_MEMORY_ERROR 5
#define NPERR_INVALID_PLUGIN_ERROR 6
#define NPERR_INVALID_PLUGIN_DIR_ERROR 7
#define NPERR_INCOMPATIBLE_VERSION_ERROR 8
#define NPERR_INVALID_PARAM 9
#define NPERR_INVALID_URL 10
#define NPERR_FILE_NOT_FOUND 11
#define NPERR_NO_DATA 12
#define NPERR_STREAM_NOT_SEEKABLE 13

#define NP_NORMAL 1
#define NP_SEEK 2
#define NP_ASFILE 3
#define NP_ASFILEONLY 4

#define NPRES_DONE 0
#define NPRES_NETWORK_ERR 1
#define NPRES_USER_BREAK 2

typedef struct _NPP {
    void* pdata; // the plug-in's own data
    void* ndata; // the browser's own data
} NPP_t;
typedef NPP_t* NPP;

typedef struct _NPStream {
    void* pdata;
    void* ndata;
    const char* url;
    uint32_t end;
    uint32_t lastmodified;
    void* notifyData;
    const char* headers;
} NPStream;

typedef struct _NPByteRange {
    int32_t offset;
    uint32_t length;
    struct _NPByteRange* next;
} NPByteRange;

typedef struct _NPSavedData {
    int32_t len;
    void* buf;
} NPSavedData;

typedef struct _NPRect {
    uint16_t top;
    uint16_t left;
    uint16_t bottom;
    uint16_t right;
} NPRect;

typedef enum { NPWindowTypeWindow = 1, NPWindowTypeDrawable = 2 } NPWindowType;

typedef struct _NPWindow {
    void* window; // HWND for a windowed plug-in
    int32_t x;
    int32_t y;
    uint32_t width;
    uint32_t height;
    NPRect clipRect;
    NPWindowType type;
} NPWindow;

typedef struct _NPEvent {
    uint16_t event;
    uintptr_t wParam;
    uintptr_t lParam;
} NPEvent;

typedef struct _NPPrint NPPrint;

typedef enum {
    NPPVpluginNameString = 1,
    NPPVpluginDescriptionString = 2,
    NPPVpluginWindowBool = 3,
    NPPVpluginTransparentBool = 4,
    NPPVjavaClass = 5,
    NPPVpluginWindowSize = 6,
    NPPVpluginTimerInterval = 7,
    NPPVpluginScriptableInstance = 10,
    NPPVpluginScriptableIID = 11,
    NPPVjavascriptPushCallerBool = 12,
    NPPVpluginKeepLibraryInMemory = 13,
    NPPVpluginNeedsXEmbed = 14,
    NPPVpluginScriptableNPObject = 15,
    NPPVformValue = 16,
    NPPVpluginUrlRequestsDisplayedBool = 17,
    NPPVpluginWantsAllNetworkStreams = 18,
    NPPVpluginNativeAccessibleAtkPlugId = 19,
    NPPVpluginCancelSrcStream = 20,
    NPPVsupportsAdvancedKeyHandling = 21,
    NPPVpluginUsesDOMForCursorBool = 22,
    NPPVpluginDrawingModel = 1000
} NPPVariable;

typedef enum {
    NPNVxDisplay = 1,
    NPNVxtAppContext = 2,
    NPNVnetscapeWindow = 3,
    NPNVjavascriptEnabledBool = 4,
    NPNVasdEnabledBool = 5,
    NPNVisOfflineBool = 6,
    NPNVserviceManager = 10,
    NPNVDOMElement = 11,
    NPNVDOMWindow = 12,
    NPNVToolkit = 13,
    NPNVSupportsXEmbedBool = 14,
    NPNVWindowNPObject = 15,
    NPNVPluginElementNPObject = 16,
    NPNVSupportsWindowless = 17,
    NPNVprivateModeBool = 18,
    NPNVsupportsAdvancedKeyHandling = 21,
    NPNVdocumentOrigin = 22
} NPNVariable;

typedef enum { NPNURLVCookie = 501, NPNURLVProxy = 502 } NPNURLVariable;

// Scripting types.
typedef void* NPIdentifier;
typedef char NPUTF8;

typedef struct _NPString {
    const NPUTF8* UTF8Characters;
    uint32_t UTF8Length;
} NPString;

typedef struct NPObject NPObject;
typedef struct NPClass NPClass;

typedef enum {
    NPVariantType_Void = 0,
    NPVariantType_Null = 1,
    NPVariantType_Bool = 2,
    NPVariantType_Int32 = 3,
    NPVariantType_Double = 4,
    NPVariantType_String = 5,
    NPVariantType_Object = 6
} NPVariantType;

typedef struct _NPVariant {
    NPVariantType type;
    union {
        bool boolValue;
        int32_t intValue;
        double doubleValue;
        NPString stringValue;
        NPObject* objectValue;
    } value;
} NPVariant;

typedef NPObject*(NP_TABLE* NPAllocateFunctionPtr)(NPP npp, NPClass* aClass);
typedef void(NP_TABLE* NPDeallocateFunctionPtr)(NPObject* npobj);
typedef void(NP_TABLE* NPInvalidateFunctionPtr)(NPObject* npobj);
typedef bool(NP_TABLE* NPHasMethodFunctionPtr)(NPObject* npobj, NPIdentifier name);
typedef bool(NP_TABLE* NPInvokeFunctionPtr)(NPObject* npobj, NPIdentifier name,
                                            const NPVariant* args, uint32_t argCount,
                                            NPVariant* result);
typedef bool(NP_TABLE* NPInvokeDefaultFunctionPtr)(NPObject* npobj, const NPVariant* args,
                                                   uint32_t argCount, NPVariant* result);
typedef bool(NP_TABLE* NPHasPropertyFunctionPtr)(NPObject* npobj, NPIdentifier name);
typedef bool(NP_TABLE* NPGetPropertyFunctionPtr)(NPObject* npobj, NPIdentifier name,
                                                 NPVariant* result);
typedef bool(NP_TABLE* NPSetPropertyFunctionPtr)(NPObject* npobj, NPIdentifier name,
                                                 const NPVariant* value);
typedef bool(NP_TABLE* NPRemovePropertyFunctionPtr)(NPObject* npobj, NPIdentifier name);
typedef bool(NP_TABLE* NPEnumerationFunctionPtr)(NPObject* npobj, NPIdentifier** value,
                                                 uint32_t* count);
typedef bool(NP_TABLE* NPConstructFunctionPtr)(NPObject* npobj, const NPVariant* args,
                                               uint32_t argCount, NPVariant* result);

#define NP_CLASS_STRUCT_VERSION 3
#define NP_CLASS_STRUCT_VERSION_ENUM 2
#define NP_CLASS_STRUCT_VERSION_CTOR 3

struct NPClass {
    uint32_t structVersion;
    NPAllocateFunctionPtr allocate;
    NPDeallocateFunctionPtr deallocate;
    NPInvalidateFunctionPtr invalidate;
    NPHasMethodFunctionPtr hasMethod;
    NPInvokeFunctionPtr invoke;
    NPInvokeDefaultFunctionPtr invokeDefault;
    NPHasPropertyFunctionPtr hasProperty;
    NPGetPropertyFunctionPtr getProperty;
    NPSetPropertyFunctionPtr setProperty;
    NPRemovePropertyFunctionPtr removeProperty;
    NPEnumerationFunctionPtr enumerate;
    NPConstructFunctionPtr construct;
};

struct NPObject {
    NPClass* _class;
    uint32_t referenceCount;
};

// Plug-in callbacks, called by the browser through NPPluginFuncs.
typedef NPError(NP_TABLE* NPP_NewProcPtr)(NPMIMEType pluginType, NPP instance, uint16_t mode,
                                          int16_t argc, char* argn[], char* argv[],
                                          NPSavedData* saved);
typedef NPError(NP_TABLE* NPP_DestroyProcPtr)(NPP instance, NPSavedData** save);
typedef NPError(NP_TABLE* NPP_SetWindowProcPtr)(NPP instance, NPWindow* window);
typedef NPError(NP_TABLE* NPP_NewStreamProcPtr)(NPP instance, NPMIMEType type, NPStream* stream,
                                                NPBool seekable, uint16_t* stype);
typedef NPError(NP_TABLE* NPP_DestroyStreamProcPtr)(NPP instance, NPStream* stream,
                                                    NPReason reason);
typedef int32_t(NP_TABLE* NPP_WriteReadyProcPtr)(NPP instance, NPStream* stream);
typedef int32_t(NP_TABLE* NPP_WriteProcPtr)(NPP instance, NPStream* stream, int32_t offset,
                                            int32_t len, void* buffer);
typedef void(NP_TABLE* NPP_StreamAsFileProcPtr)(NPP instance, NPStream* stream, const char* fname);
typedef void(NP_TABLE* NPP_PrintProcPtr)(NPP instance, NPPrint* platformPrint);
typedef int16_t(NP_TABLE* NPP_HandleEventProcPtr)(NPP instance, void* event);
typedef void(NP_TABLE* NPP_URLNotifyProcPtr)(NPP instance, const char* url, NPReason reason,
                                             void* notifyData);
typedef NPError(NP_TABLE* NPP_GetValueProcPtr)(NPP instance, NPPVariable variable, void* value);
typedef NPError(NP_TABLE* NPP_SetValueProcPtr)(NPP instance, NPNVariable variable, void* value);

typedef struct _NPPluginFuncs {
    uint16_t size;
    uint16_t version;
    NPP_NewProcPtr newp;
    NPP_DestroyProcPtr destroy;
    NPP_SetWindowProcPtr setwindow;
    NPP_NewStreamProcPtr newstream;
    NPP_DestroyStreamProcPtr destroystream;
    NPP_StreamAsFileProcPtr asfile;
    NPP_WriteReadyProcPtr writeready;
    NPP_WriteProcPtr write;
    NPP_PrintProcPtr print;
    NPP_HandleEventProcPtr event;
    NPP_URLNotifyProcPtr urlnotify;
    void* javaClass;
    NPP_GetValueProcPtr getvalue;
    NPP_SetValueProcPtr setvalue;
} NPPluginFuncs;

// Browser services, called by the plug-in through NPNetscapeFuncs.
typedef void(NP_TABLE* NPN_AsyncCallFunction)(void* userData);

typedef NPError(NP_TABLE* NPN_GetURLProcPtr)(NPP instance, const char* url, const char* window);
typedef NPError(NP_TABLE* NPN_PostURLProcPtr)(NPP instance, const char* url, const char* window,
                                              uint32_t len, const char* buf, NPBool file);
typedef NPError(NP_TABLE* NPN_RequestReadProcPtr)(NPStream* stream, NPByteRange* rangeList);
typedef NPError(NP_TABLE* NPN_NewStreamProcPtr)(NPP instance, NPMIMEType type, const char* window,
                                                NPStream** stream);
typedef int32_t(NP_TABLE* NPN_WriteProcPtr)(NPP instance, NPStream* stream, int32_t len,
                                            void* buffer);
typedef NPError(NP_TABLE* NPN_DestroyStreamProcPtr)(NPP instance, NPStream* stream,
                                                    NPReason reason);
typedef void(NP_TABLE* NPN_StatusProcPtr)(NPP instance, const char* message);
typedef const char*(NP_TABLE* NPN_UserAgentProcPtr)(NPP instance);
typedef void*(NP_TABLE* NPN_MemAllocProcPtr)(uint32_t size);
typedef void(NP_TABLE* NPN_MemFreeProcPtr)(void* ptr);
typedef uint32_t(NP_TABLE* NPN_MemFlushProcPtr)(uint32_t size);
typedef void(NP_TABLE* NPN_ReloadPluginsProcPtr)(NPBool reloadPages);
typedef void*(NP_TABLE* NPN_GetJavaEnvProcPtr)(void);
typedef void*(NP_TABLE* NPN_GetJavaPeerProcPtr)(NPP instance);
typedef NPError(NP_TABLE* NPN_GetURLNotifyProcPtr)(NPP instance, const char* url,
                                                   const char* window, void* notifyData);
typedef NPError(NP_TABLE* NPN_PostURLNotifyProcPtr)(NPP instance, const char* url,
                                                    const char* window, uint32_t len,
                                                    const char* buf, NPBool file, void* notifyData);
typedef NPError(NP_TABLE* NPN_GetValueProcPtr)(NPP instance, NPNVariable variable, void* ret);
typedef NPError(NP_TABLE* NPN_SetValueProcPtr)(NPP instance, NPPVariable variable, void* value);
typedef void(NP_TABLE* NPN_InvalidateRectProcPtr)(NPP instance, NPRect* rect);
typedef void(NP_TABLE* NPN_InvalidateRegionProcPtr)(NPP instance, void* region);
typedef void(NP_TABLE* NPN_ForceRedrawProcPtr)(NPP instance);
typedef NPIdentifier(NP_TABLE* NPN_GetStringIdentifierProcPtr)(const NPUTF8* name);
typedef void(NP_TABLE* NPN_GetStringIdentifiersProcPtr)(const NPUTF8** names, int32_t nameCount,
                                                        NPIdentifier* identifiers);
typedef NPIdentifier(NP_TABLE* NPN_GetIntIdentifierProcPtr)(int32_t intid);
typedef bool(NP_TABLE* NPN_IdentifierIsStringProcPtr)(NPIdentifier identifier);
typedef NPUTF8*(NP_TABLE* NPN_UTF8FromIdentifierProcPtr)(NPIdentifier identifier);
typedef int32_t(NP_TABLE* NPN_IntFromIdentifierProcPtr)(NPIdentifier identifier);
typedef NPObject*(NP_TABLE* NPN_CreateObjectProcPtr)(NPP npp, NPClass* aClass);
typedef NPObject*(NP_TABLE* NPN_RetainObjectProcPtr)(NPObject* obj);
typedef void(NP_TABLE* NPN_ReleaseObjectProcPtr)(NPObject* obj);
typedef bool(NP_TABLE* NPN_InvokeProcPtr)(NPP npp, NPObject* obj, NPIdentifier methodName,
                                          const NPVariant* args, uint32_t argCount,
                                          NPVariant* result);
typedef bool(NP_TABLE* NPN_InvokeDefaultProcPtr)(NPP npp, NPObject* obj, const NPVariant* args,
                                                 uint32_t argCount, NPVariant* result);
typedef bool(NP_TABLE* NPN_EvaluateProcPtr)(NPP npp, NPObject* obj, NPString* script,
                                            NPVariant* result);
typedef bool(NP_TABLE* NPN_GetPropertyProcPtr)(NPP npp, NPObject* obj, NPIdentifier propertyName,
                                               NPVariant* result);
typedef bool(NP_TABLE* NPN_SetPropertyProcPtr)(NPP npp, NPObject* obj, NPIdentifier propertyName,
                                               const NPVariant* value);
typedef bool(NP_TABLE* NPN_RemovePropertyProcPtr)(NPP npp, NPObject* obj,
                                                  NPIdentifier propertyName);
typedef bool(NP_TABLE* NPN_HasPropertyProcPtr)(NPP npp, NPObject* obj, NPIdentifier propertyName);
typedef bool(NP_TABLE* NPN_HasMethodProcPtr)(NPP npp, NPObject* obj, NPIdentifier propertyName);
typedef void(NP_TABLE* NPN_ReleaseVariantValueProcPtr)(NPVariant* variant);
typedef void(NP_TABLE* NPN_SetExceptionProcPtr)(NPObject* obj, const NPUTF8* message);
typedef void(NP_TABLE* NPN_PushPopupsEnabledStateProcPtr)(NPP npp, NPBool enabled);
typedef void(NP_TABLE* NPN_PopPopupsEnabledStateProcPtr)(NPP npp);
typedef bool(NP_TABLE* NPN_EnumerateProcPtr)(NPP npp, NPObject* obj, NPIdentifier** identifier,
                                             uint32_t* count);
typedef void(NP_TABLE* NPN_PluginThreadAsyncCallProcPtr)(NPP instance, NPN_AsyncCallFunction func,
                                                         void* userData);
typedef bool(NP_TABLE* NPN_ConstructProcPtr)(NPP npp, NPObject* obj, const NPVariant* args,
                                             uint32_t argCount, NPVariant* result);
typedef NPError(NP_TABLE* NPN_GetValueForURLPtr)(NPP npp, NPNURLVariable variable, const char* url,
                                                 char** value, uint32_t* len);
typedef NPError(NP_TABLE* NPN_SetValueForURLPtr)(NPP npp, NPNURLVariable variable, const char* url,
                                                 const char* value, uint32_t len);
typedef NPError(NP_TABLE* NPN_GetAuthenticationInfoPtr)(NPP npp, const char* protocol,
                                                        const char* host, int32_t port,
                                                        const char* scheme, const char* realm,
                                                        char** username, uint32_t* ulen,
                                                        char** password, uint32_t* plen);

typedef struct _NPNetscapeFuncs {
    uint16_t size;
    uint16_t version;
    NPN_GetURLProcPtr geturl;
    NPN_PostURLProcPtr posturl;
    NPN_RequestReadProcPtr requestread;
    NPN_NewStreamProcPtr newstream;
    NPN_WriteProcPtr write;
    NPN_DestroyStreamProcPtr destroystream;
    NPN_StatusProcPtr status;
    NPN_UserAgentProcPtr uagent;
    NPN_MemAllocProcPtr memalloc;
    NPN_MemFreeProcPtr memfree;
    NPN_MemFlushProcPtr memflush;
    NPN_ReloadPluginsProcPtr reloadplugins;
    NPN_GetJavaEnvProcPtr getJavaEnv;
    NPN_GetJavaPeerProcPtr getJavaPeer;
    NPN_GetURLNotifyProcPtr geturlnotify;
    NPN_PostURLNotifyProcPtr posturlnotify;
    NPN_GetValueProcPtr getvalue;
    NPN_SetValueProcPtr setvalue;
    NPN_InvalidateRectProcPtr invalidaterect;
    NPN_InvalidateRegionProcPtr invalidateregion;
    NPN_ForceRedrawProcPtr forceredraw;
    NPN_GetStringIdentifierProcPtr getstringidentifier;
    NPN_GetStringIdentifiersProcPtr getstringidentifiers;
    NPN_GetIntIdentifierProcPtr getintidentifier;
    NPN_IdentifierIsStringProcPtr identifierisstring;
    NPN_UTF8FromIdentifierProcPtr utf8fromidentifier;
    NPN_IntFromIdentifierProcPtr intfromidentifier;
    NPN_CreateObjectProcPtr createobject;
    NPN_RetainObjectProcPtr retainobject;
    NPN_ReleaseObjectProcPtr releaseobject;
    NPN_InvokeProcPtr invoke;
    NPN_InvokeDefaultProcPtr invokeDefault;
    NPN_EvaluateProcPtr evaluate;
    NPN_GetPropertyProcPtr getproperty;
    NPN_SetPropertyProcPtr setproperty;
    NPN_RemovePropertyProcPtr removeproperty;
    NPN_HasPropertyProcPtr hasproperty;
    NPN_HasMethodProcPtr hasmethod;
    NPN_ReleaseVariantValueProcPtr releasevariantvalue;
    NPN_SetExceptionProcPtr setexception;
    NPN_PushPopupsEnabledStateProcPtr pushpopupsenabledstate;
    NPN_PopPopupsEnabledStateProcPtr poppopupsenabledstate;
    NPN_EnumerateProcPtr enumerate;
    NPN_PluginThreadAsyncCallProcPtr pluginthreadasynccall;
    NPN_ConstructProcPtr construct;
    NPN_GetValueForURLPtr getvalueforurl;
    NPN_SetValueForURLPtr setvalueforurl;
    NPN_GetAuthenticationInfoPtr getauthenticationinfo;
} NPNetscapeFuncs;

// The smallest tables the module accepts: each must reach its last entry that the module uses.
#define NP_PLUGIN_FUNCS_MIN_SIZE (offsetof(NPPluginFuncs, setvalue) + sizeof(NPP_SetValueProcPtr))
#define NP_NETSCAPE_FUNCS_MIN_SIZE                                                                 \
    (offsetof(NPNetscapeFuncs, getauthenticationinfo) + sizeof(NPN_GetAuthenticationInfoPtr))

// Exported entry points of a Windows plug-in.
typedef NPError(NP_ENTRY* NP_GetEntryPointsFunc)(NPPluginFuncs* pFuncs);
typedef NPError(NP_ENTRY* NP_InitializeFunc)(NPNetscapeFuncs* bFuncs);
typedef NPError(NP_ENTRY* NP_ShutdownFunc)(void);

#ifdef __cplusplus
}
#endif

#if defined(__cplusplus) && defined(_WIN32)
// The layout the browser and the module agree on.
#ifdef _WIN64
static_assert(sizeof(NPVariant) == 24 && offsetof(NPVariant, value) == 8, "NPVariant layout");
static_assert(sizeof(NPString) == 16, "NPString layout");
static_assert(sizeof(NPObject) == 16, "NPObject layout");
static_assert(sizeof(NPClass) == 104, "NPClass layout");
static_assert(NP_PLUGIN_FUNCS_MIN_SIZE == 120, "NPPluginFuncs layout");
static_assert(NP_NETSCAPE_FUNCS_MIN_SIZE == 392, "NPNetscapeFuncs layout");
#else
static_assert(sizeof(NPVariant) == 16 && offsetof(NPVariant, value) == 8, "NPVariant layout");
static_assert(sizeof(NPString) == 8, "NPString layout");
static_assert(sizeof(NPObject) == 8, "NPObject layout");
static_assert(sizeof(NPClass) == 52, "NPClass layout");
static_assert(offsetof(NPPluginFuncs, setvalue) == 56 && NP_PLUGIN_FUNCS_MIN_SIZE == 60,
              "NPPluginFuncs layout");
static_assert(offsetof(NPNetscapeFuncs, pluginthreadasynccall) == 176 &&
                  NP_NETSCAPE_FUNCS_MIN_SIZE == 196 && sizeof(NPNetscapeFuncs) == 196,
              "NPNetscapeFuncs layout");
#endif
#endif

#endif
