// Bounded text operations: cuts, copies into fixed buffers and ASCII-only case folding.
#include <gtest/gtest.h>

#include "common/wide_text.h"
#include "readable_text.h"

namespace {

TEST(WideText, TextBeforeZeroStopsAtTheFirstZeroOrTheEnd) {
    const WideChar units[] = {'a', 'b', 0, 'c'};
    EXPECT_EQ(WIDE("ab"), TextBeforeZero(units, 4));
    EXPECT_EQ(WIDE("a"), TextBeforeZero(units, 1));
    EXPECT_EQ(WIDE(""), TextBeforeZero(units, 0));
}

TEST(WideText, CutToLengthNeverSplitsASurrogatePair) {
    const WideString text = WIDE("ab\U0001F600c"); // a, b, pair, c
    EXPECT_EQ(WIDE("ab"), CutToLength(text, 3)) << Show(CutToLength(text, 3));
    EXPECT_EQ(WIDE("ab\U0001F600"), CutToLength(text, 4));
    EXPECT_EQ(text, CutToLength(text, 99));
    EXPECT_EQ(WIDE(""), CutToLength(text, 0));
}

TEST(WideText, CopyToBufferFillsAtMostCapacityIncludingTheTerminator) {
    WideChar buffer[5];
    for (WideChar& unit : buffer) {
        unit = 'x';
    }
    CopyToBuffer(buffer, 4, WIDE("abcdef"));
    EXPECT_EQ(WIDE("abc"), WideString(buffer));
    EXPECT_EQ('x', buffer[4]) << "wrote past the capacity";
    CopyToBuffer(buffer, 4, WIDE("z"));
    EXPECT_EQ(WIDE("z"), WideString(buffer));
}

TEST(WideText, CaseFoldingTouchesOnlyAsciiLetters) {
    struct Case {
        const WideChar* left;
        const WideChar* right;
        bool bEqual;
    } cases[] = {
        {WIDE("NOTEPAD"), WIDE("Notepad"), true},
        {WIDE("notepad"), WIDE("notepad"), true},
        {WIDE("\u00C9diteur"), WIDE("\u00E9diteur"), false}, // É and é differ
        {WIDE("\u8BB0\u4E8B\u672C"), WIDE("\u8BB0\u4E8B\u672C"), true},
        {WIDE("Notepad"), WIDE("Notepad2"), false},
        {WIDE("[a]"), WIDE("{A}"), false}, // brackets sit 32 apart from letters' neighbours
        {WIDE(""), WIDE(""), true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.bEqual, EqualsIgnoringAsciiCase(c.left, c.right))
            << Show(c.left) << " vs " << Show(c.right);
    }
}

} // namespace
