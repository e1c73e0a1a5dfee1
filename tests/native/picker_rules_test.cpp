// Placement of the picker dialog and the naming of the file the user chose.
#include <gtest/gtest.h>

#include "common/path_text.h"
#include "picker/picker_rules.h"
#include "support/readable_text.h"

namespace {

const ScreenRect kWorkArea = {0, 0, 1280, 1024};

TEST(PickerPlacement, CentresOverTheOwnerOrTheWorkAreaThenClampsOncePerAxis) {
    const ScreenRect dialog = {10, 20, 10 + 501, 20 + 301}; // odd sizes: 501 x 301
    const ScreenRect frame = {100, 100, 900, 700};
    const ScreenRect rightEdge = {1000, 100, 1800, 700};
    const ScreenRect bottomEdge = {100, 900, 900, 1500};
    const ScreenRect offLeftTop = {-900, -700, -100, -100};
    const ScreenRect oddFrame = {101, 101, 900, 700}; // centre 500.5 truncates to 500
    const ScreenRect negativeCentre = {-7, -7, 0, 0}; // centre -3.5 truncates toward zero: -3
    const ScreenRect smallArea = {0, 0, 400, 200};    // narrower than the dialog
    const struct {
        const char* what;
        const ScreenRect* pCentering;
        ScreenRect area;
        int32_t x;
        int32_t y;
    } cases[] = {
        {"over the frame", &frame, kWorkArea, 500 - 250, 400 - 150},
        {"no centring window: the work area", nullptr, kWorkArea, 640 - 250, 512 - 150},
        {"frame at the right edge", &rightEdge, kWorkArea, 1280 - 501, 400 - 150},
        {"frame at the bottom edge", &bottomEdge, kWorkArea, 500 - 250, 1024 - 301},
        {"frame beyond the left and top", &offLeftTop, kWorkArea, 0, 0},
        {"odd frame, truncating halves", &oddFrame, kWorkArea, 500 - 250, 400 - 150},
        {"negative centre truncates toward zero",
         &negativeCentre,
         {-1000, -1000, 1000, 1000},
         -3 - 250,
         -3 - 150},
        {"area smaller than the dialog: only the left/top test applies", nullptr, smallArea, 0, 0},
    };
    for (const auto& c : cases) {
        const ScreenPoint point = CenterDialogPosition(dialog, c.pCentering, c.area);
        EXPECT_EQ(c.x, point.x) << c.what;
        EXPECT_EQ(c.y, point.y) << c.what;
    }
}

TEST(PickerPlacement, RectanglesAtTheEndsOfTheCoordinateRangeNeitherOverflowNorWrap) {
    const ScreenRect whole = {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    const ScreenRect farRight = {INT32_MAX - 2, INT32_MAX - 2, INT32_MAX, INT32_MAX};
    const ScreenRect farLeftArea = {INT32_MIN, INT32_MIN, INT32_MIN + 10, INT32_MIN + 10};
    const struct {
        const char* what;
        const ScreenRect* pCentering;
        ScreenRect area;
        int32_t xy;
    } cases[] = {
        {"a dialog as large as the range, over the work area", nullptr, kWorkArea, 0},
        // Centred near the top of the range, then pushed back by its whole size: past the range.
        {"pushed left beyond the range: held at its end", &farRight, farLeftArea, INT32_MIN},
    };
    for (const auto& c : cases) {
        const ScreenPoint point = CenterDialogPosition(whole, c.pCentering, c.area);
        EXPECT_EQ(c.xy, point.x) << c.what;
        EXPECT_EQ(c.xy, point.y) << c.what;
    }
}

TEST(PickerPlacement, OnlyAVisibleUnminimisedOwnerIsCentredOn) {
    const struct {
        const char* what;
        bool bHasOwner;
        uint32_t dwStyle;
        bool bExpected;
    } cases[] = {
        {"visible", true, 0x10CF0000, true},
        {"hidden", true, 0x00CF0000, false},
        {"minimised", true, 0x30CF0000, false},
        {"no owner", false, 0x10CF0000, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.bExpected, CanCenterOnOwner(c.bHasOwner, c.dwStyle)) << c.what;
    }
}

TEST(PickerNaming, ShortcutsAreFoundByTheExactTextAnywhereInThePath) {
    const struct {
        const char16_t* path;
        bool bShortcut;
    } cases[] = {
        {u"C:\\Links\\Editor.lnk", true},
        {u"C:\\a.lnk.d\\tool.exe", true},
        {u"C:\\Links\\Editor.LNK", false},
        {u"C:\\Tools\\tool.exe", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.bShortcut, IsShortcutPath(c.path)) << Show(c.path);
    }
}

TEST(PickerNaming, OnlyTheLastExtensionIsRemovedFromTheTitle) {
    const struct {
        const char16_t* title;
        const char16_t* expected;
    } cases[] = {
        {u"tool.exe", u"tool"},
        {u"my.tool.exe", u"my.tool"},
        {u"Editor.lnk", u"Editor"},
        {u"README", u"README"},
        {u".exe", u""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WideString(c.expected), TitleWithoutLastExtension(c.title)) << Show(c.title);
    }
}

TEST(PickerNaming, ADisplayNameFitsANameBufferWithoutSplittingAPair) {
    const WideString wstrLong(400, u'N');
    EXPECT_EQ(259u, ReplyDisplayName(wstrLong).size());
    const WideString wstrPairAtCut = WideString(258, u'N') + u"\xD83D\xDE00" + u"tail";
    EXPECT_EQ(WideString(258, u'N'), ReplyDisplayName(wstrPairAtCut));
    EXPECT_EQ(WideString(u"My Tool"), ReplyDisplayName(u"My Tool"));
}

} // namespace
