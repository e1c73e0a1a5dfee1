// Usage histories and their files, made with the registry, the file system and the shell.
#include "nphost/usage_history_seed.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <string.h>

#include "common/unique_resource.h"
#include "nphost/test_time.h"

namespace nphost {

namespace {

const wchar_t kUserAssist[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist\\";

std::wstring CountKey(HistoryFamily family) {
    return std::wstring(kUserAssist) +
           (family == HistoryFamily::Nt6 ? L"{F4E57C4B-2036-45F0-A9AB-443BCFE33D9F}"
                                         : L"{75048700-EF1F-11D0-9888-006097DEACF9}") +
           L"\\Count";
}

void PutDword(std::vector<BYTE>& data, size_t offset, DWORD value) {
    memcpy(&data[offset], &value, sizeof(value));
}

} // namespace

// Windows 7 keeps 72 bytes per value, the run count at 4 and the focus count at 8; Windows XP
// keeps 16, the run count at 4.
std::vector<BYTE> CounterData(HistoryFamily family, const HistoryValue& value) {
    std::vector<BYTE> data(family == HistoryFamily::Nt6 ? 72 : 16, 0);
    PutDword(data, 4, static_cast<DWORD>(value.nRunCount));
    if (family == HistoryFamily::Nt6) {
        PutDword(data, 8, static_cast<DWORD>(value.nFocusCount));
        PutDword(data, 68, 0xFFFFFFFF);
    }
    return data;
}

std::wstring RunPathName(HistoryFamily family, const std::wstring& path) {
    return family == HistoryFamily::Nt6 ? path : L"UEME_RUNPATH:" + path;
}

std::wstring Rot13(const std::wstring& text) {
    std::wstring out = text;
    for (wchar_t& c : out) {
        if (c >= L'A' && c <= L'Z') {
            c = static_cast<wchar_t>(L'A' + (c - L'A' + 13) % 26);
        } else if (c >= L'a' && c <= L'z') {
            c = static_cast<wchar_t>(L'a' + (c - L'a' + 13) % 26);
        }
    }
    return out;
}

void ClearUsageHistory(HistoryFamily family) {
    RegDeleteTreeW(HKEY_CURRENT_USER, CountKey(family).c_str());
}

bool SeedRawUsageHistory(HistoryFamily family, const std::vector<RawHistoryValue>& values) {
    ClearUsageHistory(family);
    UniqueRegKey hKey;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, CountKey(family).c_str(), 0, NULL, 0, KEY_WRITE, NULL,
                        hKey.put(), NULL) != ERROR_SUCCESS) {
        return false;
    }
    for (const RawHistoryValue& value : values) {
        if (RegSetValueExW(hKey.get(), value.name.c_str(), 0, REG_BINARY,
                           value.data.empty() ? NULL : value.data.data(),
                           static_cast<DWORD>(value.data.size())) != ERROR_SUCCESS) {
            return false;
        }
    }
    return true;
}

bool SeedUsageHistory(HistoryFamily family, const std::vector<HistoryValue>& values) {
    std::vector<RawHistoryValue> raw;
    for (const HistoryValue& value : values) {
        raw.push_back({Rot13(value.name), CounterData(family, value)});
    }
    return SeedRawUsageHistory(family, raw);
}

void MakeFolders(const std::wstring& folder) {
    const size_t cut = folder.find_last_of(L'\\');
    if (cut != std::wstring::npos && cut > 2) {
        MakeFolders(folder.substr(0, cut));
    }
    CreateDirectoryW(folder.c_str(), NULL);
}

bool CopyProgram(const std::wstring& source, const std::wstring& target) {
    MakeFolders(target.substr(0, target.find_last_of(L'\\')));
    return CopyFileW(source.c_str(), target.c_str(), FALSE) != FALSE;
}

bool MakeShortcut(const std::wstring& linkPath, const std::wstring& targetPath) {
    CoInitialize(NULL);
    MakeFolders(linkPath.substr(0, linkPath.find_last_of(L'\\')));
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.put_void()))) {
        return false;
    }
    link->SetPath(targetPath.c_str());
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.put_void()))) {
        return false;
    }
    return SUCCEEDED(file->Save(linkPath.c_str(), TRUE));
}

namespace {

bool RemoveTreeOnce(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    UniqueFindHandle hFind(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (hFind) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring path = folder + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL); // read-only ones too
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTreeOnce(path);
            } else {
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(hFind.get(), &found));
    }
    RemoveDirectoryW(folder.c_str());
    return GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
}

} // namespace

bool RemoveTree(const std::wstring& folder) {
    // A program that a test started from the folder may still be ending, its file in use.
    const DWORD dwStart = GetTickCount();
    while (!RemoveTreeOnce(folder)) {
        if (GetTickCount() - dwStart >= PatientWait(5000)) {
            return false;
        }
        Sleep(50);
    }
    return true;
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    UniqueFindHandle hFind(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!hFind) {
        return names;
    }
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            names.push_back(found.cFileName);
        }
    } while (FindNextFileW(hFind.get(), &found));
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace nphost
