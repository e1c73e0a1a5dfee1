// The administrator's policy through the browser, as Group Policy writes it: AllowedOrigins
// decides which pages the object answers, LaunchCatalogueOnly which programs a page may start.
#include "family_fixture.h"
#include "host/file_dialog_driver.h"

namespace {

using nphost::Arguments;
using nphost::Browser;
using nphost::Page;
using nphost::SeenBox;

const wchar_t kPolicyKey[] = L"Software\\Policies\\npDesklaunch";
const std::wstring kFolder = std::wstring(kTestRoot) + L"\\policy";

// Writes a policy value where the 64-bit Group Policy client does: the 64-bit view.
void SetPolicy(HKEY root, const wchar_t* name, DWORD type, const void* data, size_t nBytes) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExW(root, kPolicyKey, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_64KEY,
                              nullptr, &key, nullptr));
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data),
                                            static_cast<DWORD>(nBytes)));
    RegCloseKey(key);
}

void AllowOrigins(HKEY root, const std::vector<std::wstring>& origins) {
    std::wstring multi;
    for (const std::wstring& origin : origins) {
        multi += origin + L'\0';
    }
    multi += L'\0';
    SetPolicy(root, L"AllowedOrigins", REG_MULTI_SZ, multi.data(), multi.size() * sizeof(wchar_t));
}

void ClearPolicy() {
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(root, kPolicyKey, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &key) == 0) {
            RegDeleteValueW(key, L"AllowedOrigins");
            RegDeleteValueW(key, L"LaunchCatalogueOnly");
            RegCloseKey(key);
        }
    }
}

// A page at `origin`, told through NPNVdocumentOrigin, or else through the window's location
// with or without its own origin.
enum How { ByDocumentOrigin, ByLocationOrigin, ByProtocolAndHost };
Page At(const std::string& origin, How how = ByDocumentOrigin) {
    Page page;
    page.origin = origin;
    page.bDocumentOrigin = how == ByDocumentOrigin;
    page.bWindow = true;
    page.bLocationOrigin = how == ByLocationOrigin;
    return page;
}

class Policy : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearPolicy();
        ASSERT_TRUE(nphost::RemoveTree(kFolder));
        nphost::ClearUsageHistory(ThisFamily());
        object_ = instance_.ScriptableObject();
        ASSERT_NE(nullptr, object_);
    }
    void TearDown() override {
        // A picker that a failure left open is closed, so that the next test finds only its own.
        if (const HWND hDialog = nphost::WaitForFileDialog(0)) {
            nphost::PressCancel(hDialog);
            EXPECT_TRUE(nphost::WaitUntilClosed(hDialog, 20000));
        }
        ClearPolicy();
        nphost::ClearUsageHistory(ThisFamily());
        Browser::Get().SetPage(Page());
    }

    // Whether the page gets an answer from a method; a refused call leaves its result alone.
    bool Answered(const Page& page, const char* method = "RecentlyApplications",
                  const Arguments& args = Arguments()) {
        Browser::Get().SetPage(page);
        NPVariant result = Sentinel();
        const bool bAnswered = Browser::Get().CallMethod(object_, method, args, &result);
        EXPECT_TRUE(bAnswered || IsSentinel(result)) << method << ": a refused call set a result";
        Browser::Get().ReleaseVariantValue(&result);
        return bAnswered;
    }

    std::wstring Program(const std::wstring& relative, const wchar_t* source = nullptr) {
        const std::wstring path = kFolder + L"\\" + relative;
        EXPECT_TRUE(nphost::CopyProgram(source ? MarkerProgram(source) : MarkerProgram(), path));
        return path;
    }

    // RunAppointedApplication(text): the module's failure boxes.
    std::vector<SeenBox> Run(const std::wstring& text) {
        return FailureBoxes(
            CallRunAppointedApplication(object_, Arguments().String(nphost::Narrow(text))));
    }

    nphost::Instance instance_{Module()};
    NPObject* object_ = nullptr;
};

TEST_F(Policy, WithoutAPolicyEveryPageIsAnsweredAndNothingIsAskedAboutIt) {
    const int nGetValue = Browser::Get().ServiceCalls("NPN_GetValue");
    const int nGetProperty = Browser::Get().ServiceCalls("NPN_GetProperty");
    EXPECT_TRUE(Answered(At("https://evil.example.net")));
    EXPECT_TRUE(Answered(At("null"), "RunAppointedApplication", Arguments().String("")));
    EXPECT_TRUE(Answered(Page(), "SelectApplications"));
    EXPECT_EQ(nGetValue, Browser::Get().ServiceCalls("NPN_GetValue"));
    EXPECT_EQ(nGetProperty, Browser::Get().ServiceCalls("NPN_GetProperty"));
}

TEST_F(Policy, AnAllowedOriginIsAnsweredHoweverTheBrowserTellsIt) {
    AllowOrigins(HKEY_LOCAL_MACHINE, {L"https://portal.example.com", L"file://"});
    for (How how : {ByDocumentOrigin, ByLocationOrigin, ByProtocolAndHost}) {
        EXPECT_TRUE(Answered(At("https://portal.example.com", how))) << "told by way " << how;
        EXPECT_TRUE(Answered(At("https://PORTAL.example.com:443", how))) << "way " << how;
    }
    EXPECT_TRUE(Answered(At("file://")));
}

TEST_F(Policy, AnyOtherPageGetsNothingFromAnyMethod) {
    AllowOrigins(HKEY_LOCAL_MACHINE, {L"https://portal.example.com"});
    AllowOrigins(HKEY_CURRENT_USER, {L"https://evil.example.net"}); // the machine's policy wins
    const char* const others[] = {"https://evil.example.net", "https://portal.example.com.evil.net",
                                  "http://portal.example.com", "https://portal.example.com:8443",
                                  "null"};
    for (const char* origin : others) {
        EXPECT_FALSE(Answered(At(origin))) << origin;
    }
    // Nothing starts and no picker opens for such a page.
    const std::wstring tool = Program(L"tool.exe");
    NPObject* function = Browser::Get().CreateFunction();
    nphost::DialogWatcher watcher;
    EXPECT_FALSE(Answered(At("https://evil.example.net"), "RunAppointedApplication",
                          Arguments().String(nphost::Narrow(tool))));
    EXPECT_FALSE(Answered(At("https://evil.example.net", ByLocationOrigin), "SelectApplications",
                          Arguments().Object(function)));
    EXPECT_EQ(1u, function->referenceCount) << "a picker holds the page's function";
    Sleep(300);
    EXPECT_TRUE(RunsOf(tool).empty()) << "the program started";
    EXPECT_TRUE(watcher.Boxes().empty()) << "a box appeared";
    Browser::Get().ReleaseObject(function);
}

TEST_F(Policy, AWildcardAnswersEverySubdomainButNotTheDomainItself) {
    AllowOrigins(HKEY_CURRENT_USER, {L"https://*.example.com"});
    EXPECT_TRUE(Answered(At("https://a.example.com")));
    EXPECT_TRUE(Answered(At("https://a.b.example.com", ByLocationOrigin)));
    EXPECT_FALSE(Answered(At("https://example.com")));
    EXPECT_FALSE(Answered(At("https://evilexample.com")));
}

TEST_F(Policy, APageWhoseOriginTheBrowserDoesNotTellIsRefused) {
    AllowOrigins(HKEY_LOCAL_MACHINE, {L"https://portal.example.com"});
    EXPECT_FALSE(Answered(Page()));
}

TEST_F(Policy, LaunchCatalogueOnlyStartsTheCatalogueAndPickedProgramsOnly) {
    const std::wstring listed = Program(L"listed\\tool.exe");
    const std::wstring bare = Program(L"bare\\bare.exe", L"bare_program.exe"); // no icon: unlisted
    const std::wstring other = Program(L"other\\other.exe");
    const std::wstring picked = Program(L"picked\\picked.exe");
    ASSERT_TRUE(
        nphost::SeedUsageHistory(ThisFamily(), {{nphost::RunPathName(ThisFamily(), listed), 3, 1},
                                                {nphost::RunPathName(ThisFamily(), bare), 2, 1}}));
    const DWORD dwOn = 1;
    SetPolicy(HKEY_CURRENT_USER, L"LaunchCatalogueOnly", REG_DWORD, &dwOn, sizeof(dwOn));

    for (const std::wstring& text : {other, picked, std::wstring(L"bare")}) {
        ASSERT_EQ(1u, Run(text).size()) << Show(text) << ": no failure box";
    }
    EXPECT_TRUE(Run(L"\"" + listed + L"\"").empty());
    EXPECT_TRUE(WaitForRuns(listed, 1)) << "the catalogue's program did not start";

    // A program the user picks may start from then on.
    NPObject* function = Browser::Get().CreateFunction();
    EXPECT_TRUE(Answered(Page(), "SelectApplications", Arguments().Object(function)));
    const HWND hDialog = nphost::WaitForFileDialog(20000);
    ASSERT_NE(nullptr, hDialog);
    nphost::ChooseFile(hDialog, picked);
    EXPECT_TRUE(nphost::WaitUntilClosed(hDialog, 20000));
    EXPECT_TRUE(Browser::Get().PumpUntil([&] { return function->referenceCount == 1; }, 20000));
    Browser::Get().ReleaseObject(function);
    EXPECT_TRUE(Run(picked).empty());
    EXPECT_TRUE(WaitForRuns(picked, 1)) << "the picked program did not start";
    Sleep(300);
    EXPECT_TRUE(RunsOf(other).empty() && RunsOf(bare).empty()) << "an unlisted program started";
}

} // namespace
