// The layout of a 32-bit bitmap file: its two headers as bytes and the writing of its parts.
#ifndef NPDESKLAUNCH_ICONS_BITMAP_LAYOUT_H
#define NPDESKLAUNCH_ICONS_BITMAP_LAYOUT_H

#include <stddef.h>
#include <stdint.h>

const size_t kFileHeaderSize = 14;
const size_t kInfoHeaderSize = 40;
const uint32_t kPixelOffset = 54;
// Wider or taller bitmaps are not written: their sizes would not fit the headers' fields.
const int32_t kMaxBitmapSide = 0x4000;

// The file header and the information header, little-endian as the file holds them.
struct BitmapFileHeaders {
    unsigned char bfh[kFileHeaderSize];
    unsigned char bih[kInfoHeaderSize];
};

// Bytes of pixel data for `nWidth` x `nHeight` pixels of 4 bytes, or 0 when either side is below
// 1 or above kMaxBitmapSide.
uint32_t PixelBytesOf(int32_t nWidth, int32_t nHeight);

// Fills both headers for a bottom-up BI_RGB bitmap of 4-byte pixels; false for sizes that
// PixelBytesOf refuses and for any other pixel size than 32 bits.
[[nodiscard]] bool FillBitmapFileHeaders(int32_t nWidth, int32_t nHeight, uint16_t nBitCount,
                                         BitmapFileHeaders* pHeaders);

// Where the parts of a file go; Write reports how many bytes it took.
class BitmapPartSink {
  public:
    virtual bool Write(const void* pBytes, uint32_t nBytes, uint32_t* pnWritten) = 0;

  protected:
    ~BitmapPartSink() {}
};

// Writes the file header, the information header and `nPixelBytes` of pixels, in that order.
// A part that fails or is taken only in part ends the writing with false.
[[nodiscard]] bool WriteBitmapParts(const BitmapFileHeaders& headers, const unsigned char* pPixels,
                                    uint32_t nPixelBytes, BitmapPartSink& sink);

#endif
