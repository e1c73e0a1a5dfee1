// Text across the browser boundary, through the system's UTF-8 conversions and the browser's heap.
#include "module_fixture.h"
#include "npruntime/browser_services.h"
#include "script/string_marshalling.h"

namespace {

using nphost::Browser;

class Marshalling : public ::testing::Test {
  protected:
    void SetUp() override {
        // The module's code linked into this program keeps the host's table, as after
        // NP_Initialize.
        const NPNetscapeFuncs funcs = Browser::Get().Funcs();
        KeepBrowserFuncs(&funcs);
    }
    nphost::TrackedAllocator& Heap() { return Browser::Get().Allocator(); }
};

TEST_F(Marshalling, WideTextBecomesExactlyItsUtf8BytesWithoutATerminator) {
    const struct {
        std::wstring text;
        std::string utf8;
    } cases[] = {
        {L"\u9519\u8BEF", "\xE9\x94\x99\xE8\xAF\xAF"},
        {L"a", "a"},
        {L"C:\\x.exe*x#", "C:\\x.exe*x#"},
        {L"\U0001F600", "\xF0\x9F\x98\x80"},
        // A surrogate outside a pair becomes U+FFFD, whatever the system's conversion does.
        {std::wstring(L"a\xD800") + L"b\xDC00", "a\xEF\xBF\xBD"
                                                "b\xEF\xBF\xBD"},
    };
    for (const auto& c : cases) {
        NPVariant result = Sentinel();
        ASSERT_TRUE(WideStringToVariant(c.text, &result));
        ASSERT_EQ(NPVariantType_String, result.type);
        const NPString& value = result.value.stringValue;
        EXPECT_EQ(c.utf8, std::string(value.UTF8Characters, value.UTF8Length));
        EXPECT_EQ(static_cast<long long>(c.utf8.size()), Heap().BlockSize(value.UTF8Characters))
            << "block of " << Show(c.text);
        Browser::Get().ReleaseVariantValue(&result);
    }
}

TEST_F(Marshalling, EmptyTextGivesNoValueAndAsksForNoMemory) {
    Heap().ClearRequests();
    NPVariant result = Sentinel();
    EXPECT_TRUE(WideStringToVariant(std::wstring(), &result));
    EXPECT_TRUE(IsSentinel(result));
    EXPECT_TRUE(Heap().Requests().empty());
}

TEST_F(Marshalling, WithoutBrowserMemoryTheResultStaysUntouched) {
    Heap().FailNext(1);
    const size_t nBlocks = Heap().OutstandingBlocks();
    NPVariant result = Sentinel();
    EXPECT_FALSE(WideStringToVariant(L"C:\\Windows\\notepad.exe", &result));
    EXPECT_TRUE(IsSentinel(result));
    EXPECT_EQ(nBlocks, Heap().OutstandingBlocks());
}

TEST_F(Marshalling, AnArgumentConvertsWithinItsLengthAndEndsAtAZero) {
    const struct {
        std::string bytes;
        uint32_t nLength;
        bool bConverts;
        std::wstring text;
    } cases[] = {
        {"C:\\x.exe", 8, true, L"C:\\x.exe"},
        {"C:\\x.exeMORE", 8, true, L"C:\\x.exe"},
        {std::string("ab\0cd", 5), 5, true, L"ab"},
        {"\xE8\xAE\xB0\xE4\xBA\x8B\xE6\x9C\xAC", 9, true, L"\u8BB0\u4E8B\u672C"},
        {"\xE8\xAE", 2, true, L"\uFFFD"}, // a cut sequence is replaced, not read past
        {"\xC0\xAF", 2, true, L"\uFFFD\uFFFD"},
        {"", 0, false, L""},
    };
    for (const auto& c : cases) {
        NPString npstr = {c.bytes.data(), c.nLength};
        std::wstring text = L"unchanged";
        EXPECT_EQ(c.bConverts, Utf8ArgumentToWide(npstr, text)) << c.bytes;
        if (c.bConverts) {
            EXPECT_EQ(c.text, text) << Show(text);
        }
    }
}

} // namespace
