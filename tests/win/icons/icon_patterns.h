// The test icons, pixel by pixel: what the icon maker writes into the .ico files that the carrier
// programs hold, and what the tests expect back. Plain C++, built for the host and for Windows.
#ifndef NPDESKLAUNCH_TESTS_WIN_ICONS_ICON_PATTERNS_H
#define NPDESKLAUNCH_TESTS_WIN_ICONS_ICON_PATTERNS_H

#include <stdint.h>

namespace icons {

// One pixel of an icon image: colour, alpha (used by 32-bit images only) and the mask bit (set:
// transparent). For a 1-bit image the colour is black or white.
struct IconPixel {
    uint8_t b, g, r, a;
    bool bMask;
};

enum IconKind {
    kAlpha,      // 32x32, 32 bits with its own alpha: opaque, semi-transparent, transparent
    kClassic,    // 32x32, 24 bits, AND mask, transparent pixels black
    kInvert,     // 32x32, 24 bits, AND mask, some transparent pixels red
    kSmall,      // 16x16 only, 24 bits, AND mask
    kLarge48,    // 48x48, 24 bits, AND mask (one image of the large set)
    kLarge256,   // 256x256, 32 bits with alpha, stored as PNG (the other image of the large set)
    kMonochrome, // 32x32, 1 bit: black and white image and AND mask
};

inline int SideOf(IconKind kind) {
    switch (kind) {
    case kSmall:
        return 16;
    case kLarge48:
        return 48;
    case kLarge256:
        return 256;
    default:
        return 32;
    }
}

inline int BitsOf(IconKind kind) {
    switch (kind) {
    case kAlpha:
    case kLarge256:
        return 32;
    case kMonochrome:
        return 1;
    default:
        return 24;
    }
}

inline IconPixel Opaque(int b, int g, int r) {
    IconPixel pixel = {static_cast<uint8_t>(b), static_cast<uint8_t>(g), static_cast<uint8_t>(r),
                       255, false};
    return pixel;
}

inline IconPixel WithAlpha(int b, int g, int r, int a, bool bMask) {
    IconPixel pixel = {static_cast<uint8_t>(b), static_cast<uint8_t>(g), static_cast<uint8_t>(r),
                       static_cast<uint8_t>(a), bMask};
    return pixel;
}

inline IconPixel Transparent() {
    return WithAlpha(0, 0, 0, 0, true);
}

// Pixel (x, y) of the image, y counted from the top row.
inline IconPixel PixelOf(IconKind kind, int x, int y) {
    switch (kind) {
    case kAlpha:
        if (x == 0 && y == 31) {
            return WithAlpha(0x11, 0x22, 0x33, 0, false); // opaque in the mask, alpha 0
        }
        if (x == 31 && y == 31) {
            return Opaque(0, 0, 0); // opaque black stays black
        }
        if (x == 0 && y == 16) {
            return WithAlpha(0x44, 0x55, 0x66, 0x80, true); // the mask wins over alpha
        }
        if (y < 8) {
            return Opaque(8 * x, 0x40, 0xC0);
        }
        if (y < 16) {
            return WithAlpha(0x30, 0x60, 0x90, x < 16 ? 0x80 : 0x40, false);
        }
        if (y < 24) {
            return Transparent();
        }
        return Opaque(0x20, 8 * x, 8 * (y - 24));
    case kClassic:
        if (x == 5 && y == 10) {
            return Opaque(0, 0, 0);
        }
        if (y < 4 || x >= 28) {
            return Transparent();
        }
        return Opaque(8 * x, 8 * y, 0x80);
    case kInvert:
        if (y < 4) {
            return x < 16 ? WithAlpha(0, 0, 0xFF, 0, true) : Transparent();
        }
        return Opaque(0x10, 8 * y, 8 * x);
    case kSmall: {
        // Blocks of 4x4 pixels; the top-right block is transparent.
        const int bx = x / 4;
        const int by = y / 4;
        if (bx == 3 && by == 0) {
            return Transparent();
        }
        return Opaque(0x40 * bx, 0x40 * by, 0xA0);
    }
    case kLarge48: {
        // Quadrants; the bottom-right one is transparent.
        const bool bRight = x >= 24;
        const bool bBottom = y >= 24;
        if (bRight && bBottom) {
            return Transparent();
        }
        return bBottom ? Opaque(0xFF, 0, 0) : (bRight ? Opaque(0, 0xFF, 0) : Opaque(0, 0, 0xFF));
    }
    case kLarge256: {
        // Quadrants; the bottom-right one is transparent. A PNG image has no mask of its own:
        // the system makes one from the alpha (Wine sets it even where alpha is 192), so this
        // image has no partial alpha.
        const bool bRight = x >= 128;
        const bool bBottom = y >= 128;
        if (bRight && bBottom) {
            return Transparent();
        }
        if (bBottom) {
            return Opaque(0x80, 0x80, 0);
        }
        return bRight ? Opaque(0, 0x80, 0x80) : Opaque(0x80, 0, 0x80);
    }
    case kMonochrome: {
        // Image white in the top-left quarter, black elsewhere; mask set on the bottom eight
        // rows, where the image is white on the left half (the screen is inverted there).
        if (y >= 24) {
            return x < 16 ? WithAlpha(255, 255, 255, 0, true) : Transparent();
        }
        return (x < 16 && y < 16) ? Opaque(255, 255, 255) : Opaque(0, 0, 0);
    }
    }
    return Transparent();
}

} // namespace icons

#endif
