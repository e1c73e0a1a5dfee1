// The page's origin as the browser tells it, asked only while an origin policy is set.
#include "script/page_admission.h"

#include <vector>

#include "app/admin_policy.h"
#include "app/policy_rules.h"
#include "common/unique_resource.h"
#include "npruntime/browser_services.h"

namespace {

// Longest origin taken from the browser; no origin a policy can allow is longer.
const uint32_t kMaxOriginBytes = 1024;

struct BrowserObjectTraits {
    typedef NPObject* Type;
    static NPObject* Null() { return NULL; }
    static void Close(NPObject* obj) { NPN_ReleaseObject(obj); }
};
typedef UniqueResource<BrowserObjectTraits> UniqueBrowserObject;

struct BrowserTextTraits {
    typedef char* Type;
    static char* Null() { return NULL; }
    static void Close(char* text) { NPN_MemFree(text); }
};
typedef UniqueResource<BrowserTextTraits> UniqueBrowserText;

// A value the browser filled, released when the holder goes.
class BrowserVariant {
  public:
    BrowserVariant() {
        variant_.type = NPVariantType_Void;
        variant_.value.objectValue = NULL;
    }
    ~BrowserVariant() { NPN_ReleaseVariantValue(&variant_); }
    BrowserVariant(const BrowserVariant&) = delete;
    BrowserVariant& operator=(const BrowserVariant&) = delete;

    NPVariant* get() { return &variant_; }

  private:
    NPVariant variant_;
};

// Origins are ASCII (hosts in their ASCII form): any other byte makes the text no origin.
bool AsciiText(const char* bytes, uint32_t nBytes, WideString& wstrText) {
    if (!bytes || nBytes > kMaxOriginBytes) {
        return false;
    }
    wstrText.clear();
    for (uint32_t i = 0; i < nBytes; ++i) {
        const unsigned char byte = static_cast<unsigned char>(bytes[i]);
        if (byte == 0 || byte > 0x7F) {
            return false;
        }
        wstrText += static_cast<WideChar>(byte);
    }
    return true;
}

// NPNVdocumentOrigin: false when the browser does not offer it. A browser that answers has the
// last word, "null" included: the page's scripts cannot change that answer.
bool DocumentOrigin(NPP npp, WideString& wstrOrigin, bool& bAnswered) {
    UniqueBrowserText text;
    bAnswered = NPN_GetValue(npp, NPNVdocumentOrigin, text.put()) == NPERR_NO_ERROR && text;
    if (!bAnswered) {
        return false;
    }
    uint32_t nBytes = 0;
    while (nBytes <= kMaxOriginBytes && text.get()[nBytes] != 0) {
        ++nBytes;
    }
    return AsciiText(text.get(), nBytes, wstrOrigin);
}

// The property `name` of `obj` when it is a string that is ASCII.
bool StringProperty(NPP npp, NPObject* obj, const char* name, WideString& wstrText) {
    const NPIdentifier id = NPN_GetStringIdentifier(name);
    BrowserVariant value;
    if (!id || !NPN_GetProperty(npp, obj, id, value.get()) ||
        value.get()->type != NPVariantType_String) {
        return false;
    }
    const NPString& text = value.get()->value.stringValue;
    return AsciiText(text.UTF8Characters, text.UTF8Length, wstrText);
}

// window.location.origin, or its protocol and host where the location has no origin.
bool LocationOrigin(NPP npp, WideString& wstrOrigin) {
    UniqueBrowserObject window;
    if (NPN_GetValue(npp, NPNVWindowNPObject, window.put()) != NPERR_NO_ERROR || !window) {
        return false;
    }
    const NPIdentifier id = NPN_GetStringIdentifier("location");
    BrowserVariant location;
    if (!id || !NPN_GetProperty(npp, window.get(), id, location.get()) ||
        location.get()->type != NPVariantType_Object || !location.get()->value.objectValue) {
        return false;
    }
    NPObject* pLocation = location.get()->value.objectValue;
    if (StringProperty(npp, pLocation, "origin", wstrOrigin)) {
        return true;
    }
    WideString wstrProtocol;
    WideString wstrHost;
    if (!StringProperty(npp, pLocation, "protocol", wstrProtocol) ||
        !StringProperty(npp, pLocation, "host", wstrHost)) {
        return false;
    }
    wstrOrigin = wstrProtocol + WIDE("//") + wstrHost;
    return true;
}

} // namespace

bool PageMayCall(NPP npp) {
    std::vector<WideString> vecAllowed;
    if (!ReadAllowedOrigins(vecAllowed)) {
        return true;
    }
    // An object whose instance is gone has no page to ask about.
    if (!npp) {
        return false;
    }
    WideString wstrOrigin;
    bool bAnswered = false;
    if (!DocumentOrigin(npp, wstrOrigin, bAnswered) &&
        (bAnswered || !LocationOrigin(npp, wstrOrigin))) {
        return false;
    }
    return IsOriginAllowed(vecAllowed, wstrOrigin);
}
