// The per-instance record: the plug-in window it takes over and its scriptable object.
#ifndef NPDESKLAUNCH_PLUGIN_PLUGIN_INSTANCE_H
#define NPDESKLAUNCH_PLUGIN_PLUGIN_INSTANCE_H

#include <windows.h>

#include "npapi/npapi.h"

class PluginInstance {
  public:
    explicit PluginInstance(NPP instance);
    ~PluginInstance();

    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;

    [[nodiscard]] bool Init(NPWindow* pNPWindow);
    void Shut();
    bool IsInitialized() const { return initialized; }
    int16_t HandleEvent(void* event);
    // The instance's scriptable object with one more reference, which belongs to the caller.
    NPObject* GetScriptableObject();

  private:
    NPP npp;
    HWND hwnd;
    LONG_PTR previousUserData; // the window's user data before Init put this record's address
    bool initialized;
    NPObject* scriptableObject;
};

#endif
