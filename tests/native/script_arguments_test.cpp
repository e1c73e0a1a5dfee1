// Which arguments a method may read, and the bounded launch failure message.
#include <gtest/gtest.h>

#include <string>

#include "common/path_text.h"
#include "script/script_arguments.h"

namespace {

NPVariant StringVariant(const char* text, uint32_t nLength) {
    NPVariant variant;
    variant.type = NPVariantType_String;
    variant.value.stringValue.UTF8Characters = text;
    variant.value.stringValue.UTF8Length = nLength;
    return variant;
}

NPVariant ObjectVariant(NPObject* object) {
    NPVariant variant;
    variant.type = NPVariantType_Object;
    variant.value.objectValue = object;
    return variant;
}

NPVariant IntVariant(int32_t value) {
    NPVariant variant;
    variant.type = NPVariantType_Int32;
    variant.value.intValue = value;
    return variant;
}

TEST(ScriptArguments, AStringIsReadOnlyFromAFirstArgumentThatIsAString) {
    NPObject object = {nullptr, 1};
    const NPVariant text[] = {StringVariant("C:\\x.exe", 8), IntVariant(1)};
    const NPVariant number[] = {IntVariant(7)};
    const NPVariant function[] = {ObjectVariant(&object)};

    ASSERT_NE(nullptr, StringArgument(text, 2));
    EXPECT_EQ(8u, StringArgument(text, 2)->UTF8Length);
    EXPECT_EQ(nullptr, StringArgument(text, 0)) << "no argument";
    EXPECT_EQ(nullptr, StringArgument(nullptr, 0));
    EXPECT_EQ(nullptr, StringArgument(number, 1));
    EXPECT_EQ(nullptr, StringArgument(function, 1));
}

TEST(ScriptArguments, ACallbackIsTheOneAndOnlyArgumentWhenItIsAnObject) {
    NPObject first = {nullptr, 1};
    NPObject second = {nullptr, 1};
    const NPVariant one[] = {ObjectVariant(&first)};
    const NPVariant two[] = {ObjectVariant(&first), ObjectVariant(&second)};
    const NPVariant text[] = {StringVariant("f", 1)};

    EXPECT_EQ(&first, CallbackArgument(one, 1));
    EXPECT_EQ(nullptr, CallbackArgument(two, 2)) << "two functions";
    EXPECT_EQ(nullptr, CallbackArgument(text, 1)) << "a string";
    EXPECT_EQ(nullptr, CallbackArgument(nullptr, 0)) << "no argument";
}

TEST(ScriptArguments, APathMustLeaveRoomForItsTerminator) {
    EXPECT_TRUE(FitsPathBuffer(WideString(259, 'a')));
    EXPECT_FALSE(FitsPathBuffer(WideString(260, 'a')));
    EXPECT_TRUE(FitsPathBuffer(WideString()));
}

TEST(LaunchFailureMessage, FollowsTheWordsWithThePathAndFitsAPathBuffer) {
    const WideString prefix = WIDE("\u6CA1\u627E\u5230\u6307\u5B9A\u7684\u7A0B\u5E8F");
    EXPECT_EQ(prefix + WIDE("C:\\nope\\x.exe"),
              FormatLaunchFailureMessage(WIDE("C:\\nope\\x.exe")));
    EXPECT_EQ(prefix, FormatLaunchFailureMessage(WideString()));
    EXPECT_EQ(prefix + WIDE("ab"), FormatLaunchFailureMessage(WIDE("a\u202E\r\nb")));

    const WideString exact(251, 'p'); // 8 + 251 = 259 units: fits whole
    EXPECT_EQ(prefix + exact, FormatLaunchFailureMessage(exact));
    const WideString message = FormatLaunchFailureMessage(WideString(5000, 'p'));
    EXPECT_EQ(259u, message.size());
    EXPECT_EQ(prefix, message.substr(0, 8));
}

TEST(ScriptArguments, APieceOfUtf8EndsBetweenSequences) {
    const struct {
        const char* what;
        std::string bytes;
        size_t nMax;
        size_t nExpected;
    } cases[] = {
        {"all within reach", "abc", 8, 3},
        {"ASCII cut anywhere", "abcdef", 4, 4},
        {"before a two-byte sequence", "ab\xC3\xA9", 3, 2},
        {"after a two-byte sequence",
         "a\xC3\xA9"
         "b",
         3, 3},
        {"inside a three-byte sequence", "a\xE7\xA8\x8Bz", 3, 1},
        {"inside a four-byte sequence", "a\xF0\x9F\x98\x80z", 4, 1},
        {"at most three bytes back", "a\x80\x80\x80\x80\x80", 5, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.nExpected, Utf8PieceLength(c.bytes.data(), c.bytes.size(), c.nMax)) << c.what;
    }
}

} // namespace
