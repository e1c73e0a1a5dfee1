// The 32-bit module as a file: what Windows XP's loader and the browser's scan read from it.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "pe_image.h"

namespace {

std::string g_modulePath;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return text;
}

class ModuleImage : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        std::ifstream in(g_modulePath, std::ios::binary);
        ASSERT_TRUE(in) << "cannot read " << g_modulePath;
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
        image_ = ReadPeImage(bytes);
    }
    void SetUp() override { ASSERT_TRUE(image_.bValid) << image_.error; }

    static const PeResource* Resource(uint32_t type, uint32_t id) {
        for (const PeResource& resource : image_.resources) {
            if (resource.type == type && resource.id == id) {
                return &resource;
            }
        }
        return nullptr;
    }
    static PeImage image_;
};

PeImage ModuleImage::image_;

TEST_F(ModuleImage, IsA32BitDllThatWindowsXpLoads) {
    EXPECT_EQ(0x14C, image_.machine) << "machine i386";
    EXPECT_FALSE(image_.bPe32Plus);
    EXPECT_NE(0, image_.characteristics & 0x2000) << "IMAGE_FILE_DLL";
    EXPECT_LE(image_.majorOsVersion * 100 + image_.minorOsVersion, 501)
        << "OS version " << image_.majorOsVersion << "." << image_.minorOsVersion;
    EXPECT_LE(image_.majorSubsystemVersion * 100 + image_.minorSubsystemVersion, 501)
        << "subsystem version " << image_.majorSubsystemVersion << "."
        << image_.minorSubsystemVersion;
}

TEST_F(ModuleImage, ExportsExactlyTheThreeEntryPointsByUndecoratedName) {
    std::vector<std::pair<std::string, uint32_t>> got;
    for (const PeExport& entry : image_.exports) {
        got.push_back(std::make_pair(entry.name, entry.ordinal));
    }
    std::sort(got.begin(), got.end(),
              [](const std::pair<std::string, uint32_t>& a,
                 const std::pair<std::string, uint32_t>& b) { return a.second < b.second; });
    const std::vector<std::pair<std::string, uint32_t>> expected = {
        {"NP_GetEntryPoints", 1}, {"NP_Initialize", 2}, {"NP_Shutdown", 3}};
    EXPECT_EQ(expected, got);
}

// Every import of the module, each known to exist on Windows XP: a new one is a decision,
// taken by adding it here.
TEST_F(ModuleImage, ImportsExactlyTheFunctionsOnItsList) {
    const std::map<std::string, std::set<std::string>> allowed = {
        {"advapi32.dll", {"RegCloseKey", "RegEnumValueW", "RegOpenKeyExW", "RegQueryValueExW"}},
        {"kernel32.dll",
         {"CloseHandle",
          "CreateDirectoryW",
          "CreateFileW",
          "CreateSemaphoreW",
          "DeleteCriticalSection",
          "DeleteFileW",
          "EnterCriticalSection",
          "FreeLibrary",
          "FreeLibraryAndExitThread",
          "GetCurrentProcess",
          "GetCurrentProcessId", // names a bitmap's new file before it replaces the old one
          "GetCurrentThreadId",
          "GetFileAttributesW",
          "GetFileInformationByHandle", // a bitmap's links, a held folder's attributes
          "GetLastError",
          "GetModuleFileNameW",
          "GetModuleHandleA",
          "GetModuleHandleExW",
          "GetModuleHandleW",
          "GetProcAddress",
          "GetVersionExW",
          "InitializeCriticalSection",
          "IsDBCSLeadByteEx",
          "LeaveCriticalSection",
          "LoadLibraryA",
          "LoadLibraryW",
          "MoveFileExW", // the new bitmap file replaces the old one
          "MultiByteToWideChar",
          "ReleaseSemaphore",
          "SetLastError",
          "Sleep",
          "TlsAlloc",
          "TlsFree",
          "TlsGetValue",
          "TlsSetValue",
          "VirtualProtect",
          "VirtualQuery",
          "WaitForSingleObject",
          "WideCharToMultiByte",
          "WriteFile"}},
        {"gdi32.dll",
         {"BitBlt", "CreateCompatibleDC", "CreateDIBSection", "DeleteDC", "DeleteObject",
          "ExtTextOutW", "GdiFlush", "GetBitmapBits", "GetObjectW", "SelectObject", "SetBkColor"}},
        {"msvcrt.dll",
         {"__mb_cur_max", "_amsg_exit", "_beginthreadex", "_close",  "_errno",   "_initterm",
          "_iob",         "_lock",      "_read",          "_unlock", "abort",    "atoi",
          "calloc",       "fputc",      "fputs",          "free",    "fwrite",   "localeconv",
          "malloc",       "memchr",     "memcmp",         "memcpy",  "memmove",  "memset",
          "realloc",      "setlocale",  "strchr",         "strcmp",  "strerror", "strlen",
          "strncmp",      "vfprintf",   "wcslen"}},
        {"comdlg32.dll", {"GetOpenFileNameW"}},
        {"ole32.dll", {"CoCreateInstance", "CoInitialize", "CoUninitialize"}},
        {"shell32.dll", {"ExtractIconExW", "SHGetSpecialFolderPathW", "ShellExecuteExW"}},
        {"shlwapi.dll", {"PathFileExistsW", "PathIsDirectoryW", "wnsprintfW"}},
        {"version.dll", {"GetFileVersionInfoSizeW", "GetFileVersionInfoW", "VerQueryValueW"}},
        {"user32.dll",
         {"CallNextHookEx", "CallWindowProcW",   "DefWindowProcW",     "DestroyIcon",
          "EnableWindow",   "FindWindowW",       "GetActiveWindow",    "GetDesktopWindow",
          "GetIconInfo",    "GetMonitorInfoW",   "GetPropW",           "GetWindow",
          "GetWindowDC",    "GetWindowLongW",    "GetWindowRect",      "GetWindowThreadProcessId",
          "MessageBoxW",    "MonitorFromWindow", "PostMessageW",       "RegisterWindowMessageW",
          "ReleaseDC",      "RemovePropW",       "SetPropW",           "SetWindowLongW",
          "SetWindowPos",   "SetWindowsHookExW", "UnhookWindowsHookEx"}},
    };
    ASSERT_FALSE(image_.imports.empty());
    for (const PeImport& import : image_.imports) {
        const auto it = allowed.find(Lower(import.dll));
        if (it == allowed.end()) {
            ADD_FAILURE() << "imports " << import.dll << ", which is not on the list";
            continue;
        }
        for (const std::string& function : import.functions) {
            EXPECT_EQ(1u, it->second.count(function))
                << import.dll << "!" << function
                << " is not on the list of the module's imports: add it once it is known to "
                   "exist on Windows XP";
        }
    }
}

TEST_F(ModuleImage, CarriesTheVersionResourceAndAManifestWithoutDependencies) {
    const PeResource* version = Resource(16, 1);
    ASSERT_NE(nullptr, version) << "version resource";
    const FixedFileInfo fixed = ReadFixedFileInfo(version->data);
    ASSERT_TRUE(fixed.bFound);
    EXPECT_EQ(0x00010000u, fixed.fileVersionMS);
    EXPECT_EQ(0x00000001u, fixed.fileVersionLS);
    EXPECT_EQ(0x00010000u, fixed.productVersionMS);
    EXPECT_EQ(0x00000001u, fixed.productVersionLS);
    EXPECT_EQ(0x3Fu, fixed.fileFlagsMask);
    EXPECT_EQ(0u, fixed.fileFlags);
    EXPECT_EQ(0x40004u, fixed.fileOS);
    EXPECT_EQ(2u, fixed.fileType);
    EXPECT_EQ(0u, fixed.fileSubtype);

    const PeResource* manifest = Resource(24, 2);
    ASSERT_NE(nullptr, manifest) << "isolation manifest (type 24, id 2)";
    const std::string text(manifest->data.begin(), manifest->data.end());
    EXPECT_NE(std::string::npos, text.find("<assembly"));
    EXPECT_EQ(std::string::npos, text.find("dependentAssembly")) << text;
    EXPECT_EQ(nullptr, Resource(24, 1)) << "a second manifest";

    std::set<uint32_t> types;
    for (const PeResource& resource : image_.resources) {
        types.insert(resource.type);
    }
    EXPECT_EQ((std::set<uint32_t>{16, 24}), types) << "only the version and the manifest";
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        fprintf(stderr, "usage: module_image_tests MODULE\n");
        return 2;
    }
    g_modulePath = argv[1];
    return RUN_ALL_TESTS();
}
