// Bitmap files of application icons: every byte for each kind of icon, names, folders, faults.
#include <gtest/gtest.h>

#include <string.h>

#include "icon_test_support.h"
#include "module_fixture.h"
#include "icons/bitmap_file.h"
#include "nphost/browser.h"
#include "nphost/usage_history_seed.h"
#include "support/readable_text.h"

namespace {

using namespace icons;

const size_t kHeaderBytes = 54;

TEST(StoredIcon, EveryByteOfEachKindOfIcon) {
    const struct {
        const wchar_t* carrier;
        IconKind kind;
    } cases[] = {
        {L"alpha", kAlpha},     {L"classic", kClassic},
        {L"invert", kInvert},   {L"small", kSmall}, // 16x16 only: scaled up
        {L"large", kLarge48},   // 48x48 and 256x256: the 48x48 image, scaled down
        {L"png", kLarge256},    // 256x256 PNG only: scaled down
        {L"mono", kMonochrome}, // no colour bitmap

    };
    ScratchFolder images;
    for (const auto& c : cases) {
        const std::wstring app = Carrier(c.carrier);
        ASSERT_TRUE(SaveAppIcon(app, images.path())) << Show(app);
        const Bytes got =
            ReadBytes(images / (L"icon_carrier_" + std::wstring(c.carrier) + L".bmp"));
        EXPECT_EQ("", FirstDifference(ExpectedBitmapFile(c.kind), got, kHeaderBytes, 32))
            << "icon " << Show(c.carrier);
    }
}

std::wstring CarrierCopy(const ScratchFolder& folder, const std::wstring& carrier,
                         const std::wstring& relativePath) {
    const std::wstring path = folder / relativePath;
    // A folder that cannot be made fails the copy below.
    static_cast<void>(CreateFolderPath(path.substr(0, path.rfind(L'\\'))));
    EXPECT_TRUE(::CopyFileW(Carrier(carrier).c_str(), path.c_str(), FALSE)) << Show(path);
    return path;
}

TEST(StoredIcon, TheFirstRowInTheFileIsTheImagesBottomRow) {
    ScratchFolder images;
    ASSERT_TRUE(SaveAppIcon(Carrier(L"alpha"), images.path()));
    const Bytes file = ReadBytes(images / L"icon_carrier_alpha.bmp");
    ASSERT_EQ(4150u, file.size());
    // The alpha icon's bottom-left pixel is 0x11,0x22,0x33 (alpha 0, mask clear: opaque); its
    // top-left pixel is 0x00,0x40,0xC0, opaque.
    EXPECT_EQ((Bytes{0x11, 0x22, 0x33, 0xFF}), Bytes(file.begin() + 54, file.begin() + 58));
    EXPECT_EQ((Bytes{0x00, 0x40, 0xC0, 0xFF}),
              Bytes(file.begin() + 54 + 31 * 128, file.begin() + 54 + 31 * 128 + 4));
}

// Leaves beside the test program the stored bitmap of the alpha icon and the RGBA bytes, top row
// first, that an image tool must read from it; icon_image_tool compares the two with ImageMagick.
TEST(StoredIcon, WrittenForTheImageTool) {
    const std::wstring output = nphost::BesideExecutable(L"icon_output");
    ::DeleteFileW((output + L"\\icon_carrier_alpha.bmp").c_str());
    ASSERT_TRUE(SaveAppIcon(Carrier(L"alpha"), output));
    Bytes rgba;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const Bgra pixel = ExpectedStoredPixel(kAlpha, x, y);
            rgba.insert(rgba.end(), {pixel.r, pixel.g, pixel.b, pixel.a});
        }
    }
    ASSERT_TRUE(WriteBytes(output + L"\\icon_carrier_alpha.rgba", rgba));
}

TEST(StoredIcon, TheFileIsNamedForTheApplication) {
    ScratchFolder apps;
    ScratchFolder images;
    wchar_t system[MAX_PATH] = {0};
    ::GetSystemDirectoryW(system, MAX_PATH);
    ASSERT_TRUE(CreateShortcut(apps / L"Editor.lnk", Carrier(L"classic"), L"", 0));
    const struct {
        std::wstring path;
        const wchar_t* file;
    } cases[] = {
        {std::wstring(system) + L"\\notepad.exe", L"notepad.bmp"},
        {CarrierCopy(apps, L"alpha", L"my.app.exe"), L"my.app.bmp"},
        {CarrierCopy(apps, L"alpha", L"dir.x\\tool"), L"tool.bmp"},
        {apps / L"Editor.lnk", L"Editor.bmp"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(SaveAppIcon(c.path, images.path())) << Show(c.path);
        EXPECT_TRUE(Exists(images / c.file)) << Show(c.path) << " gave no " << Show(c.file);
    }
    EXPECT_EQ("", FirstDifference(ExpectedBitmapFile(kClassic), ReadBytes(images / L"Editor.bmp"),
                                  kHeaderBytes, 32))
        << "a shortcut stores its own icon";
}

TEST(StoredIcon, TheSameFileNameInTwoFoldersSharesOneFileAndTheLastSaveWins) {
    ScratchFolder apps;
    ScratchFolder images;
    ASSERT_TRUE(SaveAppIcon(CarrierCopy(apps, L"alpha", L"one\\tool.exe"), images.path()));
    ASSERT_TRUE(SaveAppIcon(CarrierCopy(apps, L"classic", L"two\\tool.exe"), images.path()));
    EXPECT_EQ("", FirstDifference(ExpectedBitmapFile(kClassic), ReadBytes(images / L"tool.bmp"),
                                  kHeaderBytes, 32));
}

TEST(StoredIcon, MissingFoldersAndTheirParentsAreCreated) {
    ScratchFolder root;
    const std::wstring plain = root / L"a\\b\\images";
    const std::wstring slashed = root / L"c\\d\\images\\";
    ASSERT_TRUE(SaveAppIcon(Carrier(L"alpha"), plain));
    EXPECT_EQ(4150u, ReadBytes(plain + L"\\icon_carrier_alpha.bmp").size());
    ASSERT_TRUE(SaveAppIcon(Carrier(L"alpha"), slashed)) << "with a trailing backslash";
    EXPECT_EQ(4150u, ReadBytes(slashed + L"icon_carrier_alpha.bmp").size());
    EXPECT_TRUE(CreateFolderPath(root / L"e\\f"));
    EXPECT_TRUE(CreateFolderPath(root / L"e\\f")) << "an existing folder";
    EXPECT_TRUE(Exists(root / L"e\\f"));
}

TEST(StoredIcon, ExistingFilesAreReplacedWhole) {
    ScratchFolder images;
    ASSERT_TRUE(WriteBytes(images / L"icon_carrier_alpha.bmp", Bytes(9000, 0x77)));
    ASSERT_TRUE(SaveAppIcon(Carrier(L"alpha"), images.path()));
    EXPECT_EQ("", FirstDifference(ExpectedBitmapFile(kAlpha),
                                  ReadBytes(images / L"icon_carrier_alpha.bmp"), kHeaderBytes, 32));
}

TEST(StoredIcon, NoIconNoFile) {
    ScratchFolder images;
    EXPECT_FALSE(SaveAppIcon(Carrier(L"none"), images.path()));
    EXPECT_FALSE(SaveAppIcon(images / L"missing.exe", images.path()));
    EXPECT_FALSE(Exists(images / L"icon_carrier_none.bmp"));
}

TEST(WriteBitmapFile, WritesTheHeadersAndThePixelsAsGiven) {
    ScratchFolder images;
    Bytes pixels(3 * 2 * 4);
    for (size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<uint8_t>(i + 1);
    }
    BITMAP bm = Describe32(3, 2);
    ASSERT_TRUE(WriteBitmapFile(images.path(), L"three", pixels.data(), bm));
    const Bytes file = ReadBytes(images / L"three.bmp");
    ASSERT_EQ(54u + 24u, file.size());
    EXPECT_EQ(78, file[2]) << "bfSize";
    EXPECT_EQ(3, file[18]) << "biWidth";
    EXPECT_EQ(2, file[22]) << "biHeight";
    EXPECT_EQ(24, file[34]) << "biSizeImage";
    EXPECT_EQ(pixels, Bytes(file.begin() + 54, file.end()));

    bm.bmBitsPixel = 24;
    EXPECT_FALSE(WriteBitmapFile(images.path(), L"wrong", pixels.data(), bm))
        << "4-byte pixels under a 24-bit header";
    EXPECT_FALSE(Exists(images / L"wrong.bmp"));
}

// A second writer comes while the first still holds the file; the first here opened it for
// reading and allows every kind of sharing, so only a writer that shares nothing is refused.
TEST(StoredIconFaults, ASecondWriterOfTheSameNameFails) {
    ScratchFolder images;
    const std::wstring file = images / L"icon_carrier_alpha.bmp";
    ASSERT_TRUE(WriteBytes(file, Bytes(10, 0x42)));
    {
        const HANDLE hFirst = ::CreateFileW(file.c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, hFirst);
        EXPECT_FALSE(SaveAppIcon(Carrier(L"alpha"), images.path()))
            << "the file was opened while another handle held it";
        ::CloseHandle(hFirst);
    }
    EXPECT_EQ(Bytes(10, 0x42), ReadBytes(file)) << "the first writer's file must stay as it was";
}

TEST(StoredIconFaults, AReadOnlyTargetFileFails) {
    ScratchFolder images;
    const std::wstring file = images / L"icon_carrier_alpha.bmp";
    ASSERT_TRUE(WriteBytes(file, Bytes(10, 0x42)));
    ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(SaveAppIcon(Carrier(L"alpha"), images.path()));
    EXPECT_EQ(Bytes(10, 0x42), ReadBytes(file));
}

bool RunsOnWine() {
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != NULL;
}

TEST(StoredIconFaults, AnUnwritableFolderFails) {
    if (!RunsOnWine()) {
        GTEST_SKIP() << "the unwritable folder used here is Wine's view of /proc";
    }
    // Nobody, not even root, creates files or folders in /proc.
    EXPECT_FALSE(SaveAppIcon(Carrier(L"alpha"), L"Z:\\proc\\npd_images"));
    EXPECT_FALSE(SaveAppIcon(Carrier(L"alpha"), L"Z:\\proc"));
}

TEST(StoredIconFaults, AFolderAndNameLongerThan259CharactersFailCleanly) {
    ScratchFolder root;
    // Folder, backslash, "icon_carrier_alpha" and ".bmp": one character too many, then just fit.
    const size_t nName = 1 + 18 + 4;
    const std::wstring tooLong =
        root.path() + L"\\" + std::wstring(260 - nName - root.path().size() - 1, L'x');
    ASSERT_EQ(260u, tooLong.size() + nName);
    EXPECT_FALSE(SaveAppIcon(Carrier(L"alpha"), tooLong));
    EXPECT_FALSE(Exists(tooLong)) << "nothing may be made for a path that cannot be used";
    const std::wstring fits = tooLong.substr(0, tooLong.size() - 1);
    EXPECT_TRUE(SaveAppIcon(Carrier(L"alpha"), fits));
    EXPECT_EQ(4150u, ReadBytes(fits + L"\\icon_carrier_alpha.bmp").size());
}

// The disk fills up after a number of bytes: each part that does not fit is written only in part
// by WriteFile itself. The new file goes, the previous bitmap stays whole.
TEST(StoredIconFaults, AWriteThatFellShortKeepsThePreviousFileAndLeavesNoOther) {
    ScratchFolder images;
    BitmapFileHeaders headers;
    ASSERT_TRUE(FillBitmapFileHeaders(32, 32, 32, &headers));
    const Bytes pixels(4096, 0x5A);
    const std::wstring file = images / L"full.bmp";
    for (uint32_t nRoom : {0u, 10u, 14u, 54u, 4149u}) {
        ASSERT_TRUE(WriteBytes(file, Bytes(4150, 0x42)));
        EXPECT_FALSE(WriteBitmapFileParts(file, headers, pixels.data(), 4096, nRoom))
            << "room for " << nRoom << " bytes was reported as success";
        EXPECT_EQ(Bytes(4150, 0x42), ReadBytes(file)) << "room for " << nRoom << ": lost";
        EXPECT_EQ(1u, nphost::FilesIn(images.path()).size()) << "room for " << nRoom;
    }
    ASSERT_TRUE(WriteBitmapFileParts(file, headers, pixels.data(), 4096, 4150));
    EXPECT_EQ(4150u, ReadBytes(file).size());
}

} // namespace
