// UTF-8 to the browser by the module's own encoder; UTF-8 from the page through the system's
// code page 65001.
#include <windows.h>

#include <string.h>

#include "npruntime/browser_services.h"
#include "script/script_arguments.h"
#include "script/string_marshalling.h"

bool WideStringToVariant(WideString wstrText, NPVariant* result) {
    const std::string utf8 = Utf8FromWide(wstrText);
    if (utf8.empty()) {
        return true;
    }
    char* szUtf8 = static_cast<char*>(NPN_MemAlloc(static_cast<uint32_t>(utf8.size())));
    if (!szUtf8) {
        return false;
    }
    memcpy(szUtf8, utf8.data(), utf8.size());
    result->type = NPVariantType_String;
    result->value.stringValue.UTF8Characters = szUtf8;
    result->value.stringValue.UTF8Length = static_cast<uint32_t>(utf8.size());
    return true;
}

bool Utf8ArgumentToWide(const NPString& npstr, WideString& wstrText) {
    if (npstr.UTF8Length == 0 || !npstr.UTF8Characters) {
        return false;
    }
    // A piece of this many bytes gives at least a third as many units: one piece is enough
    // unless the system drops bytes it cannot convert.
    const size_t kPieceBytes = 1024;
    WideChar wszPiece[kPieceBytes];
    const char* bytes = npstr.UTF8Characters;
    const size_t nLength = npstr.UTF8Length;
    bool bConverted = false;
    WideString wstrConverted;
    size_t nOffset = 0;
    while (nOffset < nLength && wstrConverted.size() < kArgumentUnitsNeeded) {
        const size_t nPiece = Utf8PieceLength(bytes + nOffset, nLength - nOffset, kPieceBytes);
        const int nUnits =
            MultiByteToWideChar(CP_UTF8, 0, bytes + nOffset, static_cast<int>(nPiece), wszPiece,
                                static_cast<int>(kPieceBytes));
        nOffset += nPiece;
        if (nUnits <= 0) {
            continue;
        }
        bConverted = true;
        const WideString wstrPiece = TextBeforeZero(wszPiece, static_cast<size_t>(nUnits));
        wstrConverted += wstrPiece;
        if (wstrPiece.size() < static_cast<size_t>(nUnits)) {
            break; // the text ends at its first zero unit
        }
    }
    if (!bConverted) {
        return false;
    }
    wstrText.swap(wstrConverted);
    return true;
}
