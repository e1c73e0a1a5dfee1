// Icon lookup with real executables, real shell links and the system's shell32.dll.
#include <gtest/gtest.h>

#include <objbase.h>
#include <process.h>
#include <shellapi.h>

#include "common/unique_resource.h"
#include "icon_test_support.h"
#include "icons/icon_lookup.h"
#include "module_fixture.h"
#include "support/readable_text.h"

namespace {

using namespace icons;

// The large icon that ExtractIconExW itself gives for `file` at `iIcon`, as pixels.
IconImage ExtractedImage(const std::wstring& file, int iIcon) {
    HICON hLarge = NULL;
    ::ExtractIconExW(file.c_str(), iIcon, &hLarge, NULL, 1);
    const UniqueIcon icon(hLarge);
    return icon ? ReadIconImage(icon.get()) : IconImage();
}

// The icon that ExtractAppIcon gives for `path`, as pixels; empty when it gives none.
IconImage AppIconImage(const std::wstring& path) {
    const UniqueIcon icon(ExtractAppIcon(path));
    return icon ? ReadIconImage(icon.get()) : IconImage();
}

bool SameImage(const IconImage& left, const IconImage& right) {
    return left.nWidth == right.nWidth && left.nHeight == right.nHeight &&
           left.color == right.color && left.mask == right.mask;
}

std::string Describe(const IconImage& image) {
    if (image.mask.empty()) {
        return "no icon";
    }
    return std::to_string(image.nWidth) + "x" + std::to_string(image.nHeight) + " icon";
}

TEST(IconLookup, APlainExecutableGivesTheLargeVersionOfItsFirstIcon) {
    const IconImage image = AppIconImage(Carrier(L"alpha"));
    EXPECT_EQ(32, image.nWidth);
    EXPECT_EQ(32, image.nHeight);
    EXPECT_TRUE(SameImage(ExtractedImage(Carrier(L"alpha"), 0), image)) << Describe(image);
}

TEST(IconLookup, ShortcutsFollowTheirIconSettingOrTheirTarget) {
    ScratchFolder links;
    const std::wstring shell32 = Shell32Path();
    const struct {
        const char* what;
        std::wstring iconLocation;
        int iIcon;
        IconImage expected;
    } cases[] = {
        {"icon setting: shell32.dll, index 3", shell32, 3, ExtractedImage(shell32, 3)},
        {"no icon setting: the target's first icon", L"", 0,
         ExtractedImage(Carrier(L"classic"), 0)},
        {"negative index: resource identifier 2", Carrier(L"alpha"), -2,
         ExtractedImage(Carrier(L"alpha"), 0)},
        {"index beyond the file's icons", Carrier(L"alpha"), 5, IconImage()},
        // What a shortcut names is read from a drive only, never from a share or a "\\?\" path.
        {"icon setting not on a drive", L"\\\\?\\" + Carrier(L"alpha"), 0, IconImage()},
    };
    ASSERT_FALSE(SameImage(cases[0].expected, cases[1].expected)) << "the icons must differ";
    int n = 0;
    for (const auto& c : cases) {
        const std::wstring link = links / (L"case" + std::to_wstring(++n) + L".lnk");
        ASSERT_TRUE(CreateShortcut(link, Carrier(L"classic"), c.iconLocation, c.iIcon)) << c.what;
        const IconImage got = AppIconImage(link);
        EXPECT_TRUE(SameImage(c.expected, got))
            << c.what << ": expected " << Describe(c.expected) << ", got " << Describe(got);
    }
}

TEST(IconLookup, TheControlPanelShowsIcon21OfShell32) {
    wchar_t system[MAX_PATH] = {0};
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring control = std::wstring(system) + L"\\control.exe";
    ASSERT_TRUE(Exists(control)) << Show(control);
    const IconImage icon21 = ExtractedImage(Shell32Path(), 21);
    ASSERT_FALSE(icon21.mask.empty());

    ScratchFolder folder;
    ASSERT_TRUE(::CopyFileW(Carrier(L"alpha").c_str(), (folder / L"control.exe").c_str(), FALSE));
    ASSERT_TRUE(CreateShortcut(folder / L"Panel.lnk", control, L"", 0));
    ASSERT_TRUE(CreateShortcut(folder / L"Other.lnk", Carrier(L"classic"), control, 0));
    const std::wstring rule[] = {control, folder / L"control.exe", folder / L"Panel.lnk",
                                 folder / L"Other.lnk"};
    for (const std::wstring& path : rule) {
        const IconImage got = AppIconImage(path);
        EXPECT_TRUE(SameImage(icon21, got)) << Show(path) << ": got " << Describe(got);
    }
}

TEST(IconLookup, TheControlPanelRuleMatchesLowerCaseOnly) {
    ScratchFolder folder;
    ASSERT_TRUE(::CreateDirectoryW((folder / L"upper").c_str(), NULL));
    const std::wstring upper = folder / L"upper\\Control.exe";
    ASSERT_TRUE(::CopyFileW(Carrier(L"alpha").c_str(), upper.c_str(), FALSE));
    EXPECT_TRUE(SameImage(ExtractedImage(Carrier(L"alpha"), 0), AppIconImage(upper)))
        << "Control.exe must give the program's own first icon";
}

TEST(IconLookup, NoIconGivesNull) {
    ScratchFolder folder;
    const std::wstring broken = folder / L"broken.lnk";
    ASSERT_TRUE(WriteBytes(broken, Bytes(100, 'x')));
    const std::wstring cases[] = {Carrier(L"none"), broken, folder / L"missing.exe"};
    for (const std::wstring& path : cases) {
        HICON hIcon = ExtractAppIcon(path);
        EXPECT_TRUE(hIcon == NULL) << Show(path);
        if (hIcon != NULL) {
            ::DestroyIcon(hIcon);
        }
    }
}

struct ComProbe {
    std::wstring path;
    HICON hIcon;
    HRESULT hrMultiThreaded; // what CoInitializeEx for the multithreaded apartment said after
};

unsigned __stdcall LookUpThenProbeCom(void* context) {
    ComProbe* probe = static_cast<ComProbe*>(context);
    probe->hIcon = ExtractAppIcon(probe->path);
    probe->hrMultiThreaded = ::CoInitializeEx(NULL, COINIT_MULTITHREADED);
    if (SUCCEEDED(probe->hrMultiThreaded)) {
        ::CoUninitialize();
    }
    return 0;
}

// Looks `path` up on a thread of its own and tells whether COM was set up there.
ComProbe LookUpOnFreshThread(const std::wstring& path) {
    ComProbe probe = {path, NULL, E_FAIL};
    const UniqueHandle thread(
        reinterpret_cast<HANDLE>(_beginthreadex(NULL, 0, LookUpThenProbeCom, &probe, 0, NULL)));
    if (thread) {
        ::WaitForSingleObject(thread.get(), INFINITE);
    }
    return probe;
}

TEST(IconLookup, APathThatDoesNotExistGivesNullWithoutAnyComCall) {
    ScratchFolder folder;
    const ComProbe missing = LookUpOnFreshThread(folder / L"missing.lnk");
    EXPECT_TRUE(missing.hIcon == NULL);
    EXPECT_EQ(S_OK, missing.hrMultiThreaded)
        << "the thread's apartment was already set up: COM was called";

    // An existing shortcut is read through COM, which is left as it was found: the thread may
    // still choose its apartment.
    ASSERT_TRUE(CreateShortcut(folder / L"real.lnk", Carrier(L"alpha"), L"", 0));
    const ComProbe real = LookUpOnFreshThread(folder / L"real.lnk");
    EXPECT_TRUE(real.hIcon != NULL);
    if (real.hIcon != NULL) {
        ::DestroyIcon(real.hIcon);
    }
    EXPECT_EQ(S_OK, real.hrMultiThreaded) << "the lookup left COM set up on the thread";
}

} // namespace
