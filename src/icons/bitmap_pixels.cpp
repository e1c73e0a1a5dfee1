// Pixel work on 32-bit bitmaps: alpha from the mask, white background, bottom-up rows.
#include "icons/bitmap_pixels.h"

#include <string.h>

namespace {

const size_t kBlue = 0;
const size_t kGreen = 1;
const size_t kRed = 2;
const size_t kAlpha = 3;

} // namespace

void ApplyMaskAlpha(unsigned char* pColor, const unsigned char* pMask, size_t nPixels) {
    for (size_t i = 0; i < nPixels; ++i) {
        unsigned char* pPixel = pColor + i * kBytesPerPixel;
        const unsigned char* pMaskPixel = pMask + i * kBytesPerPixel;
        if (pMaskPixel[kBlue] == 255 && pMaskPixel[kGreen] == 255 && pMaskPixel[kRed] == 255) {
            pPixel[kAlpha] = 0;
        } else if (pPixel[kAlpha] == 0) {
            pPixel[kAlpha] = 255;
        }
    }
}

void WhitenTransparentBlack(unsigned char* pPixels, size_t nPixels) {
    for (size_t i = 0; i < nPixels; ++i) {
        unsigned char* pPixel = pPixels + i * kBytesPerPixel;
        if (pPixel[kBlue] == 0 && pPixel[kGreen] == 0 && pPixel[kRed] == 0 && pPixel[kAlpha] == 0) {
            memset(pPixel, 255, kBytesPerPixel);
        }
    }
}

void ReverseRows(const unsigned char* pSource, unsigned char* pTarget, size_t nRowBytes,
                 size_t nRows) {
    if (nRowBytes == 0) {
        return; // nothing to copy, and an empty bitmap's buffers may be null
    }
    for (size_t iRow = 0; iRow < nRows; ++iRow) {
        memcpy(pTarget + iRow * nRowBytes, pSource + (nRows - 1 - iRow) * nRowBytes, nRowBytes);
    }
}
