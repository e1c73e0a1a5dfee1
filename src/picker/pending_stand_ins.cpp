// Stand-ins for the icon cache and for application identity until their own code lands: just
// enough of each for the picker to run end to end.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <vector>

#include "catalogue/app_identity.h"
#include "catalogue/result_text.h"
#include "common/unique_resource.h"
#include "icons/bitmap_file.h"

void AppendEntryText(WideString& wstrBlock, const WideString& wstrPath,
                     const WideString& wstrName) {
    wstrBlock += wstrPath;
    wstrBlock += WIDE('*');
    wstrBlock += wstrName;
    wstrBlock += WIDE('#');
}

bool ResolveShortcutTarget(WideString wstrPath, WideString& wstrTarget) {
    if (!PathFileExistsW(wstrPath.c_str()) || wstrPath.find(WIDE(".lnk")) == WideString::npos) {
        return false;
    }
    CoInitialize(NULL);
    ComPtr<IShellLinkW> psl;
    ComPtr<IPersistFile> ppf;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                psl.put_void())) ||
        FAILED(psl->QueryInterface(IID_IPersistFile, ppf.put_void())) ||
        FAILED(ppf->Load(wstrPath.c_str(), STGM_READ))) {
        return false;
    }
    WideChar wszAppExePath[kPathCapacity] = {0};
    WIN32_FIND_DATAW wData;
    ZeroMemory(&wData, sizeof(wData));
    if (psl->GetPath(wszAppExePath, kPathCapacity, &wData, 0) != S_OK || !wszAppExePath[0]) {
        return false;
    }
    wstrTarget += TextBeforeZero(wszAppExePath, kPathCapacity);
    return true;
}

bool GetProductName(WideString wstrPath, WideString& wstrProductName) {
    if (!PathFileExistsW(wstrPath.c_str())) {
        return false;
    }
    const DWORD dwSize = GetFileVersionInfoSizeW(wstrPath.c_str(), NULL);
    if (dwSize == 0) {
        return false;
    }
    std::vector<char> vecData(dwSize * 2 + 2);
    if (!GetFileVersionInfoW(wstrPath.c_str(), 0, dwSize, &vecData[0])) {
        return false;
    }
    WORD* pTransTable = NULL;
    UINT nBytes = 0;
    if (!VerQueryValueW(&vecData[0], L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&pTransTable), &nBytes) ||
        nBytes < 2 * sizeof(WORD)) {
        return false;
    }
    WideChar szSubBlock[kPathCapacity] = {0};
    wsprintfW(szSubBlock, L"\\StringFileInfo\\%04x%04x\\ProductName", pTransTable[0],
              pTransTable[1]);
    WideChar* pProductName = NULL;
    if (VerQueryValueW(&vecData[0], szSubBlock, reinterpret_cast<void**>(&pProductName), &nBytes) &&
        pProductName) {
        wstrProductName += pProductName;
    }
    return !wstrProductName.empty();
}

// Writes a small marker file named like the real bitmap, for any existing file.
bool SaveAppIcon(const WideString& wstrAppPath, WideString wstrImagesFolder) {
    if (wstrAppPath.empty() || !PathFileExistsW(wstrAppPath.c_str())) {
        return false;
    }
    const size_t nSlash = wstrAppPath.rfind(WIDE('\\'));
    WideString wstrAppName =
        nSlash == WideString::npos ? wstrAppPath : wstrAppPath.substr(nSlash + 1);
    const size_t nDot = wstrAppName.rfind(WIDE('.'));
    if (nDot != WideString::npos) {
        wstrAppName.erase(nDot);
    }
    CreateDirectoryW(wstrImagesFolder.c_str(), NULL);
    const WideString wstrFile = wstrImagesFolder + WIDE("\\") + wstrAppName + WIDE(".bmp");
    UniqueFile hFile(CreateFileW(wstrFile.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, NULL));
    if (!hFile) {
        return false;
    }
    DWORD dwWritten = 0;
    return WriteFile(hFile.get(), "BM", 2, &dwWritten, NULL) != FALSE;
}
