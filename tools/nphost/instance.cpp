// Plug-in instances on a page: NPP_New and NPP_Destroy, the window, and the page's hold on the
// scriptable object.
#include "nphost/browser.h"

#include <string.h>

namespace nphost {

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
