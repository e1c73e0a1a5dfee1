// A page's UTF-8 argument: where the conversion cuts it into pieces, the argument checks over
// any variant, and the failure message made from hostile text.
#include <string.h>

#include <algorithm>
#include <vector>

#include "common/path_text.h"
#include "fuzz_input.h"
#include "script/script_arguments.h"

namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Strict UTF-8 to UTF-16 (no overlong forms, no surrogates, nothing above U+10FFFF); false for
// text that is not well formed.
bool DecodeUtf8(const unsigned char* bytes, size_t nLength, WideString& text) {
    size_t i = 0;
    while (i < nLength) {
        const unsigned char lead = bytes[i];
        size_t nMore = 0;
        uint32_t code = 0;
        uint32_t nLeast = 0;
        if (lead < 0x80) {
            code = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            nMore = 1, code = lead & 0x1F, nLeast = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            nMore = 2, code = lead & 0x0F, nLeast = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            nMore = 3, code = lead & 0x07, nLeast = 0x10000;
        } else {
            return false;
        }
        if (nMore > nLength - i - 1) {
            return false;
        }
        for (size_t k = 1; k <= nMore; ++k) {
            if (!IsContinuation(bytes[i + k])) {
                return false;
            }
            code = (code << 6) | (bytes[i + k] & 0x3F);
        }
        if (code < nLeast || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        if (code >= 0x10000) {
            text += static_cast<WideChar>(0xD800 + ((code - 0x10000) >> 10));
            text += static_cast<WideChar>(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            text += static_cast<WideChar>(code);
        }
        i += nMore + 1;
    }
    return true;
}

// The cut stays within reach, moves back only over continuation bytes, and never splits a
// sequence of well-formed text once a piece may hold the longest sequence (four bytes):
// converted piece by piece, such text gives the same units.
void CheckPieces(const std::vector<unsigned char>& bytes, size_t nMax) {
    const char* text = reinterpret_cast<const char*>(bytes.data());
    const size_t nLength = bytes.size();
    const size_t nCut = Utf8PieceLength(text, nLength, nMax);
    if (nLength <= nMax) {
        FUZZ_CHECK(nCut == nLength);
        return;
    }
    FUZZ_CHECK(nCut <= nMax);
    FUZZ_CHECK(nCut + 3 >= nMax);
    FUZZ_CHECK(nMax == 0 || nCut >= 1);
    for (size_t i = nCut + 1; i <= nMax; ++i) {
        FUZZ_CHECK(IsContinuation(bytes[i]));
    }
    WideString whole;
    if (nMax < 4 || !DecodeUtf8(bytes.data(), nLength, whole)) {
        return;
    }
    WideString joined;
    for (size_t nOffset = 0; nOffset < nLength;) {
        const size_t nPiece = Utf8PieceLength(text + nOffset, nLength - nOffset, nMax);
        FUZZ_CHECK(nPiece >= 1);
        FUZZ_CHECK(DecodeUtf8(bytes.data() + nOffset, nPiece, joined));
        nOffset += nPiece;
    }
    FUZZ_CHECK(joined == whole);
}

void CheckArguments(FuzzInput& input, const std::vector<unsigned char>& bytes) {
    NPObject object;
    memset(&object, 0, sizeof(object));
    NPVariant args[3];
    memset(args, 0, sizeof(args));
    const uint32_t argCount = static_cast<uint32_t>(input.Below(3));
    for (uint32_t i = 0; i < argCount; ++i) {
        const uint8_t type = input.Byte();
        args[i].type = static_cast<NPVariantType>(type % 7);
        if (args[i].type == NPVariantType_String) {
            args[i].value.stringValue.UTF8Characters =
                reinterpret_cast<const NPUTF8*>(bytes.data());
            args[i].value.stringValue.UTF8Length = static_cast<uint32_t>(bytes.size());
        } else if (args[i].type == NPVariantType_Object) {
            args[i].value.objectValue = &object;
        }
    }
    const NPVariant* pArgs = (input.Byte() & 1) != 0 ? nullptr : args;
    const NPString* pString = StringArgument(pArgs, argCount);
    FUZZ_CHECK(pString == ((pArgs && argCount >= 1 && args[0].type == NPVariantType_String)
                               ? &args[0].value.stringValue
                               : nullptr));
    NPObject* pCallback = CallbackArgument(pArgs, argCount);
    FUZZ_CHECK(
        pCallback ==
        ((pArgs && argCount == 1 && args[0].type == NPVariantType_Object) ? &object : nullptr));
}

void CheckMessage(const WideString& wstrText) {
    const WideString wstrMessage = FormatLaunchFailureMessage(wstrText);
    const WideString wstrFull = FormatLaunchFailureMessage(WideString()) + wstrText;
    FUZZ_CHECK(wstrMessage.size() <= kPathCapacity - 1);
    FUZZ_CHECK(StartsWith(wstrFull, wstrMessage));
    FUZZ_CHECK(wstrMessage.size() + 1 >= std::min(wstrFull.size(), kPathCapacity - 1));
    FUZZ_CHECK(FitsPathBuffer(wstrText) == (wstrText.size() < kPathCapacity));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const size_t nMax = input.Below(64);
    const std::vector<unsigned char> bytes = input.Bytes(4096);
    CheckPieces(bytes, nMax);
    CheckPieces(bytes, 1024);
    CheckArguments(input, bytes);
    WideString wstrText;
    if (DecodeUtf8(bytes.data(), bytes.size(), wstrText)) {
        CheckMessage(wstrText);
    }
    CheckMessage(input.Text(400));
    return 0;
}
