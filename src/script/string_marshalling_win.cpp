// UTF-8 conversions through the system's code page 65001.
#include <windows.h>

#include "npruntime/browser_services.h"
#include "script/script_arguments.h"
#include "script/string_marshalling.h"

bool WideStringToVariant(WideString wstrText, NPVariant* result) {
    wstrText = ReplaceLoneSurrogates(wstrText);
    const int nBytes = WideCharToMultiByte(CP_UTF8, 0, wstrText.c_str(),
                                           static_cast<int>(wstrText.size()), NULL, 0, NULL, NULL);
    if (nBytes <= 0) {
        return true;
    }
    char* szUtf8 = static_cast<char*>(NPN_MemAlloc(static_cast<uint32_t>(nBytes)));
    if (!szUtf8) {
        return false;
    }
    const int nWritten =
        WideCharToMultiByte(CP_UTF8, 0, wstrText.c_str(), static_cast<int>(wstrText.size()), szUtf8,
                            nBytes, NULL, NULL);
    result->type = NPVariantType_String;
    result->value.stringValue.UTF8Characters = szUtf8;
    result->value.stringValue.UTF8Length = static_cast<uint32_t>(nWritten > 0 ? nWritten : 0);
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
