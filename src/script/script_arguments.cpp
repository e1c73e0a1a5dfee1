// Argument checks and the launch failure message.
#include "script/script_arguments.h"

namespace {

// "没找到指定的程序": the program was not found.
const WideChar kLaunchFailurePrefix[] = WIDE("\u6CA1\u627E\u5230\u6307\u5B9A\u7684\u7A0B\u5E8F");

} // namespace

const NPString* StringArgument(const NPVariant* args, uint32_t argCount) {
    if (argCount < 1 || !args || args[0].type != NPVariantType_String) {
        return NULL;
    }
    return &args[0].value.stringValue;
}

NPObject* CallbackArgument(const NPVariant* args, uint32_t argCount) {
    if (argCount != 1 || !args || args[0].type != NPVariantType_Object) {
        return NULL;
    }
    return args[0].value.objectValue;
}

bool FitsPathBuffer(const WideString& wstrText) {
    return wstrText.size() < kPathCapacity;
}

WideString FormatLaunchFailureMessage(const WideString& wstrText) {
    return CutToLength(WideString(kLaunchFailurePrefix) + wstrText, kPathCapacity - 1);
}
