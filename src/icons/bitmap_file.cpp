// Bitmap files of application icons: pixels prepared, named for the application, written whole
// to a new file that then takes the old one's place.
#include "icons/bitmap_file.h"

#include <shlwapi.h>
#include <string.h>

#include <atomic>
#include <vector>

#include "common/path_text.h"
#include "common/unique_resource.h"
#include "icons/bitmap_layout.h"
#include "icons/bitmap_pixels.h"
#include "icons/icon_bitmap.h"
#include "icons/icon_lookup.h"
#include "icons/icon_paths.h"
#include "icons/images_folder.h"

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

// New files tried before a store gives up: a name may be taken by one left behind.
const int kTemporaryTries = 8;

// Numbers the new files of this process (the picker stores icons on threads of its own).
std::atomic<uint32_t> g_nTemporarySerial(0);

// Whether the file at `wstrPath` may be replaced: there is none, or it is a plain file with one
// link. Looked at without following a reparse point. Windows never replaces a read-only file;
// neither does this, whoever runs it (Wine lets a superuser through).
bool MayReplace(const WideString& wstrPath) {
    const DWORD dwPathAttributes = ::GetFileAttributesW(wstrPath.c_str());
    if (dwPathAttributes == INVALID_FILE_ATTRIBUTES) {
        return ::GetLastError() == ERROR_FILE_NOT_FOUND;
    }
    // Opened for its attributes only, which another program's hold does not prevent.
    const UniqueFile file(
        ::CreateFileW(wstrPath.c_str(), FILE_READ_ATTRIBUTES,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL, OPEN_EXISTING,
                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, NULL));
    BY_HANDLE_FILE_INFORMATION info;
    ZeroMemory(&info, sizeof(info));
    return file && ::GetFileInformationByHandle(file.get(), &info) &&
           IsReplaceableBitmap(dwPathAttributes | info.dwFileAttributes, info.nNumberOfLinks);
}

// A new file in `wstrFolder` that nobody else may open while it is written; its path in
// `pwstrPath`. Never one that was there before, so never a link planted in advance.
UniqueFile CreateNewFileIn(const WideString& wstrFolder, WideString* pwstrPath) {
    for (int nTry = 0; nTry < kTemporaryTries; ++nTry) {
        const WideString wstrPath =
            wstrFolder + WIDE("\\") +
            TemporaryFileName(::GetCurrentProcessId(), ++g_nTemporarySerial);
        if (!FitsPathBuffer(wstrPath)) {
            break;
        }
        UniqueFile file(::CreateFileW(wstrPath.c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, NULL));
        if (file) {
            *pwstrPath = wstrPath;
            return file;
        }
        if (::GetLastError() != ERROR_FILE_EXISTS) {
            break;
        }
    }
    return UniqueFile();
}

// Whether the open file has this one name (nobody linked another to it meanwhile).
bool HasOneLink(HANDLE hFile) {
    BY_HANDLE_FILE_INFORMATION info;
    ZeroMemory(&info, sizeof(info));
    return ::GetFileInformationByHandle(hFile, &info) && info.nNumberOfLinks == 1;
}

// Appends to a buffer in memory.
class MemorySink : public BitmapPartSink {
  public:
    explicit MemorySink(std::vector<unsigned char>& vecBytes) : vecBytes_(vecBytes) {}
    bool Write(const void* pBytes, uint32_t nBytes, uint32_t* pnWritten) override {
        const unsigned char* pFirst = static_cast<const unsigned char*>(pBytes);
        vecBytes_.insert(vecBytes_.end(), pFirst, pFirst + nBytes);
        *pnWritten = nBytes;
        return true;
    }

  private:
    std::vector<unsigned char>& vecBytes_;
};

// The icon of `wstrAppPath` at the stored size: its pixels bottom row first, as a file holds
// them, and their layout in `bm`.
bool RenderIconPixels(const WideString& wstrAppPath, std::vector<BYTE>& vecBottomUp, BITMAP& bm) {
    UniqueIcon icon(ExtractAppIcon(wstrAppPath));
    if (!icon) {
        return false;
    }
    const UniqueBitmap bitmap(IconToBitmap(icon.get(), kStoredIconSide, kStoredIconSide));
    icon.reset();
    if (!bitmap) {
        return false;
    }
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
    vecBottomUp.assign(nBytes, 0);
    ReverseRows(vecTopDown.data(), vecBottomUp.data(),
                static_cast<size_t>(bm.bmWidth) * kBytesPerPixel, static_cast<size_t>(bm.bmHeight));
    return true;
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
    const WideString wstrFolder = FolderOfFile(wstrFilePath);
    // Held until the new file has taken its place, so that it stays the folder checked here.
    const HeldImagesFolder folder(wstrFolder);
    if (!folder.Writable() || !MayReplace(wstrFilePath)) {
        return false;
    }
    WideString wstrNewFile;
    bool bWritten;
    {
        UniqueFile file(CreateNewFileIn(wstrFolder, &wstrNewFile));
        if (!file) {
            return false;
        }
        FileSink sink(file.get(), nRoom);
        bWritten = HasOneLink(file.get()) && WriteBitmapParts(headers, pPixels, nPixelBytes, sink);
    }
    // Only a whole file replaces the old one, which therefore stays when writing fails; the
    // replace fails too while another program has the old file open.
    if (bWritten && folder.Writable() &&
        ::MoveFileExW(wstrNewFile.c_str(), wstrFilePath.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        return true;
    }
    ::DeleteFileW(wstrNewFile.c_str());
    return false;
}

bool SaveAppIcon(const WideString& wstrAppPath, WideString wstrImagesFolder) {
    // A name that would leave the folder or open a device is refused before anything is read.
    WideString wstrFilePath;
    if (!BitmapFilePath(wstrImagesFolder, AppIconName(wstrAppPath), &wstrFilePath)) {
        return false;
    }
    std::vector<BYTE> vecBottomUp;
    BITMAP bm;
    if (!RenderIconPixels(wstrAppPath, vecBottomUp, bm)) {
        return false;
    }
    return WriteBitmapFile(wstrImagesFolder, AppIconName(wstrAppPath), vecBottomUp.data(), bm);
}

bool RenderAppIconFile(const WideString& wstrAppPath, std::vector<unsigned char>& vecFile) {
    std::vector<BYTE> vecBottomUp;
    BITMAP bm;
    BitmapFileHeaders headers;
    if (!RenderIconPixels(wstrAppPath, vecBottomUp, bm) ||
        !FillBitmapFileHeaders(bm.bmWidth, bm.bmHeight, bm.bmBitsPixel, &headers)) {
        return false;
    }
    std::vector<unsigned char> vecBytes;
    MemorySink sink(vecBytes);
    if (!WriteBitmapParts(headers, vecBottomUp.data(), static_cast<uint32_t>(vecBottomUp.size()),
                          sink)) {
        return false;
    }
    vecFile.swap(vecBytes);
    return true;
}
