// The native messaging host's rules: frames cut anywhere, JSON-RPC requests, data URLs, UTF-8.
#include <gtest/gtest.h>

#include "common/wide_text.h"
#include "messaging_host/data_url.h"
#include "messaging_host/host_arguments.h"
#include "messaging_host/host_methods.h"
#include "messaging_host/message_frames.h"
#include "messaging_host/rpc_messages.h"
#include "support/readable_text.h"

namespace {

std::vector<FrameEvent> ReadAll(const std::string& stream, size_t nPiece, bool* pbInside) {
    FrameReader reader;
    std::vector<FrameEvent> events;
    for (size_t i = 0; i < stream.size(); i += nPiece) {
        reader.Feed(stream.data() + i, std::min(nPiece, stream.size() - i), events);
    }
    *pbInside = reader.InsideMessage();
    return events;
}

TEST(MessageFrames, MessagesComeWholeHoweverTheStreamIsCut) {
    const std::string big(kMaxRequestBytes + 1, 'x');
    const std::string stream = FrameMessage("{\"a\":1}") + FrameMessage("") +
                               FrameMessage(std::string(300, '\n')) + FrameMessage(big) +
                               FrameMessage("after");
    EXPECT_EQ(std::string("\x07\0\0\0", 4), FrameMessage("{\"a\":1}").substr(0, 4));
    for (size_t nPiece : {1, 2, 3, 5, 4096, 100000}) {
        bool bInside = true;
        const std::vector<FrameEvent> events = ReadAll(stream, nPiece, &bInside);
        ASSERT_EQ(5u, events.size()) << "pieces of " << nPiece;
        EXPECT_EQ("{\"a\":1}", events[0].body);
        EXPECT_EQ("", events[1].body);
        EXPECT_EQ(std::string(300, '\n'), events[2].body);
        EXPECT_EQ(FrameEvent::Oversized, events[3].kind);
        EXPECT_EQ(big.size(), events[3].length);
        EXPECT_EQ("after", events[4].body) << "the oversized message's bytes were skipped";
        EXPECT_FALSE(bInside);
    }
    bool bInside = false;
    EXPECT_TRUE(ReadAll(FrameMessage("whole").substr(0, 6), 1, &bInside).empty());
    EXPECT_TRUE(bInside) << "a stream that ends inside a message";
}

TEST(RpcMessages, RequestsAndTheAnswersToWhatIsNotOne) {
    struct Case {
        std::string text;
        int nCode; // 0: a request
        std::string id;
    } cases[] = {
        {R"({"jsonrpc":"2.0","id":7,"method":"hello","params":{"origin":"https://a.b"}})", 0, "7"},
        {R"({"jsonrpc":"2.0","id":"x","method":"hello"})", 0, "\"x\""},
        {"not json", RpcParseError, "null"},
        {"", RpcParseError, "null"},
        {"[1,2]", RpcInvalidRequest, "null"},
        {R"({"id":3,"method":"hello"})", RpcInvalidRequest, "3"},
        {R"({"jsonrpc":"2.0","method":"hello"})", RpcInvalidRequest, "null"},
        {R"({"jsonrpc":"2.0","id":{},"method":"hello"})", RpcInvalidRequest, "null"},
        {R"({"jsonrpc":"2.0","id":4,"method":5})", RpcInvalidRequest, "4"},
        {R"({"jsonrpc":"2.0","id":5,"method":"hello","params":[1]})", RpcInvalidRequest, "5"},
    };
    for (const Case& c : cases) {
        RpcRequest request;
        std::string answer;
        const bool bRequest = ReadRequest(c.text, request, answer);
        EXPECT_EQ(c.nCode == 0, bRequest) << c.text;
        const nlohmann::json parsed =
            nlohmann::json::parse(bRequest ? ResultAnswer(request.id, true) : answer);
        EXPECT_EQ(c.id, parsed["id"].dump()) << c.text;
        EXPECT_EQ("2.0", parsed["jsonrpc"]);
        if (!bRequest) {
            EXPECT_EQ(c.nCode, parsed["error"]["code"]) << c.text;
        }
    }
    const std::string tooLong = ResultAnswer(1, std::string(kMaxAnswerBytes, 'a'));
    EXPECT_EQ(RpcInternalError, nlohmann::json::parse(BoundedAnswer(1, tooLong))["error"]["code"]);
    EXPECT_EQ(ErrorAnswer(1, RpcNothingStarted, "no"),
              BoundedAnswer(1, ErrorAnswer(1, RpcNothingStarted, "no")));
    EXPECT_NE(std::string::npos, ResultAnswer(1, "\xff").find("\xef\xbf\xbd")) << "U+FFFD";
}

TEST(DataUrl, Base64OfTheTestVectors) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},        {"f", "Zg=="},          {"fo", "Zm8="},
        {"foo", "Zm9v"}, {"foobar", "Zm9vYmFy"}, {std::string("\xff\xfe\0", 3), "//4A"}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.second, Base64(std::vector<unsigned char>(c.first.begin(), c.first.end())));
    }
    EXPECT_EQ("data:image/bmp;base64,Qk0=", DataUrl("image/bmp", {'B', 'M'}));
}

TEST(Utf8, BothWaysWithReplacementsForWhatIsBroken) {
    const std::pair<WideString, std::string> wellFormed[] = {
        {WIDE("a\u00E9\u8BB0"), "a\xC3\xA9\xE8\xAE\xB0"}, {WIDE("\U0001F600"), "\xF0\x9F\x98\x80"}};
    for (const auto& c : wellFormed) {
        EXPECT_EQ(c.second, Utf8FromWide(c.first)) << Show(c.first);
        EXPECT_EQ(c.first, WideFromUtf8(c.second)) << Show(c.first);
    }
    EXPECT_EQ("\xEF\xBF\xBD"
              "a",
              Utf8FromWide(WideString(1, 0xD800) + WIDE("a")));
    const std::pair<std::string, WideString> broken[] = {
        {"\xC0\xAF", WIDE("\uFFFD\uFFFD")},           // overlong
        {"\xED\xA0\x80", WIDE("\uFFFD\uFFFD\uFFFD")}, // a surrogate's code
        {"\xE8\xAE", WIDE("\uFFFD\uFFFD")},           // cut short
        {"a\xFF"
         "b",
         WIDE("a\uFFFDb")}};
    for (const auto& c : broken) {
        EXPECT_EQ(c.second, WideFromUtf8(c.first)) << Show(WideFromUtf8(c.first));
    }
}

// Operations that record what they were asked and answer as told.
class FakeOperations : public HostOperations {
  public:
    OriginStanding StandingOf(const std::string& origin) override {
        return origin == "https://evil" ? OriginRefused
               : origin == "https://listed" ? OriginListed
                                            : OriginUnregulated;
    }
    nlohmann::json Description() override { return {{"protocol", 1}}; }
    std::vector<HostEntry> RecentApplications(std::string& text) override {
        text = "C:\\a.exe*a#";
        return {{"C:\\a.exe", "a", "data:image/bmp;base64,"}, {"C:\\b.exe", "b", ""}};
    }
    bool RunApplication(const std::string& application) override {
        ran.push_back(application);
        return application != "missing";
    }
    HostPick SelectApplication(HostEntry& entry) override {
        entry = {"C:\\p.exe", "p", ""};
        return pick;
    }
    std::vector<std::string> ran;
    HostPick pick = HostPicked;
};

TEST(HostMethods, EachMethodsAnswerAndEachRefusal) {
    struct Case {
        std::string method;
        std::string params;
        HostPick pick;
        std::string answer; // the result, or the error code
    } cases[] = {
        {"hello", R"({"origin":"https://a"})", HostPicked, R"({"policy":"none","protocol":1})"},
        {"hello", R"({"origin":"https://listed"})", HostPicked,
         R"({"policy":"listed","protocol":1})"},
        {"recentApplications", R"({"origin":"https://a"})", HostPicked,
         R"({"entries":[{"icon":"data:image/bmp;base64,","name":"a","path":"C:\\a.exe"},)"
         R"({"icon":null,"name":"b","path":"C:\\b.exe"}],"text":"C:\\a.exe*a#"})"},
        {"runApplication", R"({"origin":"https://a","application":"C:\\t.exe"})", HostPicked,
         R"({"started":true})"},
        {"runApplication", R"({"origin":"https://a","application":"missing"})", HostPicked,
         "-32001"},
        {"runApplication", R"({"origin":"https://a","application":""})", HostPicked, "-32602"},
        {"runApplication", R"({"origin":"https://a","application":7})", HostPicked, "-32602"},
        {"selectApplication", R"({"origin":"https://a"})", HostPicked,
         R"({"entry":{"icon":null,"name":"p","path":"C:\\p.exe"}})"},
        {"selectApplication", R"({"origin":"https://a"})", HostPickCancelled,
         R"({"cancelled":true})"},
        {"selectApplication", R"({"origin":"https://a"})", HostPickBusy, "-32002"},
        {"hello", R"({})", HostPicked, "-32602"},
        {"hello", R"({"origin":"https://evil"})", HostPicked, "-32000"},
        {"runApplication", R"({"origin":"https://evil","application":"x"})", HostPicked, "-32000"},
        {"format", R"({"origin":"https://a"})", HostPicked, "-32601"},
    };
    for (const Case& c : cases) {
        FakeOperations operations;
        operations.pick = c.pick;
        const RpcRequest request = {9, c.method, nlohmann::json::parse(c.params)};
        const nlohmann::json answer = nlohmann::json::parse(AnswerRequest(request, operations));
        EXPECT_EQ(9, answer["id"]) << c.method << " " << c.params;
        EXPECT_EQ(c.answer, answer.contains("result") ? answer["result"].dump()
                                                      : answer["error"]["code"].dump())
            << c.method << " " << c.params;
        if (c.params.find("evil") != std::string::npos) {
            EXPECT_TRUE(operations.ran.empty()) << "a refused origin started something";
        }
    }
}

TEST(HostArguments, WhoStartedTheHostAndWhetherItIsServed) {
    const std::string chromium = std::string("chrome-extension://") + kChromiumExtensionId + "/";
    struct Case {
        std::vector<std::string> arguments;
        HostCaller::Browser browser;
        uint64_t parentWindow;
        bool bServed;
    } cases[] = {
        {{chromium, "--parent-window=1234"}, HostCaller::Chromium, 1234, true},
        {{"--parent-window=0", chromium}, HostCaller::Chromium, 0, true},
        {{chromium, "--parent-window=99999999999999999999"}, HostCaller::Chromium, 0, true},
        {{chromium, "--parent-window=12x"}, HostCaller::Chromium, 0, true},
        {{"C:\\hosts\\desklaunch.json", kFirefoxExtensionId}, HostCaller::Firefox, 0, true},
        {{"chrome-extension://abcdefghijklmnopabcdefghijklmnop/"}, HostCaller::Chromium, 0, false},
        {{chromium.substr(0, chromium.size() - 1)}, HostCaller::Unknown, 0, false},
        {{chromium + "x/"}, HostCaller::Unknown, 0, false},
        {{"C:\\m.json", "other@example.org"}, HostCaller::Firefox, 0, false},
        {{"C:\\m.json", kFirefoxExtensionId, "extra"}, HostCaller::Unknown, 0, false},
        {{}, HostCaller::Unknown, 0, false},
    };
    for (const Case& c : cases) {
        const HostCaller caller = ReadHostArguments(c.arguments);
        const std::string shown = c.arguments.empty() ? "(none)" : c.arguments[0];
        EXPECT_EQ(c.browser, caller.browser) << shown;
        EXPECT_EQ(c.parentWindow, caller.parentWindow) << shown;
        EXPECT_EQ(c.bServed, IsServedCaller(caller)) << shown;
    }
}

} // namespace
