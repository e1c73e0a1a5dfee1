// The page a plug-in is on, as browsers tell it: the document's origin (NPNVdocumentOrigin) and
// the window object whose location has the page's origin, protocol and host.
#include "nphost/browser.h"

#include <string.h>

namespace nphost {

namespace {

// A string of the browser's heap, as browsers return property values.
void StringResult(const std::string& text, NPVariant* result) {
    char* copy =
        static_cast<char*>(Browser::Get().Allocator().Alloc(static_cast<uint32_t>(text.size())));
    memcpy(copy, text.data(), text.size());
    result->type = NPVariantType_String;
    result->value.stringValue.UTF8Characters = copy;
    result->value.stringValue.UTF8Length = static_cast<uint32_t>(text.size());
}

// The page's location, as the page's origin gives it: "https:" and "portal.example.com:8443".
bool NP_TABLE LocationGetProperty(NPObject*, NPIdentifier name, NPVariant* result) {
    const Page& page = Browser::Get().CurrentPage();
    const char* property = Browser::Get().IdentifierName(name);
    const size_t nSeparator = page.origin.find("://");
    const std::string scheme = page.origin.substr(0, nSeparator);
    const std::string host =
        nSeparator == std::string::npos ? "" : page.origin.substr(nSeparator + 3);
    if (property && strcmp(property, "origin") == 0 && page.bLocationOrigin) {
        StringResult(page.origin, result);
    } else if (property && strcmp(property, "protocol") == 0) {
        StringResult(scheme + ":", result);
    } else if (property && strcmp(property, "host") == 0) {
        StringResult(host, result);
    } else {
        result->type = NPVariantType_Void; // what a script reads of a property that is not there
    }
    return true;
}

NPClass g_locationClass = {
    NP_CLASS_STRUCT_VERSION_CTOR, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    LocationGetProperty,          nullptr, nullptr, nullptr, nullptr};

// The window: its "location" is a new location object, handed to the caller with the result.
bool NP_TABLE WindowGetProperty(NPObject*, NPIdentifier name, NPVariant* result) {
    const char* property = Browser::Get().IdentifierName(name);
    result->type = NPVariantType_Void;
    if (property && strcmp(property, "location") == 0) {
        result->type = NPVariantType_Object;
        result->value.objectValue = Browser::Get().CreateObject(nullptr, &g_locationClass);
    }
    return true;
}

NPClass g_windowClass = {NP_CLASS_STRUCT_VERSION_CTOR,
                         nullptr,
                         nullptr,
                         nullptr,
                         nullptr,
                         nullptr,
                         nullptr,
                         nullptr,
                         WindowGetProperty,
                         nullptr,
                         nullptr,
                         nullptr,
                         nullptr};

} // namespace

NPError Browser::PageValue(NPNVariable variable, void* value) {
    if (variable == NPNVdocumentOrigin && page_.bDocumentOrigin) {
        char* copy =
            static_cast<char*>(allocator_.Alloc(static_cast<uint32_t>(page_.origin.size() + 1)));
        memcpy(copy, page_.origin.c_str(), page_.origin.size() + 1);
        *static_cast<char**>(value) = copy; // the plug-in frees it with NPN_MemFree
        return NPERR_NO_ERROR;
    }
    if (variable == NPNVWindowNPObject && page_.bWindow) {
        // Browsers hand out the window retained: the plug-in releases it.
        *static_cast<NPObject**>(value) = CreateObject(nullptr, &g_windowClass);
        return NPERR_NO_ERROR;
    }
    return NPERR_GENERIC_ERROR;
}

} // namespace nphost
