// Pixel work of the icon cache: the alpha pass, the white background and the row order.
#include <gtest/gtest.h>

#include <vector>

#include "icons/bitmap_pixels.h"

namespace {

struct Pixel {
    unsigned char b, g, r, a;
};

std::vector<unsigned char> Bytes(const std::vector<Pixel>& pixels) {
    std::vector<unsigned char> bytes;
    for (const Pixel& pixel : pixels) {
        bytes.insert(bytes.end(), {pixel.b, pixel.g, pixel.r, pixel.a});
    }
    return bytes;
}

std::string Show(const unsigned char* pPixel) {
    char text[40];
    snprintf(text, sizeof(text), "(%u,%u,%u,%u)", pPixel[0], pPixel[1], pPixel[2], pPixel[3]);
    return text;
}

TEST(AlphaPass, AlphaFollowsTheMaskAndTheIconsOwnAlpha) {
    struct Case {
        const char* what;
        Pixel color;
        Pixel mask;
        Pixel expected;
    } cases[] = {
        {"white mask: transparent", {10, 20, 30, 255}, {255, 255, 255, 0}, {10, 20, 30, 0}},
        {"white mask beats semi-alpha", {10, 20, 30, 128}, {255, 255, 255, 0}, {10, 20, 30, 0}},
        {"black mask, no alpha: opaque", {10, 20, 30, 0}, {0, 0, 0, 0}, {10, 20, 30, 255}},
        {"black mask keeps semi-alpha", {10, 20, 30, 128}, {0, 0, 0, 0}, {10, 20, 30, 128}},
        {"black mask keeps full alpha", {0, 0, 0, 255}, {0, 0, 0, 0}, {0, 0, 0, 255}},
        {"mask white only in part", {1, 2, 3, 0}, {255, 255, 254, 0}, {1, 2, 3, 255}},
        {"mask alpha byte is ignored", {1, 2, 3, 7}, {255, 255, 255, 255}, {1, 2, 3, 0}},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> color = Bytes({c.color});
        const std::vector<unsigned char> mask = Bytes({c.mask});
        ApplyMaskAlpha(color.data(), mask.data(), 1);
        EXPECT_EQ(Bytes({c.expected}), color)
            << c.what << ": expected " << Show(Bytes({c.expected}).data()) << ", got "
            << Show(color.data());
    }
}

TEST(AlphaPass, CoversEveryPixelAndNoMore) {
    std::vector<unsigned char> color = Bytes({{1, 1, 1, 0}, {2, 2, 2, 0}, {3, 3, 3, 0}});
    const std::vector<unsigned char> mask = Bytes({{0, 0, 0, 0}, {255, 255, 255, 0}, {0, 0, 0, 0}});
    ApplyMaskAlpha(color.data(), mask.data(), 2);
    EXPECT_EQ(Bytes({{1, 1, 1, 255}, {2, 2, 2, 0}, {3, 3, 3, 0}}), color)
        << "the third pixel lies beyond the count and must stay as it was";
}

TEST(WhiteBackground, OnlyFullyTransparentBlackTurnsOpaqueWhite) {
    struct Case {
        const char* what;
        Pixel before;
        Pixel after;
    } cases[] = {
        {"transparent black", {0, 0, 0, 0}, {255, 255, 255, 255}},
        {"opaque black", {0, 0, 0, 255}, {0, 0, 0, 255}},
        {"transparent red", {0, 0, 255, 0}, {0, 0, 255, 0}},
        {"transparent near-black", {1, 0, 0, 0}, {1, 0, 0, 0}},
        {"semi-transparent black", {0, 0, 0, 1}, {0, 0, 0, 1}},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> pixels = Bytes({c.before, c.before});
        WhitenTransparentBlack(pixels.data(), 2);
        EXPECT_EQ(Bytes({c.after, c.after}), pixels)
            << c.what << ": expected " << Show(Bytes({c.after}).data()) << ", got "
            << Show(pixels.data());
    }
}

TEST(RowOrder, TheLastRowComesFirst) {
    // Three rows of two pixels; each byte names its row.
    const std::vector<unsigned char> topDown =
        Bytes({{1, 1, 1, 1}, {1, 1, 1, 1}, {2, 2, 2, 2}, {2, 2, 2, 2}, {3, 3, 3, 3}, {3, 3, 3, 3}});
    std::vector<unsigned char> bottomUp(topDown.size(), 0xEE);
    ReverseRows(topDown.data(), bottomUp.data(), 8, 3);
    EXPECT_EQ(
        Bytes({{3, 3, 3, 3}, {3, 3, 3, 3}, {2, 2, 2, 2}, {2, 2, 2, 2}, {1, 1, 1, 1}, {1, 1, 1, 1}}),
        bottomUp);
    // Rows of no bytes copy nothing, even between the null buffers of an empty bitmap.
    ReverseRows(nullptr, nullptr, 0, 3);
}

} // namespace
