// What of an outside text is shown: everything but the characters that change its layout.
#include <gtest/gtest.h>

#include "common/shown_text.h"
#include "support/readable_text.h"

namespace {

TEST(ShownText, ControlAndBidirectionalFormattingCharactersAreRemoved) {
    const struct {
        WideString text;
        WideString shown;
    } cases[] = {
        {WIDE("C:\\x.exe"), WIDE("C:\\x.exe")},
        {WIDE("a\r\nb\tc\x1B[0m"), WIDE("abc[0m")},
        {WideString{'a', 0, 'b', 0x1F, 0x7F, 0x80, 0x9F, 'c'}, WIDE("abc")},
        {WIDE("x\u202Eexe.txt"), WIDE("xexe.txt")},
        {WIDE("\u202A\u202B\u202C\u202D\u202E\u2066\u2067\u2068\u2069\u200E\u200F\u061C"),
         WIDE("")},
        {WIDE("a\u2028b\u2029c"), WIDE("abc")},
        // Neighbours of the removed ranges stay, as do letters, pairs and lone surrogates.
        {WIDE(" ~\u00A0\u200D\u2027\u202F\u2065\u206A\u7A0B\U0001F600\xD800"),
         WIDE(" ~\u00A0\u200D\u2027\u202F\u2065\u206A\u7A0B\U0001F600\xD800")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.shown, WithoutLayoutCharacters(c.text)) << Show(c.text);
    }
}

} // namespace
