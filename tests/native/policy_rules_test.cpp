// The administrator's policy rules: origins parsed and matched part by part, the policy value's
// strings, and which launches reach only listed programs.
#include <gtest/gtest.h>

#include <string.h>

#include "app/policy_rules.h"
#include "support/app_record.h"
#include "support/readable_text.h"

namespace {

TEST(PolicyRules, AnOriginMatchesBySchemeHostAndPortOnly) {
    const struct {
        const WideChar* allowed;
        const WideChar* page;
        bool expected;
    } cases[] = {
        {WIDE("https://portal.example.com"), WIDE("https://portal.example.com"), true},
        {WIDE("https://Portal.Example.com"), WIDE("HTTPS://PORTAL.example.COM"), true},
        {WIDE(" https://portal.example.com/\t"), WIDE("https://portal.example.com/"), true},
        // Default ports, written or not; any other port is another origin.
        {WIDE("https://portal.example.com"), WIDE("https://portal.example.com:443"), true},
        {WIDE("http://portal.example.com:80"), WIDE("http://portal.example.com"), true},
        {WIDE("https://portal.example.com"), WIDE("https://portal.example.com:8443"), false},
        {WIDE("https://portal.example.com:8443"), WIDE("https://portal.example.com:8443"), true},
        {WIDE("http://portal.example.com:443"), WIDE("https://portal.example.com"), false},
        {WIDE("https://portal.example.com"), WIDE("http://portal.example.com"), false},
        // No text tricks.
        {WIDE("https://example.com"), WIDE("https://example.com.evil.net"), false},
        {WIDE("https://example.com"), WIDE("https://example.com@evil.net"), false},
        {WIDE("https://example.com"), WIDE("https://evil.net/https://example.com"), false},
        {WIDE("https://example.com"), WIDE("https://example.com/path"), false},
        {WIDE("https://example.com"), WIDE("https://example.com."), false},
        {WIDE("https://example.com"), WIDE("https://example%2ecom"), false},
        {WIDE("https://example.com"), WIDE("https://example.com\\"), false},
        {WIDE("https://example.com"), WIDE("null"), false},
        {WIDE("https://example.com"), WIDE(""), false},
        {WIDE("https://b\u00FCcher.example"), WIDE("https://b\u00FCcher.example"), false},
        // "*." names the subdomains, not the domain itself.
        {WIDE("https://*.example.com"), WIDE("https://a.example.com"), true},
        {WIDE("https://*.example.com"), WIDE("https://a.b.example.com"), true},
        {WIDE("https://*.example.com"), WIDE("https://example.com"), false},
        {WIDE("https://*.example.com"), WIDE("https://evilexample.com"), false},
        {WIDE("https://*.example.com"), WIDE("https://a.example.com.evil.net"), false},
        {WIDE("https://*.example.com"), WIDE("https://a.example.com:8443"), false},
        {WIDE("https://*.example.com"), WIDE("https://*.example.com"), false},
        {WIDE("https://*example.com"), WIDE("https://aexample.com"), false},
        {WIDE("https://a.*.com"), WIDE("https://a.b.com"), false},
        {WIDE("https://*"), WIDE("https://a"), false},
        {WIDE("*.example.com"), WIDE("https://a.example.com"), false},
        {WIDE("http://*.0.0.5"), WIDE("http://10.0.0.5"), false},
        // Local file pages, addresses, ports out of range.
        {WIDE("file://"), WIDE("file://"), true},
        {WIDE("file://"), WIDE("file:///"), true},
        {WIDE("file://"), WIDE("file://server"), false},
        {WIDE("file://"), WIDE("https://file"), false},
        {WIDE("https://example.com"), WIDE("file://"), false},
        {WIDE("http://10.0.0.5:8080"), WIDE("http://10.0.0.5:8080"), true},
        {WIDE("http://[::1]:8080"), WIDE("http://[::1]:8080"), true},
        {WIDE("http://[::1]"), WIDE("http://[::2]"), false},
        {WIDE("https://example.com:0"), WIDE("https://example.com:0"), false},
        {WIDE("https://example.com:65536"), WIDE("https://example.com:65536"), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, IsOriginAllowed({c.allowed}, c.page))
            << Show(c.allowed) << " against " << Show(c.page);
    }
    EXPECT_FALSE(IsOriginAllowed({}, WIDE("https://portal.example.com")));
    EXPECT_TRUE(IsOriginAllowed({WIDE("nonsense"), WIDE("file://"), WIDE("https://a.example")},
                                WIDE("https://a.example")));
}

TEST(PolicyRules, AMultiStringGivesItsNonEmptyStrings) {
    const WideChar units[] = {'a', 0, 0, 'b', 'c', 0, 'd'};
    const std::vector<WideString> expected = {WIDE("a"), WIDE("bc"), WIDE("d")};
    EXPECT_EQ(expected, SplitMultiString(units, 7));
    EXPECT_EQ(std::vector<WideString>({WIDE("a")}), SplitMultiString(units, 3));
    EXPECT_TRUE(SplitMultiString(units, 0).empty());
}

TEST(PolicyRules, ALaunchReachesOnlyListedPrograms) {
    const std::vector<WideString> listed = {WIDE("C:\\Apps\\tool.exe"), WIDE("C:\\Picked\\p.exe")};
    EXPECT_TRUE(IsListedPath(listed, WIDE("c:\\APPS\\Tool.exe")));
    EXPECT_TRUE(IsListedPath(listed, WIDE("\"C:\\Picked\\p.exe\"")));
    EXPECT_FALSE(IsListedPath(listed, WIDE("C:\\Apps\\tool.exe ")));
    EXPECT_FALSE(IsListedPath(listed, WIDE("\"C:\\Apps\\tool.exe\" x")));
    EXPECT_FALSE(IsListedPath(listed, WIDE("C:\\Apps\\..\\Apps\\tool.exe")));
    EXPECT_FALSE(IsListedPath(listed, WIDE("\"\"")));

    const std::vector<AppEntry> apps = {Record(WIDE("Tool"), WIDE("C:\\Apps\\tool.exe")),
                                        Record(WIDE("setup"), WIDE("C:\\Down\\setup.exe")),
                                        Record(WIDE("TOOL"), WIDE("C:\\Other\\tool.exe"))};
    EXPECT_FALSE(NamedRecordsAreListed(apps, WIDE("tool"), listed)) << "one Tool is not listed";
    EXPECT_FALSE(NamedRecordsAreListed(apps, WIDE("\"setup\""), listed));
    EXPECT_TRUE(NamedRecordsAreListed(apps, WIDE("nothing"), listed));
    EXPECT_TRUE(NamedRecordsAreListed({apps[0]}, WIDE("\"tool\""), listed));
}

} // namespace
