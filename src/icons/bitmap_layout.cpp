// The 54 header bytes of a 32-bit bitmap file and the order in which the file is written.
#include "icons/bitmap_layout.h"

#include <string.h>

namespace {

void Put16(unsigned char* pTarget, uint16_t value) {
    pTarget[0] = static_cast<unsigned char>(value & 0xFF);
    pTarget[1] = static_cast<unsigned char>(value >> 8);
}

void Put32(unsigned char* pTarget, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        pTarget[i] = static_cast<unsigned char>((value >> (8 * i)) & 0xFF);
    }
}

bool WritePart(BitmapPartSink& sink, const void* pBytes, uint32_t nBytes) {
    uint32_t nWritten = 0;
    return sink.Write(pBytes, nBytes, &nWritten) && nWritten == nBytes;
}

} // namespace

uint32_t PixelBytesOf(int32_t nWidth, int32_t nHeight) {
    if (nWidth < 1 || nHeight < 1 || nWidth > kMaxBitmapSide || nHeight > kMaxBitmapSide) {
        return 0;
    }
    return static_cast<uint32_t>(nWidth) * static_cast<uint32_t>(nHeight) * 4u;
}

bool FillBitmapFileHeaders(int32_t nWidth, int32_t nHeight, uint16_t nBitCount,
                           BitmapFileHeaders* pHeaders) {
    const uint32_t nPixelBytes = PixelBytesOf(nWidth, nHeight);
    if (nPixelBytes == 0 || nBitCount != 32) {
        return false;
    }
    memset(pHeaders, 0, sizeof(*pHeaders));
    unsigned char* bfh = pHeaders->bfh;
    Put16(bfh + 0, 0x4D42);                     // bfType: "BM"
    Put32(bfh + 2, kPixelOffset + nPixelBytes); // bfSize
    Put32(bfh + 10, kPixelOffset);              // bfOffBits
    unsigned char* bih = pHeaders->bih;
    Put32(bih + 0, static_cast<uint32_t>(kInfoHeaderSize)); // biSize
    Put32(bih + 4, static_cast<uint32_t>(nWidth));          // biWidth
    Put32(bih + 8, static_cast<uint32_t>(nHeight));         // biHeight: bottom-up
    Put16(bih + 12, 1);                                     // biPlanes
    Put16(bih + 14, nBitCount);                             // biBitCount
    Put32(bih + 20, nPixelBytes);                           // biSizeImage
    return true;
}

bool WriteBitmapParts(const BitmapFileHeaders& headers, const unsigned char* pPixels,
                      uint32_t nPixelBytes, BitmapPartSink& sink) {
    return WritePart(sink, headers.bfh, static_cast<uint32_t>(sizeof(headers.bfh))) &&
           WritePart(sink, headers.bih, static_cast<uint32_t>(sizeof(headers.bih))) &&
           WritePart(sink, pPixels, nPixelBytes);
}
