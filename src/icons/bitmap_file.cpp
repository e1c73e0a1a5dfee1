// Bitmap files of application icons: pixels prepared, named for the application, written whole.
#include "icons/bitmap_file.h"

#include <shlwapi.h>
#include <string.h>

#include <vector>

#include "common/unique_resource.h"
#include "icons/bitmap_layout.h"
#include "icons/bitmap_pixels.h"
#include "icons/icon_bitmap.h"
#include "icons/icon_lookup.h"
#include "icons/icon_paths.h"

namespace {

// Every stored icon has this size.
const int kStoredIconSide = 32;

// Writes to an open file, at most `nRoom` bytes in all.
class FileSink : public BitmapPartSink {
  public:
    FileSink(HANDLE hFile, uint32_t nRoom) : hFile_(hFile), nRoom_(nRoom) {}
    bool Write(const void* pBytes, uint32_t nBytes, uint32_t* pnWritten) override {
        DWORD dwWritten = 0;
        const DWORD dwAsked = nBytes < nRoom_ ? nBytes : nRoom_;
        const BOOL bWritten = ::WriteFile(hFile_, pBytes, dwAsked, &dwWritten, NULL);
        nRoom_ -= dwWritten;
        *pnWritten = dwWritten;
        return bWritten != FALSE;
    }

  private:
    HANDLE hFile_;
    uint32_t nRoom_;
};

bool IsReadOnlyFile(const WideString& wstrPath) {
    const DWORD dwAttributes = ::GetFileAttributesW(wstrPath.c_str());
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_READONLY) != 0;
}

} // namespace

bool CreateFolderPath(WideString wstrFolder) {
    if (::PathIsDirectoryW(wstrFolder.c_str())) {
        return true;
    }
    const WideString wstrSub = ParentFolder(wstrFolder);
    if (!wstrSub.empty()) {
        // Only the folder itself counts: a drive or a server share above it is no folder that
        // could be made, yet the folder may be made inside it.
        static_cast<void>(CreateFolderPath(wstrSub));
    }
    ::CreateDirectoryW(wstrFolder.c_str(), NULL);
    return ::PathIsDirectoryW(wstrFolder.c_str()) != FALSE;
}

bool WriteBitmapFile(WideString wstrFolder, const WideString& wstrName, const BYTE* pPixels,
                     const BITMAP& bm) {
    BitmapFileHeaders headers;
    if (pPixels == NULL ||
        !FillBitmapFileHeaders(bm.bmWidth, bm.bmHeight, bm.bmBitsPixel, &headers)) {
        return false;
    }
    WideString wstrFilePath;
    if (!BitmapFilePath(wstrFolder, wstrName, &wstrFilePath)) {
        return false;
    }
    if (!CreateFolderPath(wstrFolder)) {
        return false;
    }
    return WriteBitmapFileParts(wstrFilePath, headers, pPixels,
                                PixelBytesOf(bm.bmWidth, bm.bmHeight));
}

bool WriteBitmapFileParts(const WideString& wstrFilePath, const BitmapFileHeaders& headers,
                          const BYTE* pPixels, uint32_t nPixelBytes, uint32_t nRoom) {
    // Windows never replaces a read-only file; neither does this, whoever runs it (Wine lets a
    // superuser through).
    if (IsReadOnlyFile(wstrFilePath)) {
        return false;
    }
    bool bWritten;
    {
        UniqueFile file(::CreateFileW(wstrFilePath.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, NULL));
        if (!file) {
            return false;
        }
        FileSink sink(file.get(), nRoom);
        bWritten = WriteBitmapParts(headers, pPixels, nPixelBytes, sink);
    }
    if (!bWritten) {
        // A page must never find a truncated bitmap under the application's name.
        ::DeleteFileW(wstrFilePath.c_str());
    }
    return bWritten;
}

bool SaveAppIcon(const WideString& wstrAppPath, WideString wstrImagesFolder) {
    // A name that would leave the folder or open a device is refused before anything is read.
    WideString wstrFilePath;
    if (!BitmapFilePath(wstrImagesFolder, AppIconName(wstrAppPath), &wstrFilePath)) {
        return false;
    }
    UniqueIcon icon(ExtractAppIcon(wstrAppPath));
    if (!icon) {
        return false;
    }
    const UniqueBitmap bitmap(IconToBitmap(icon.get(), kStoredIconSide, kStoredIconSide));
    icon.reset();
    if (!bitmap) {
        return false;
    }
    BITMAP bm;
    memset(&bm, 0, sizeof(bm));
    if (::GetObjectW(bitmap.get(), sizeof(bm), &bm) != static_cast<int>(sizeof(bm))) {
        return false;
    }
    const uint32_t nBytes = PixelBytesOf(bm.bmWidth, bm.bmHeight);
    if (nBytes == 0 || bm.bmBitsPixel != 32) {
        return false;
    }
    const size_t nPixels = nBytes / kBytesPerPixel;
    std::vector<BYTE> vecTopDown(nBytes);
    if (::GetBitmapBits(bitmap.get(), static_cast<LONG>(nBytes), vecTopDown.data()) <= 0) {
        return false;
    }
    WhitenTransparentBlack(vecTopDown.data(), nPixels);
    std::vector<BYTE> vecBottomUp(nBytes);
    ReverseRows(vecTopDown.data(), vecBottomUp.data(),
                static_cast<size_t>(bm.bmWidth) * kBytesPerPixel, static_cast<size_t>(bm.bmHeight));
    return WriteBitmapFile(wstrImagesFolder, AppIconName(wstrAppPath), vecBottomUp.data(), bm);
}
