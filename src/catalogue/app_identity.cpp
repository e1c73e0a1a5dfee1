// Shortcut targets through the shell link object, product names from version resources.
#include "catalogue/app_identity.h"

#include <windows.h>
#include <shlwapi.h>

#include <vector>

#include "common/path_text.h"
#include "common/shell_link.h"

bool ResolveShortcutTarget(WideString wstrPath, WideString& wstrTarget) {
    if (!PathFileExistsW(wstrPath.c_str())) {
        return false;
    }
    // Only a path that spells ".lnk" in lower case is taken for a shortcut.
    if (!IsShortcutPath(wstrPath)) {
        return false;
    }
    ShellLink psl;
    if (!psl.Load(wstrPath)) {
        return false;
    }
    WCHAR wszAppExePath[MAX_PATH] = {0};
    WIN32_FIND_DATAW wData;
    ZeroMemory(&wData, sizeof(wData));
    // The path as the link stores it: no search for a target that has moved.
    if (psl->GetPath(wszAppExePath, MAX_PATH, &wData, 0) != S_OK || wszAppExePath[0] == 0) {
        return false;
    }
    wstrTarget += TextBeforeZero(wszAppExePath, MAX_PATH);
    return true;
}

bool GetProductName(WideString wstrPath, WideString& wstrProductName) {
    if (!PathFileExistsW(wstrPath.c_str())) {
        return false;
    }
    DWORD dwHandle = 0;
    const DWORD dwSize = GetFileVersionInfoSizeW(wstrPath.c_str(), &dwHandle);
    if (dwSize == 0) {
        return false;
    }
    std::vector<BYTE> vctInfo(static_cast<size_t>(dwSize) * 2 + 2, 0);
    if (!GetFileVersionInfoW(wstrPath.c_str(), 0, dwSize, &vctInfo[0])) {
        return false;
    }
    const BYTE* const pEnd = &vctInfo[0] + vctInfo.size();

    WORD* pTransTable = NULL;
    UINT nTransBytes = 0;
    if (!VerQueryValueW(&vctInfo[0], L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&pTransTable), &nTransBytes) ||
        pTransTable == NULL || nTransBytes < 2 * sizeof(WORD)) {
        return false;
    }
    // Only the first translation counts: its language, then its code page.
    WCHAR szSubBlock[MAX_PATH] = {0};
    wnsprintfW(szSubBlock, MAX_PATH, L"\\StringFileInfo\\%04x%04x\\ProductName", pTransTable[0],
               pTransTable[1]);

    WCHAR* pProductName = NULL;
    UINT nProductLength = 0;
    if (VerQueryValueW(&vctInfo[0], szSubBlock, reinterpret_cast<void**>(&pProductName),
                       &nProductLength) &&
        pProductName != NULL) {
        // Never read past the resource, whatever length or terminator it claims.
        const BYTE* const pText = reinterpret_cast<const BYTE*>(pProductName);
        if (pText >= &vctInfo[0] && pText < pEnd) {
            const size_t nRoom = static_cast<size_t>(pEnd - pText) / sizeof(WCHAR);
            wstrProductName += TextBeforeZero(pProductName, nRoom);
        }
    }
    return !wstrProductName.empty();
}
