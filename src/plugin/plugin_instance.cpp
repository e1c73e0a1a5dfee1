// The per-instance record: the plug-in window it takes over and its scriptable object.
#include "plugin/plugin_instance.h"

#include "npruntime/browser_services.h"
#include "script/method_names.h"
#include "script/scriptable_object.h"

namespace {

// The window procedure that the most recent Init replaced; one slot for the whole module.
WNDPROC previousWindowProc = NULL;

// The plug-in window's procedure: it only forwards to the default one.
LRESULT CALLBACK PluginWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

} // namespace

PluginInstance::PluginInstance(NPP instance)
    : npp(instance), hwnd(NULL), previousUserData(0), initialized(false), scriptableObject(NULL) {
    LookUpMethodNames();
}

PluginInstance::~PluginInstance() {
    if (scriptableObject) {
        // The page may keep the object: it must not reach this instance any more.
        ForgetInstanceOf(scriptableObject);
        NPN_ReleaseObject(scriptableObject);
    }
}

bool PluginInstance::Init(NPWindow* pNPWindow) {
    if (!pNPWindow) {
        return false;
    }
    hwnd = static_cast<HWND>(pNPWindow->window);
    if (!hwnd) {
        return false;
    }
    previousWindowProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PluginWindowProc)));
    previousUserData = SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    initialized = true;
    return true;
}

void PluginInstance::Shut() {
    // For a record that never got a window the call fails on the null handle and changes nothing.
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousWindowProc));
    // The window outlives the record: its user data must not point to it.
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, previousUserData);
    hwnd = NULL;
    initialized = false;
}

int16_t PluginInstance::HandleEvent(void*) {
    return 0;
}

NPObject* PluginInstance::GetScriptableObject() {
    if (!scriptableObject) {
        scriptableObject = NPN_CreateObject(npp, &ScriptablePluginObjectClass);
    }
    if (scriptableObject) {
        NPN_RetainObject(scriptableObject);
    }
    return scriptableObject;
}
