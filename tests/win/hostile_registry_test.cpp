// RecentlyApplications and RunAppointedApplication through the NPAPI host over the hostile usage
// history of hostile_history.h (2,000 values, cyclic and deep known folders), once per OS family.
#include "family_fixture.h"
#include "hostile_history.h"

namespace {

using nphost::Arguments;
using nphost::SeenBox;

// Visible dialog boxes of this process.
BOOL CALLBACK CountBox(HWND hWnd, LPARAM lParam) {
    DWORD dwProcess = 0;
    GetWindowThreadProcessId(hWnd, &dwProcess);
    wchar_t wszClass[16] = {0};
    GetClassNameW(hWnd, wszClass, 16);
    if (dwProcess == GetCurrentProcessId() && IsWindowVisible(hWnd) &&
        std::wstring(wszClass) == L"#32770") {
        ++*reinterpret_cast<int*>(lParam);
    }
    return TRUE;
}

int OpenBoxes() {
    int nBoxes = 0;
    EnumWindows(CountBox, reinterpret_cast<LPARAM>(&nBoxes));
    return nBoxes;
}

class HostileRegistry : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        installed_ = new hostile::InstalledHistory(ThisFamily(), hostile::kSeed);
    }
    static void TearDownTestSuite() {
        delete installed_;
        installed_ = nullptr;
    }
    void SetUp() override {
        std::string problem;
        ASSERT_TRUE(installed_->Ready(problem)) << problem;
        object_ = instance_.ScriptableObject();
        ASSERT_NE(nullptr, object_);
    }
    const hostile::History& History() const { return installed_->Get(); }

    static hostile::InstalledHistory* installed_;
    nphost::Instance instance_{Module()};
    NPObject* object_ = nullptr;
};

hostile::InstalledHistory* HostileRegistry::installed_ = nullptr;

TEST_F(HostileRegistry, RecentlyApplicationsListsTheTwentyMostUsedProgramsInAWellFormedText) {
    const std::string text = CallRecentlyApplications(object_);
    EXPECT_EQ("", hostile::CatalogueTextProblem(text, nphost::Narrow(AccessoryBlock())));
    std::wstring expected = AccessoryBlock();
    size_t nListed = 0;
    for (const hostile::Program& program : History().programs) {
        if (program.bRead && nListed++ < 20) {
            expected += program.path + L"*" + program.name + L"#";
        }
    }
    ASSERT_GT(nListed, 20u) << "too few programs to see the limit";
    EXPECT_EQ(nphost::Narrow(expected), text);
}

// The programs of the history by their display names; decoded names of the other values, and
// texts made to mislead the launcher, start nothing: each ends in the module's failure box,
// which it shows only when no shell request succeeded.
TEST_F(HostileRegistry, NamesStartTheirProgramsAndJunkStartsNothing) {
    const std::vector<hostile::Program>& programs = History().programs;
    // The one behind a folder token (not listed: its count is the smallest), and one whose
    // name holds braces or a surrogate pair.
    std::vector<hostile::Program> chosen = {programs.back()};
    for (const hostile::Program& program : programs) {
        if (program.bRead && (program.name.find(L'{') != std::wstring::npos ||
                              program.name.find(L'\xD83D') != std::wstring::npos)) {
            chosen.push_back(program);
            if (chosen.size() == 2) {
                break;
            }
        }
    }
    for (const hostile::Program& program : chosen) {
        const std::vector<SeenBox> boxes =
            CallRunAppointedApplication(object_, Arguments().String(nphost::Narrow(program.name)));
        EXPECT_TRUE(boxes.empty())
            << Show(program.name) << ": a box " << (boxes.empty() ? "" : Show(boxes[0].text));
        EXPECT_TRUE(WaitForRuns(program.path, 1)) << Show(program.name) << " did not start";
    }

    std::vector<std::wstring> junk = {L"%csidl2%\\\xD800", L"Z:\\\xDC00.exe",
                                      std::wstring(300, L'\x7A0B')};
    for (size_t i = 0; i < 2; ++i) {
        junk.push_back(History().junk[i * 97 % History().junk.size()]);
    }
    for (const std::wstring& text : junk) {
        const std::vector<SeenBox> ours = FailureBoxes(
            CallRunAppointedApplication(object_, Arguments().String(nphost::Narrow(text))));
        // The page's UTF-8 holds U+FFFD for each lone surrogate, and so does the message.
        const std::wstring shown = (kNotFound + nphost::Widen(nphost::Narrow(text))).substr(0, 259);
        ASSERT_EQ(1u, ours.size()) << Show(text) << ": expected the module's failure box";
        EXPECT_EQ(shown, ours[0].text) << Show(ours[0].text);
    }
    EXPECT_EQ(0, OpenBoxes()) << "a box was left open";
    Sleep(300);
    for (const hostile::Program& program : programs) {
        EXPECT_EQ(std::count_if(chosen.begin(), chosen.end(),
                                [&](const hostile::Program& p) { return p.path == program.path; }),
                  static_cast<long>(RunsOf(program.path).size()))
            << Show(program.path) << " ran another number of times";
    }
}

} // namespace
