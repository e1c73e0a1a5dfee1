// Bounded text operations: cuts, copies into fixed buffers and ASCII-only case folding.
#include <gtest/gtest.h>

#include "common/wide_text.h"
#include "support/readable_text.h"

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

TEST(WideText, OnlySurrogatesOutsideAPairAreReplaced) {
    const struct {
        WideString text;
        WideString expected;
    } cases[] = {
        {WIDE("a\U0001F600b"), WIDE("a\U0001F600b")},
        {WideString(1, 0xD83D), WIDE("\uFFFD")},
        {WideString(1, 0xDE00) + WIDE("x"), WIDE("\uFFFDx")},
        {WideString{0xDE00, 0xD83D}, WIDE("\uFFFD\uFFFD")},             // the wrong way round
        {WideString{0xD800, 0xD83D, 0xDE00}, WIDE("\uFFFD\U0001F600")}, // a high one too many
        {WideString{0xD83D, 0xDE00, 0xDE00}, WIDE("\U0001F600\uFFFD")}, // a low one too many
        {WIDE(""), WIDE("")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, ReplaceLoneSurrogates(c.text)) << Show(c.text);
    }
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
