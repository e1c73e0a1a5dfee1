// The images folder beside this module's own file, and the hold on a folder being written.
#include "icons/images_folder.h"

#include "common/module_handle.h"
#include "icons/icon_paths.h"

bool GetImagesFolder(WideChar (&wszAppFolder)[kPathCapacity]) {
    ZeroMemory(wszAppFolder, sizeof(wszAppFolder));
    WideChar wszModule[kPathCapacity] = {0};
    const DWORD nLength = GetModuleFileNameW(ModuleHandle(), wszModule, kPathCapacity);
    // A length of the whole capacity means the path was cut to fit (XP does not terminate it).
    if (nLength == 0 || nLength >= kPathCapacity) {
        return false;
    }
    const WideString wstrFolder = ImagesFolderBeside(WideString(wszModule, nLength));
    if (wstrFolder.empty()) {
        return false;
    }
    CopyToBuffer(wszAppFolder, kPathCapacity, wstrFolder);
    return true;
}

HeldImagesFolder::HeldImagesFolder(const WideString& wstrFolder)
    // Read access that does not share deletion keeps others from renaming or removing the folder;
    // a reparse point is opened itself, not followed.
    : wstrFolder_(wstrFolder),
      folder_(::CreateFileW(wstrFolder.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            NULL, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, NULL)) {}

bool HeldImagesFolder::Writable() const {
    BY_HANDLE_FILE_INFORMATION info;
    ZeroMemory(&info, sizeof(info));
    if (!folder_ || !::GetFileInformationByHandle(folder_.get(), &info)) {
        return false;
    }
    // Wine opens what a link leads to, whatever the flags; the path's own attributes show it.
    const DWORD dwPathAttributes = ::GetFileAttributesW(wstrFolder_.c_str());
    return dwPathAttributes != INVALID_FILE_ATTRIBUTES &&
           IsWritableImagesFolder(dwPathAttributes | info.dwFileAttributes);
}
