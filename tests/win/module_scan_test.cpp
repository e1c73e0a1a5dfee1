// The browser's plug-in scan: the version resource by which it finds the module and its type.
#include <windows.h>

#include <vector>

#include "module_fixture.h"

namespace {

using nphost::ReadVersionString;

std::vector<std::wstring> ScannedModules() {
    std::vector<std::wstring> paths = {nphost::BesideExecutable(L"npDesklaunch.dll")};
#ifdef NPD_PRODUCT_MODULE
    // The 32-bit module itself, read as a file where this program is not a 32-bit one.
    paths.push_back(L"Z:" + nphost::Widen(NPD_PRODUCT_MODULE));
#endif
    return paths;
}

TEST(ModuleScan, VersionStringsAreTheOnesTheBrowserLooksFor) {
    const struct {
        const char* key;
        const char* value;
    } expected[] = {
        {"MIMEType", "application/corvid-application"},
        {"FileExtents", "rts"},
        {"FileOpenName", "npDesklaunch"},
        {"ProductName", "CorvidBrowser npruntime scriptable Application plugin"},
        {"FileDescription", "CorvidBrowser Example Plugin"},
        {"InternalName", "npruntime"},
        {"OriginalFilename", "npDesklaunch.dll"},
        {"FileVersion", "1, 0, 0, 1"},
        {"ProductVersion", "1, 0, 0, 1"},
        {"Comments", ""},
        {"LegalTrademarks", ""},
        {"PrivateBuild", ""},
        {"SpecialBuild", ""},
    };
    for (const std::wstring& path : ScannedModules()) {
        for (const auto& entry : expected) {
            EXPECT_EQ(entry.value, ReadVersionString(path, entry.key))
                << entry.key << " of " << Show(path);
        }
        EXPECT_FALSE(ReadVersionString(path, "CompanyName").empty()) << Show(path);
        EXPECT_FALSE(ReadVersionString(path, "LegalCopyright").empty()) << Show(path);
    }
}

TEST(ModuleScan, FixedPartAndTranslationMatchTheModule) {
    for (const std::wstring& path : ScannedModules()) {
        DWORD dwHandle = 0;
        const DWORD dwSize = GetFileVersionInfoSizeW(path.c_str(), &dwHandle);
        ASSERT_NE(0u, dwSize) << Show(path);
        std::vector<char> data(dwSize);
        ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, dwSize, &data[0]));

        VS_FIXEDFILEINFO* pFixed = nullptr;
        UINT nBytes = 0;
        ASSERT_TRUE(VerQueryValueW(&data[0], L"\\", reinterpret_cast<void**>(&pFixed), &nBytes));
        EXPECT_EQ(0x00010000u, pFixed->dwFileVersionMS);
        EXPECT_EQ(0x00000001u, pFixed->dwFileVersionLS);
        EXPECT_EQ(0x00010000u, pFixed->dwProductVersionMS);
        EXPECT_EQ(0x00000001u, pFixed->dwProductVersionLS);
        EXPECT_EQ(0x3Fu, pFixed->dwFileFlagsMask);
        EXPECT_EQ(0u, pFixed->dwFileFlags);
        EXPECT_EQ(0x40004u, pFixed->dwFileOS);
        EXPECT_EQ(2u, pFixed->dwFileType);
        EXPECT_EQ(0u, pFixed->dwFileSubtype);

        WORD* pTranslation = nullptr;
        ASSERT_TRUE(VerQueryValueW(&data[0], L"\\VarFileInfo\\Translation",
                                   reinterpret_cast<void**>(&pTranslation), &nBytes));
        ASSERT_EQ(4u, nBytes) << "one translation entry";
        EXPECT_EQ(0x0409, pTranslation[0]);
        EXPECT_EQ(0x04E4, pTranslation[1]);
    }
}

TEST(ModuleScan, TheLoadedModuleCarriesOnlyItsIsolationManifest) {
    const HMODULE hModule = Module().Handle();
    ASSERT_NE(nullptr, hModule);
    EXPECT_NE(nullptr, FindResourceW(hModule, MAKEINTRESOURCEW(2), MAKEINTRESOURCEW(24)));
    EXPECT_EQ(nullptr, FindResourceW(hModule, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)));
}

TEST(ModuleScan, LoadingAsABrowserDoesAnswersBothTableCalls) {
    ASSERT_TRUE(Module().Loaded());
    EXPECT_EQ(NPERR_NO_ERROR, Module().EntryPointsResult());
    EXPECT_EQ(NPERR_NO_ERROR, Module().InitializeResult());
    const nphost::ScanInfo info = nphost::ScanPlugin(nphost::BesideExecutable(L"npDesklaunch.dll"));
    EXPECT_TRUE(info.bFound);
}

} // namespace
