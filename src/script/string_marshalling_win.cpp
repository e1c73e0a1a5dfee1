// UTF-8 conversions through the system's code page 65001.
#include <windows.h>

#include <limits.h>
#include <vector>

#include "plugin/browser_services.h"
#include "script/string_marshalling.h"

bool WideStringToVariant(WideString wstrText, NPVariant* result) {
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
    if (npstr.UTF8Length == 0 || !npstr.UTF8Characters || npstr.UTF8Length > INT_MAX) {
        return false;
    }
    const int nSource = static_cast<int>(npstr.UTF8Length);
    const int nUnits = MultiByteToWideChar(CP_UTF8, 0, npstr.UTF8Characters, nSource, NULL, 0);
    if (nUnits <= 0) {
        return false;
    }
    std::vector<WideChar> vecUnits(static_cast<size_t>(nUnits), 0);
    const int nConverted =
        MultiByteToWideChar(CP_UTF8, 0, npstr.UTF8Characters, nSource, &vecUnits[0], nUnits);
    wstrText = TextBeforeZero(&vecUnits[0], static_cast<size_t>(nConverted > 0 ? nConverted : 0));
    return true;
}
