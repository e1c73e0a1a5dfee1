// Bitmap files of application icons: every byte for each kind of icon, names, folders, faults.
#include <gtest/gtest.h>

#include "icon_test_support.h"
#include "icons/bitmap_file.h"

namespace {

using namespace icons;

std::string Show(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

const size_t kHeaderBytes = 54;

TEST(StoredIcon, EveryByteOfEachKindOfIcon) {
    const struct {
        const wchar_t* carrier;
        IconKind kind;
    } cases[] = {
        {L"alpha", kAlpha}, {L"classic", kClassic}, {L"invert", kInvert},
        {L"small", kSmall}, {L"large", kLarge48},   {L"mono", kMonochrome},
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

} // namespace
