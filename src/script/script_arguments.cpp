// Argument checks and the launch failure message.
#include "script/script_arguments.h"

#include "common/shown_text.h"

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

size_t Utf8PieceLength(const char* bytes, size_t nLength, size_t nMax) {
    if (nLength <= nMax) {
        return nLength;
    }
    size_t nCut = nMax;
    // A continuation byte (10xxxxxx) at the cut belongs to the sequence before it.
    for (int nBack = 0; nBack < 3 && nCut > 1; ++nBack) {
        if ((static_cast<unsigned char>(bytes[nCut]) & 0xC0) != 0x80) {
            break;
        }
        --nCut;
    }
    return nCut;
}

WideString FormatLaunchFailureMessage(const WideString& wstrText) {
    // The page's text cannot break lines or turn the message around.
    return CutToLength(WideString(kLaunchFailurePrefix) + WithoutLayoutCharacters(wstrText),
                       kPathCapacity - 1);
}
