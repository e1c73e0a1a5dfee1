// The bitmap file's two headers, byte for byte, and the writing of its three parts.
#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "icons/bitmap_layout.h"

namespace {

std::vector<unsigned char> HeaderBytes(const BitmapFileHeaders& headers) {
    std::vector<unsigned char> bytes(headers.bfh, headers.bfh + sizeof(headers.bfh));
    bytes.insert(bytes.end(), headers.bih, headers.bih + sizeof(headers.bih));
    return bytes;
}

TEST(BitmapHeaders, A32By32IconHasTheseFiftyFourBytes) {
    const std::vector<unsigned char> expected = {
        'B',  'M',  0x36, 0x10, 0, 0,       // bfType, bfSize 4150
        0,    0,    0,    0,                // bfReserved1, bfReserved2
        54,   0,    0,    0,                // bfOffBits
        40,   0,    0,    0,                // biSize
        32,   0,    0,    0,                // biWidth
        32,   0,    0,    0,                // biHeight, positive: bottom row first
        1,    0,    32,   0,                // biPlanes, biBitCount
        0,    0,    0,    0,                // biCompression BI_RGB
        0x00, 0x10, 0,    0,                // biSizeImage 4096
        0,    0,    0,    0,    0, 0, 0, 0, // biXPelsPerMeter, biYPelsPerMeter
        0,    0,    0,    0,    0, 0, 0, 0, // biClrUsed, biClrImportant
    };
    BitmapFileHeaders headers;
    memset(&headers, 0xCC, sizeof(headers));
    ASSERT_TRUE(FillBitmapFileHeaders(32, 32, 32, &headers));
    EXPECT_EQ(expected, HeaderBytes(headers));
    EXPECT_EQ(54u, sizeof(headers.bfh) + sizeof(headers.bih));
}

TEST(BitmapHeaders, SizesFollowWidthAndHeight) {
    BitmapFileHeaders headers;
    ASSERT_TRUE(FillBitmapFileHeaders(3, 2, 32, &headers));
    const std::vector<unsigned char> bytes = HeaderBytes(headers);
    EXPECT_EQ(54 + 24, bytes[2]) << "bfSize";
    EXPECT_EQ(3, bytes[18]) << "biWidth";
    EXPECT_EQ(2, bytes[22]) << "biHeight";
    EXPECT_EQ(24, bytes[34]) << "biSizeImage";
}

TEST(BitmapHeaders, RefusesSizesTheFileCannotHold) {
    const struct {
        int32_t nWidth, nHeight;
        uint16_t nBitCount;
    } refused[] = {{0, 32, 32},     {32, 0, 32},     {-32, 32, 32}, {32, -32, 32},
                   {0x4001, 1, 32}, {1, 0x4001, 32}, {32, 32, 24},  {32, 32, 1}};
    for (const auto& r : refused) {
        BitmapFileHeaders headers;
        EXPECT_FALSE(FillBitmapFileHeaders(r.nWidth, r.nHeight, r.nBitCount, &headers))
            << r.nWidth << " x " << r.nHeight << " at " << r.nBitCount << " bits";
    }
    EXPECT_EQ(0x4000u * 0x4000u * 4u, PixelBytesOf(0x4000, 0x4000)) << "the largest fits 32 bits";
}

// Takes what it is given, up to a number of bytes per call and a number of calls.
class RecordingSink : public BitmapPartSink {
  public:
    uint32_t nTakePerCall = 0xFFFFFFFF;
    int nFailFromCall = 1000;
    std::vector<uint32_t> vecAsked;
    std::vector<unsigned char> vecBytes;

    bool Write(const void* pBytes, uint32_t nBytes, uint32_t* pnWritten) override {
        vecAsked.push_back(nBytes);
        if (static_cast<int>(vecAsked.size()) > nFailFromCall) {
            *pnWritten = 0;
            return false;
        }
        *pnWritten = nBytes < nTakePerCall ? nBytes : nTakePerCall;
        const unsigned char* p = static_cast<const unsigned char*>(pBytes);
        vecBytes.insert(vecBytes.end(), p, p + *pnWritten);
        return true;
    }
};

TEST(BitmapParts, FileHeaderThenInfoHeaderThenPixels) {
    BitmapFileHeaders headers;
    ASSERT_TRUE(FillBitmapFileHeaders(32, 32, 32, &headers));
    const std::vector<unsigned char> pixels(4096, 0x5A);
    RecordingSink sink;
    EXPECT_TRUE(WriteBitmapParts(headers, pixels.data(), 4096, sink));
    EXPECT_EQ((std::vector<uint32_t>{14, 40, 4096}), sink.vecAsked);
    ASSERT_EQ(4150u, sink.vecBytes.size());
    std::vector<unsigned char> expected = HeaderBytes(headers);
    expected.insert(expected.end(), pixels.begin(), pixels.end());
    EXPECT_EQ(expected, sink.vecBytes);
}

TEST(BitmapParts, APartTakenOnlyInPartIsAFailure) {
    BitmapFileHeaders headers;
    ASSERT_TRUE(FillBitmapFileHeaders(32, 32, 32, &headers));
    const std::vector<unsigned char> pixels(4096, 0);
    RecordingSink sink;
    sink.nTakePerCall = 1000; // the headers fit, the pixels do not
    EXPECT_FALSE(WriteBitmapParts(headers, pixels.data(), 4096, sink))
        << "1000 of 4096 pixel bytes written was reported as success";
}

TEST(BitmapParts, AFailingPartEndsTheWriting) {
    BitmapFileHeaders headers;
    ASSERT_TRUE(FillBitmapFileHeaders(32, 32, 32, &headers));
    const std::vector<unsigned char> pixels(4096, 0);
    for (int nFailFrom = 0; nFailFrom < 3; ++nFailFrom) {
        RecordingSink sink;
        sink.nFailFromCall = nFailFrom;
        EXPECT_FALSE(WriteBitmapParts(headers, pixels.data(), 4096, sink))
            << "call " << nFailFrom + 1 << " failed";
        EXPECT_EQ(static_cast<size_t>(nFailFrom + 1), sink.vecAsked.size())
            << "no part may follow a failed one";
    }
}

} // namespace
