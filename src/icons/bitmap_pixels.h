// Pixel work on 32-bit bitmaps held as blue, green, red, alpha bytes: the alpha pass, the white
// background and the row order of the bitmap file.
#ifndef NPDESKLAUNCH_ICONS_BITMAP_PIXELS_H
#define NPDESKLAUNCH_ICONS_BITMAP_PIXELS_H

#include <stddef.h>

const size_t kBytesPerPixel = 4;

// Gives each pixel of `pColor` its alpha from the icon's mask rendered at the same size: 0 where
// the mask pixel is white (transparent), 255 where the colour pixel has none, else its own.
void ApplyMaskAlpha(unsigned char* pColor, const unsigned char* pMask, size_t nPixels);

// Turns every pixel whose four bytes are all 0 (transparent black) into opaque white.
void WhitenTransparentBlack(unsigned char* pPixels, size_t nPixels);

// Copies `nRows` rows of `nRowBytes` bytes from `pSource` to `pTarget` in reverse order.
void ReverseRows(const unsigned char* pSource, unsigned char* pTarget, size_t nRowBytes,
                 size_t nRows);

#endif
