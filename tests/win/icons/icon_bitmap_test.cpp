// Icon to 32-bit bitmap with real GDI: icons made from known pixels, rendered and read back.
#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "common/unique_resource.h"
#include "icon_test_support.h"
#include "icons/icon_bitmap.h"

namespace {

using namespace icons;

// Rows of 1-bit pixels, each row padded to 16 bits as CreateBitmap and CreateIcon want them.
std::vector<uint8_t> MonochromeRows(int nWidth, int nHeight, bool (*bit)(int x, int y)) {
    const int nStride = ((nWidth + 15) / 16) * 2;
    std::vector<uint8_t> rows(static_cast<size_t>(nStride * nHeight), 0);
    for (int y = 0; y < nHeight; ++y) {
        for (int x = 0; x < nWidth; ++x) {
            if (bit(x, y)) {
                rows[static_cast<size_t>(y * nStride + x / 8)] |=
                    static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
    }
    return rows;
}

// A colour icon of 32-bit pixels `bgra` (top row first) and mask bits from `maskBit`.
HICON MakeIcon(int nWidth, int nHeight, const std::vector<uint8_t>& bgra,
               bool (*maskBit)(int x, int y)) {
    BITMAPINFO bmi;
    memset(&bmi, 0, sizeof(bmi));
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = nWidth;
    bmi.bmiHeader.biHeight = -nHeight;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = NULL;
    const UniqueBitmap color(::CreateDIBSection(NULL, &bmi, DIB_RGB_COLORS, &pBits, NULL, 0));
    if (!color) {
        return NULL;
    }
    memcpy(pBits, bgra.data(), bgra.size());
    const std::vector<uint8_t> maskRows = MonochromeRows(nWidth, nHeight, maskBit);
    const UniqueBitmap mask(::CreateBitmap(nWidth, nHeight, 1, 1, maskRows.data()));
    ICONINFO info;
    memset(&info, 0, sizeof(info));
    info.fIcon = TRUE;
    info.hbmColor = color.get();
    info.hbmMask = mask.get();
    return ::CreateIconIndirect(&info);
}

// 32-bit pixels of `nWidth` x `nHeight` whose colour tells the position, all with `alpha`.
std::vector<uint8_t> PositionPixels(int nWidth, int nHeight, uint8_t alpha) {
    std::vector<uint8_t> bgra;
    for (int y = 0; y < nHeight; ++y) {
        for (int x = 0; x < nWidth; ++x) {
            bgra.insert(bgra.end(),
                        {static_cast<uint8_t>(x * 5), static_cast<uint8_t>(y * 5), 0x99, alpha});
        }
    }
    return bgra;
}

bool LeftColumns(int x, int) {
    return x < 4;
}
bool NoBit(int, int) {
    return false;
}

// The pixels of a bitmap that IconToBitmap made, with its size checked.
Bytes Rendered(HBITMAP hBitmap, int nWidth, int nHeight) {
    BITMAP bm;
    memset(&bm, 0, sizeof(bm));
    ::GetObjectW(hBitmap, sizeof(bm), &bm);
    EXPECT_EQ(nWidth, bm.bmWidth);
    EXPECT_EQ(nHeight, bm.bmHeight);
    EXPECT_EQ(32, bm.bmBitsPixel);
    return ReadBitmapPixels(hBitmap, nWidth, nHeight);
}

std::string ShowPixel(const Bytes& pixels, size_t i) {
    char text[48];
    snprintf(text, sizeof(text), "pixel %u: %u,%u,%u,%u", static_cast<unsigned>(i), pixels[i * 4],
             pixels[i * 4 + 1], pixels[i * 4 + 2], pixels[i * 4 + 3]);
    return text;
}

TEST(IconToBitmap, AlphaIsZeroWhereTheMaskIsSetTheIconsOwnElsewhereOr255WithoutOne) {
    // Alpha values given to the icon's pixels in turn; the mask is set on the four left columns.
    const struct {
        const char* what;
        std::vector<uint8_t> alphas;
    } cases[] = {
        {"a classic icon without alpha", {0}},
        {"an icon with its own alpha", {255, 128, 1, 0}},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> source = PositionPixels(32, 32, 0);
        for (size_t i = 0; i < 32 * 32; ++i) {
            source[i * 4 + 3] = c.alphas[i % c.alphas.size()];
        }
        const UniqueIcon icon(MakeIcon(32, 32, source, LeftColumns));
        ASSERT_TRUE(icon) << c.what;
        const UniqueBitmap bitmap(IconToBitmap(icon.get(), 32, 32));
        ASSERT_TRUE(bitmap) << c.what;
        const Bytes got = Rendered(bitmap.get(), 32, 32);
        ASSERT_EQ(source.size(), got.size()) << c.what;
        for (size_t i = 0; i < 32 * 32; ++i) {
            uint8_t alpha = source[i * 4 + 3] == 0 ? 255 : source[i * 4 + 3];
            if (LeftColumns(static_cast<int>(i % 32), static_cast<int>(i / 32))) {
                alpha = 0;
            }
            const Bytes expected = {source[i * 4], source[i * 4 + 1], source[i * 4 + 2], alpha};
            ASSERT_EQ(expected, Bytes(got.begin() + i * 4, got.begin() + i * 4 + 4))
                << c.what << ": " << ShowPixel(got, i);
        }
    }
}

TEST(IconToBitmap, ALargerIconGivesItsTopLeftPartUnscaled) {
    const std::vector<uint8_t> source = PositionPixels(48, 48, 0);
    const UniqueIcon icon(MakeIcon(48, 48, source, NoBit));
    ASSERT_TRUE(icon);
    const UniqueBitmap bitmap(IconToBitmap(icon.get(), 32, 32));
    ASSERT_TRUE(bitmap);
    const Bytes got = Rendered(bitmap.get(), 32, 32);
    ASSERT_EQ(32u * 32u * 4u, got.size());
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const size_t from = static_cast<size_t>((y * 48 + x) * 4);
            const size_t to = static_cast<size_t>((y * 32 + x) * 4);
            const Bytes expected = {source[from], source[from + 1], source[from + 2], 255};
            ASSERT_EQ(expected, Bytes(got.begin() + to, got.begin() + to + 4))
                << "column " << x << ", row " << y;
        }
    }
}

TEST(IconToBitmap, SizesBelowOneTakeTheIconsOwnAndAbove512AreRefused) {
    const UniqueIcon icon(MakeIcon(48, 48, PositionPixels(48, 48, 0), NoBit));
    ASSERT_TRUE(icon);
    const struct {
        int nWidth, nHeight;
        int nExpectedWidth, nExpectedHeight; // 0: refused
    } cases[] = {
        {0, 0, 48, 48},  {-5, 20, 48, 20}, {20, 0, 20, 48}, {512, 512, 512, 512},
        {513, 32, 0, 0}, {32, 513, 0, 0},  {1, 1, 1, 1},
    };
    for (const auto& c : cases) {
        const UniqueBitmap bitmap(IconToBitmap(icon.get(), c.nWidth, c.nHeight));
        BITMAP bm;
        memset(&bm, 0, sizeof(bm));
        if (bitmap) {
            ::GetObjectW(bitmap.get(), sizeof(bm), &bm);
        }
        EXPECT_EQ(c.nExpectedWidth, bm.bmWidth) << "asked " << c.nWidth << " x " << c.nHeight;
        EXPECT_EQ(c.nExpectedHeight, bm.bmHeight) << "asked " << c.nWidth << " x " << c.nHeight;
    }
    EXPECT_TRUE(IconToBitmap(NULL, 32, 32) == NULL);
}

bool MonoImageBit(int x, int y) {
    return x < 16 && y < 16;
}
bool MonoMaskBit(int x, int y) {
    return y >= 24 && (x % 2 == 0);
}

TEST(IconToBitmap, AMonochromeIconIsRenderedFromItsImageHalf) {
    const std::vector<uint8_t> andBits = MonochromeRows(32, 32, MonoMaskBit);
    const std::vector<uint8_t> xorBits = MonochromeRows(32, 32, MonoImageBit);
    const UniqueIcon icon(::CreateIcon(NULL, 32, 32, 1, 1, andBits.data(), xorBits.data()));
    ASSERT_TRUE(icon);
    ICONINFO info;
    ASSERT_TRUE(::GetIconInfo(icon.get(), &info));
    const UniqueBitmap infoMask(info.hbmMask);
    const UniqueBitmap infoColor(info.hbmColor);
    ASSERT_FALSE(infoColor) << "a 1-bit icon must have no colour bitmap";

    for (int nSide : {32, 0}) {
        const UniqueBitmap bitmap(IconToBitmap(icon.get(), nSide, nSide));
        ASSERT_TRUE(bitmap) << "asked " << nSide;
        const Bytes got = Rendered(bitmap.get(), 32, 32);
        ASSERT_EQ(32u * 32u * 4u, got.size());
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const uint8_t color = MonoImageBit(x, y) ? 255 : 0;
                const uint8_t alpha = MonoMaskBit(x, y) ? 0 : 255;
                const Bytes expected = {color, color, color, alpha};
                const size_t at = static_cast<size_t>((y * 32 + x) * 4);
                ASSERT_EQ(expected, Bytes(got.begin() + at, got.begin() + at + 4))
                    << "asked " << nSide << ": column " << x << ", row " << y;
            }
        }
    }
}

TEST(IconToBitmap, TheMonochromeIconFromAnIconFileHasNoColourBitmap) {
    HICON hLarge = NULL;
    ASSERT_EQ(1u, ::ExtractIconExW(Carrier(L"mono").c_str(), 0, &hLarge, NULL, 1));
    const UniqueIcon icon(hLarge);
    EXPECT_TRUE(ReadIconImage(icon.get()).color.empty())
        << "the stored monochrome icon would not test the image half";
}

TEST(CreateBitmap32, IsABottomUp32BitSectionOfTheAskedSize) {
    void* pBits = NULL;
    const UniqueBitmap bitmap(CreateBitmap32(7, 3, &pBits));
    ASSERT_TRUE(bitmap);
    ASSERT_TRUE(pBits != NULL);
    DIBSECTION section;
    memset(&section, 0, sizeof(section));
    ASSERT_EQ(static_cast<int>(sizeof(section)),
              ::GetObjectW(bitmap.get(), sizeof(section), &section));
    EXPECT_EQ(40u, section.dsBmih.biSize);
    EXPECT_EQ(7, section.dsBmih.biWidth);
    EXPECT_EQ(3, section.dsBmih.biHeight) << "positive: bottom-up";
    EXPECT_EQ(32, section.dsBmih.biBitCount);
    EXPECT_EQ(static_cast<DWORD>(BI_RGB), section.dsBmih.biCompression);
    EXPECT_EQ(28, section.dsBm.bmWidthBytes) << "rows of exactly width x 4 bytes";

    // The first pixel in memory is the bottom row's first.
    static const uint8_t kMarker[4] = {1, 2, 3, 4};
    memcpy(pBits, kMarker, sizeof(kMarker));
    const Bytes topDown = ReadBitmapPixels(bitmap.get(), 7, 3);
    ASSERT_EQ(7u * 3u * 4u, topDown.size());
    EXPECT_EQ(Bytes(kMarker, kMarker + 4), Bytes(topDown.begin() + 56, topDown.begin() + 60));
    EXPECT_TRUE(CreateBitmap32(0, 3, &pBits) == NULL);
}

} // namespace
