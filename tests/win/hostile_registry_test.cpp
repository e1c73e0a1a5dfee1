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
    const std::string text = CallForText(object_, "RecentlyApplications");
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

// A program of the history by its display name (the one behind a folder token, which the
// catalogue leaves out for its small count; its name holds braces); texts made to mislead the
// launcher start nothing: each ends in the module's failure box, which it shows only when no
// shell request succeeded.
TEST_F(HostileRegistry, ANameStartsItsProgramAndJunkStartsNothing) {
    const hostile::Program& program = History().programs.back();
    const std::vector<SeenBox> boxes =
        CallRunAppointedApplication(object_, Arguments().String(nphost::Narrow(program.name)));
    EXPECT_TRUE(boxes.empty()) << Show(program.name) << ": a box "
                               << (boxes.empty() ? "" : Show(boxes[0].text));
    EXPECT_TRUE(WaitForRuns(program.path, 1)) << Show(program.name) << " did not start";

    // A lone surrogate in a path and a text too long for one: neither reads the history again,
    // which the name above read whole.
    const std::wstring junk[] = {L"Z:\\\xDC00.exe", std::wstring(300, L'\x7A0B')};
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
    for (const hostile::Program& other : History().programs) {
        EXPECT_EQ(other.path == program.path ? 1u : 0u, RunsOf(other.path).size())
            << Show(other.path) << " ran another number of times";
    }
}

} // namespace
