// Known-folder descriptions read from the registry, special folders from the shell.
#include "catalogue/known_folders.h"

#include <windows.h>
#include <shlobj.h>

#include "catalogue/registry_view.h"
#include "common/path_text.h"
#include "common/unique_resource.h"

namespace {

const WideChar SUB_KEY[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FolderDescriptions";
const size_t kSubKeyCapacity = 512;

enum ValueRead { ValueAbsent, ValuePresent, ValueTooLong };

// A string value, read into a path buffer offering its whole size in bytes.
ValueRead ReadStringValue(HKEY hKey, const WideChar* wszName, WideString& wstrValue) {
    WideChar wszValue[kPathCapacity] = {0};
    DWORD dwType = 0;
    DWORD dwSize = sizeof(wszValue);
    const LONG lResult =
        RegQueryValueExW(hKey, wszName, NULL, &dwType, reinterpret_cast<BYTE*>(wszValue), &dwSize);
    if (lResult == ERROR_MORE_DATA) {
        return ValueTooLong;
    }
    if (lResult != ERROR_SUCCESS || (dwType != REG_SZ && dwType != REG_EXPAND_SZ)) {
        return ValueAbsent;
    }
    wstrValue = TextBeforeZero(wszValue, dwSize / sizeof(WideChar));
    if (!FitsPathBuffer(wstrValue)) {
        return ValueTooLong; // a full buffer without its terminator
    }
    return ValuePresent;
}

} // namespace

KnownFolderLookup SystemFolderSource::ReadDescription(const WideString& wstrGuid,
                                                      KnownFolderDescription& kfd) {
    const WideString wstrSubKey = WideString(SUB_KEY) + L'\\' + wstrGuid;
    if (wstrSubKey.size() >= kSubKeyCapacity) {
        return KnownFolderUnusable;
    }
    UniqueRegKey hKey;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, wstrSubKey.c_str(), 0, KEY_READ | ProcessBitnessView(),
                      hKey.put()) != ERROR_SUCCESS) {
        return KnownFolderMissing;
    }
    kfd = KnownFolderDescription();
    const ValueRead parent = ReadStringValue(hKey.get(), L"ParentFolder", kfd.wstrParentFolder);
    const ValueRead relative = ReadStringValue(hKey.get(), L"RelativePath", kfd.wstrRelativePath);
    const ValueRead name = ReadStringValue(hKey.get(), L"Name", kfd.wstrName);
    if (parent == ValueTooLong || relative == ValueTooLong || name == ValueTooLong) {
        return KnownFolderUnusable;
    }
    kfd.bHasParentFolder = parent == ValuePresent;
    kfd.bHasRelativePath = relative == ValuePresent;
    return KnownFolderFound;
}

bool SystemFolderSource::GetSpecialFolder(int nCsidl, WideString& wstrFolder) {
    WideChar szFolder[kPathCapacity] = {0};
    if (!SHGetSpecialFolderPathW(NULL, szFolder, nCsidl, FALSE)) {
        return false;
    }
    wstrFolder = TextBeforeZero(szFolder, kPathCapacity);
    return true;
}
