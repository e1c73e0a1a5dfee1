// The bitmap file headers for any size, the order and failures of the file's parts, and the
// pixel passes over hostile pixels, each buffer exactly as large as the pass may use.
#include <string.h>

#include <vector>

#include "fuzz_input.h"
#include "icons/bitmap_layout.h"
#include "icons/bitmap_pixels.h"

namespace {

uint32_t Read32(const unsigned char* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

uint16_t Read16(const unsigned char* bytes) {
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

void CheckHeaders(int32_t nWidth, int32_t nHeight, uint16_t nBitCount) {
    const uint32_t nPixelBytes = PixelBytesOf(nWidth, nHeight);
    const bool bSizeOk =
        nWidth >= 1 && nHeight >= 1 && nWidth <= kMaxBitmapSide && nHeight <= kMaxBitmapSide;
    FUZZ_CHECK((nPixelBytes != 0) == bSizeOk);
    if (bSizeOk) {
        FUZZ_CHECK(static_cast<uint64_t>(nPixelBytes) ==
                   static_cast<uint64_t>(nWidth) * static_cast<uint64_t>(nHeight) * 4u);
    }
    BitmapFileHeaders headers;
    memset(&headers, 0xCC, sizeof(headers));
    const bool bFilled = FillBitmapFileHeaders(nWidth, nHeight, nBitCount, &headers);
    FUZZ_CHECK(bFilled == (bSizeOk && nBitCount == 32));
    if (!bFilled) {
        return;
    }
    // Read back, every field agrees with the sizes and with the others.
    FUZZ_CHECK(headers.bfh[0] == 'B' && headers.bfh[1] == 'M');
    FUZZ_CHECK(Read32(headers.bfh + 2) == kPixelOffset + nPixelBytes);
    FUZZ_CHECK(Read32(headers.bfh + 6) == 0);
    FUZZ_CHECK(Read32(headers.bfh + 10) == kFileHeaderSize + kInfoHeaderSize);
    FUZZ_CHECK(Read32(headers.bih + 0) == kInfoHeaderSize);
    FUZZ_CHECK(static_cast<int32_t>(Read32(headers.bih + 4)) == nWidth);
    FUZZ_CHECK(static_cast<int32_t>(Read32(headers.bih + 8)) == nHeight);
    FUZZ_CHECK(Read16(headers.bih + 12) == 1);
    FUZZ_CHECK(Read16(headers.bih + 14) == 32);
    FUZZ_CHECK(Read32(headers.bih + 16) == 0); // BI_RGB
    FUZZ_CHECK(Read32(headers.bih + 20) == nPixelBytes);
    for (size_t i = 24; i < kInfoHeaderSize; ++i) {
        FUZZ_CHECK(headers.bih[i] == 0);
    }
}

// Takes what the input allows of each part and records what it was given.
class ShortSink : public BitmapPartSink {
  public:
    explicit ShortSink(FuzzInput& input) : input_(input) {}
    bool Write(const void* pBytes, uint32_t nBytes, uint32_t* pnWritten) override {
        const uint8_t answer = input_.Byte();
        parts.push_back(nBytes);
        *pnWritten = (answer & 1) != 0 ? nBytes : nBytes / 2;
        if (nBytes > 0) {
            bytes.insert(bytes.end(), static_cast<const unsigned char*>(pBytes),
                         static_cast<const unsigned char*>(pBytes) + *pnWritten);
        }
        bAllWhole = bAllWhole && *pnWritten == nBytes && (answer & 2) == 0;
        return (answer & 2) == 0;
    }
    std::vector<uint32_t> parts;
    std::vector<unsigned char> bytes;
    bool bAllWhole = true;

  private:
    FuzzInput& input_;
};

void CheckParts(FuzzInput& input, const std::vector<unsigned char>& pixels) {
    BitmapFileHeaders headers;
    if (!FillBitmapFileHeaders(1, 1, 32, &headers)) {
        FUZZ_CHECK(false);
    }
    ShortSink sink(input);
    const bool bWritten = WriteBitmapParts(headers, pixels.empty() ? nullptr : pixels.data(),
                                           static_cast<uint32_t>(pixels.size()), sink);
    const uint32_t expected[] = {kFileHeaderSize, kInfoHeaderSize,
                                 static_cast<uint32_t>(pixels.size())};
    FUZZ_CHECK(sink.parts.size() <= 3);
    for (size_t i = 0; i < sink.parts.size(); ++i) {
        FUZZ_CHECK(sink.parts[i] == expected[i]);
    }
    // True only when every part went whole, in order.
    FUZZ_CHECK(bWritten == (sink.parts.size() == 3 && sink.bAllWhole));
    FUZZ_CHECK(!bWritten || sink.bytes.size() == kPixelOffset + pixels.size());
    if (bWritten) {
        FUZZ_CHECK(memcmp(sink.bytes.data(), headers.bfh, kFileHeaderSize) == 0);
        FUZZ_CHECK(pixels.empty() ||
                   memcmp(sink.bytes.data() + kPixelOffset, pixels.data(), pixels.size()) == 0);
    }
}

void CheckPixels(FuzzInput& input) {
    const size_t nRowPixels = input.Below(40);
    const size_t nRows = input.Below(40);
    const size_t nPixels = nRowPixels * nRows;
    const size_t nBytes = nPixels * kBytesPerPixel;
    std::vector<unsigned char> color(nBytes), mask(nBytes);
    for (size_t i = 0; i < nBytes; ++i) {
        color[i] = input.Byte();
        mask[i] = (input.Byte() & 1) != 0 ? 255 : color[i];
    }
    const std::vector<unsigned char> original = color;

    ApplyMaskAlpha(color.data(), mask.data(), nPixels);
    for (size_t i = 0; i < nPixels; ++i) {
        const unsigned char* before = &original[i * kBytesPerPixel];
        const unsigned char* after = &color[i * kBytesPerPixel];
        const unsigned char* pMask = &mask[i * kBytesPerPixel];
        FUZZ_CHECK(memcmp(before, after, 3) == 0);
        const bool bTransparent = pMask[0] == 255 && pMask[1] == 255 && pMask[2] == 255;
        FUZZ_CHECK(after[3] == (bTransparent ? 0 : (before[3] == 0 ? 255 : before[3])));
    }

    const std::vector<unsigned char> masked = color;
    WhitenTransparentBlack(color.data(), nPixels);
    for (size_t i = 0; i < nPixels; ++i) {
        const unsigned char* before = &masked[i * kBytesPerPixel];
        const unsigned char* after = &color[i * kBytesPerPixel];
        const bool bBlank = before[0] == 0 && before[1] == 0 && before[2] == 0 && before[3] == 0;
        const unsigned char white[kBytesPerPixel] = {255, 255, 255, 255};
        FUZZ_CHECK(memcmp(after, bBlank ? white : before, kBytesPerPixel) == 0);
    }

    // Reversed twice, the rows are back; reversed once, row i is the source's row n-1-i.
    const size_t nRowBytes = nRowPixels * kBytesPerPixel;
    std::vector<unsigned char> reversed(nBytes), twice(nBytes);
    ReverseRows(color.data(), reversed.data(), nRowBytes, nRows);
    ReverseRows(reversed.data(), twice.data(), nRowBytes, nRows);
    FUZZ_CHECK(twice == color);
    for (size_t iRow = 0; iRow < nRows && nRowBytes > 0; ++iRow) {
        FUZZ_CHECK(memcmp(&reversed[iRow * nRowBytes], &color[(nRows - 1 - iRow) * nRowBytes],
                          nRowBytes) == 0);
    }
    CheckParts(input, color);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const int32_t nWidth = input.Int32();
    const int32_t nHeight = input.Int32();
    CheckHeaders(nWidth, nHeight, input.Unit16());
    CheckPixels(input);
    return 0;
}
