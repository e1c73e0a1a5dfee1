// A stand-in for the icon cache until its own code lands: just enough for the picker to run end
// to end.
#include <windows.h>
#include <shlwapi.h>

#include "common/unique_resource.h"
#include "icons/bitmap_file.h"

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
