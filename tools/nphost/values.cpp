// Values the page receives or passes, the argument lists it passes, and its UTF-8 text.
#include "nphost/browser.h"

#include <string.h>

namespace nphost {

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

} // namespace nphost
