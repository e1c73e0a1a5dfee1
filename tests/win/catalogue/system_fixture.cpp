// Real files, shortcuts and registry keys for the catalogue's Windows tests.
#include "system_fixture.h"

#include <objbase.h>
#include <shlobj.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "common/unique_resource.h"

namespace catalogue_test {

std::wstring SpecialFolder(int nCsidl) {
    wchar_t path[MAX_PATH] = {0};
    if (!SHGetSpecialFolderPathW(NULL, path, nCsidl, TRUE)) {
        return std::wstring();
    }
    return path;
}

void MakeParentFolders(const std::wstring& path) {
    for (size_t slash = path.find(L'\\', 3); slash != std::wstring::npos;
         slash = path.find(L'\\', slash + 1)) {
        CreateDirectoryW(path.substr(0, slash).c_str(), NULL);
    }
}

ScratchFolder::ScratchFolder(const std::wstring& parent, const std::wstring& name) {
    path_ = parent + L"\\npd-" + name + L"-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(path_.c_str(), NULL);
}

ScratchFolder::~ScratchFolder() {
    // Double-terminated list of one folder for the shell's delete.
    std::wstring from = path_;
    from.push_back(L'\0');
    SHFILEOPSTRUCTW op;
    ZeroMemory(&op, sizeof(op));
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationW(&op);
}

std::wstring ScratchFolder::AddFile(const std::wstring& relative) const {
    const std::wstring path = path_ + L"\\" + relative;
    MakeParentFolders(path);
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, NULL));
    EXPECT_TRUE(static_cast<bool>(file)) << "could not make " << path.size() << "-unit path";
    return path;
}

std::wstring ScratchFolder::AddShortcut(const std::wstring& relative,
                                        const std::wstring& target) const {
    const std::wstring path = path_ + L"\\" + relative;
    MakeParentFolders(path);
    EXPECT_TRUE(SaveShortcut(path, target));
    return path;
}

namespace {

bool SaveLink(const std::wstring& linkPath, const std::wstring* target, LPCITEMIDLIST pidl) {
    CoInitialize(NULL);
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.put_void()))) {
        return false;
    }
    const HRESULT hr = target != nullptr ? link->SetPath(target->c_str()) : link->SetIDList(pidl);
    if (FAILED(hr)) {
        return false;
    }
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.put_void()))) {
        return false;
    }
    return SUCCEEDED(file->Save(linkPath.c_str(), TRUE));
}

} // namespace

bool SaveShortcut(const std::wstring& linkPath, const std::wstring& target) {
    return SaveLink(linkPath, &target, NULL);
}

bool SaveShortcutToItem(const std::wstring& linkPath, int nCsidl) {
    LPITEMIDLIST pidl = NULL;
    if (FAILED(SHGetSpecialFolderLocation(NULL, nCsidl, &pidl))) {
        return false;
    }
    const bool bSaved = SaveLink(linkPath, nullptr, pidl);
    CoTaskMemFree(pidl);
    return bSaved;
}

RegistryKeyWriter::RegistryKeyWriter(HKEY hRoot, const std::wstring& subKey)
    : hRoot_(hRoot), subKey_(subKey) {
    // The outermost key that does not exist yet: everything from there down is this writer's.
    createdFrom_ = subKey.size();
    for (size_t slash = 0; slash != std::wstring::npos; slash = subKey.find(L'\\', slash + 1)) {
        const size_t nEnd = subKey.find(L'\\', slash + 1);
        const std::wstring prefix = subKey.substr(0, nEnd);
        HKEY hExisting = NULL;
        if (RegOpenKeyExW(hRoot, prefix.c_str(), 0, KEY_READ, &hExisting) != ERROR_SUCCESS) {
            createdFrom_ = prefix.size();
            break;
        }
        RegCloseKey(hExisting);
    }
    DWORD dwDisposition = 0;
    const LONG lResult = RegCreateKeyExW(hRoot, subKey.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                                         &hKey_, &dwDisposition);
    EXPECT_EQ(ERROR_SUCCESS, lResult) << "creating a test key";
    bCreated_ = lResult == ERROR_SUCCESS && dwDisposition == REG_CREATED_NEW_KEY;
}

RegistryKeyWriter::~RegistryKeyWriter() {
    if (hKey_ == NULL) {
        return;
    }
    for (const std::wstring& name : names_) {
        RegDeleteValueW(hKey_, name.c_str());
    }
    RegCloseKey(hKey_);
    if (bCreated_) {
        DeleteKey();
    }
}

void RegistryKeyWriter::SetString(const std::wstring& name, const std::wstring& value) {
    EXPECT_EQ(ERROR_SUCCESS,
              RegSetValueExW(hKey_, name.c_str(), 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))));
    names_.push_back(name);
}

void RegistryKeyWriter::SetBinary(const std::wstring& name, const std::vector<BYTE>& data) {
    EXPECT_EQ(ERROR_SUCCESS,
              RegSetValueExW(hKey_, name.c_str(), 0, REG_BINARY, data.empty() ? NULL : &data[0],
                             static_cast<DWORD>(data.size())))
        << "value of " << name.size() << " units";
    names_.push_back(name);
}

void RegistryKeyWriter::DeleteKey() {
    // The key, then each parent that this writer made, innermost first.
    std::wstring key = subKey_;
    RegDeleteKeyW(hRoot_, key.c_str());
    while (bCreated_ && key.size() > createdFrom_) {
        key.erase(key.rfind(L'\\'));
        RegDeleteKeyW(hRoot_, key.c_str());
    }
    bCreated_ = false;
}

namespace {

void PutCounter(std::vector<BYTE>& data, size_t nOffset, uint32_t nValue) {
    for (size_t i = 0; i < 4; ++i) {
        data[nOffset + i] = static_cast<BYTE>(nValue >> (8 * i));
    }
}

} // namespace

std::vector<BYTE> Nt6Data(uint32_t nRun, uint32_t nFocus) {
    std::vector<BYTE> data(72, 0);
    PutCounter(data, 0, 0xFFFFFFFF); // a session number the readers do not read
    PutCounter(data, 4, nRun);
    PutCounter(data, 8, nFocus);
    PutCounter(data, 12, 0x00AA00AA); // focus time, not read either
    return data;
}

std::vector<BYTE> Nt5Data(uint32_t nRun) {
    std::vector<BYTE> data(16, 0);
    PutCounter(data, 0, 3);
    PutCounter(data, 4, nRun);
    PutCounter(data, 8, 0x01D00000); // last run time, not read
    return data;
}

std::wstring Listing(const std::vector<AppEntry>& vecAllApps) {
    std::wstring listing;
    for (const AppEntry& ad : vecAllApps) {
        listing += std::wstring(ad.wszAppName) + L"|" + ad.wszExePath + L"|" +
                   std::to_wstring(ad.nRunCount) + L"\n";
        EXPECT_EQ(std::wstring(ad.wszExePath), std::wstring(ad.wszIconPath));
    }
    return listing;
}

} // namespace catalogue_test
