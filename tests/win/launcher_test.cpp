// RunAppointedApplication as a page calls it, with the real shell: programs started by full path
// and by their display name in the usage history, and the message a user sees when nothing
// could be started.
#include "family_fixture.h"
#include "app/run_application.h"
#include "app/shell_open.h"
#include "nphost/dialog_watcher.h"
#include "support/app_record.h"

#include <shlwapi.h>
#include <string.h>

namespace {

using nphost::Arguments;
using nphost::Browser;
using nphost::DialogWatcher;
using nphost::HistoryValue;
using nphost::SeenBox;

const std::wstring kFolder = std::wstring(kTestRoot) + L"\\launcher";

class Launcher : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(nphost::RemoveTree(kFolder)) << "cannot clear " << Show(kFolder);
        nphost::ClearUsageHistory(ThisFamily());
        object_ = instance_.ScriptableObject();
        ASSERT_NE(nullptr, object_);
    }
    void TearDown() override { nphost::ClearUsageHistory(ThisFamily()); }

    // A marker program at kFolder\relative, listed in the history with the given run count.
    std::wstring Program(const std::wstring& relative) {
        const std::wstring path = kFolder + L"\\" + relative;
        EXPECT_TRUE(nphost::CopyProgram(MarkerProgram(), path)) << Show(path);
        return path;
    }

    void Seed(const std::vector<std::wstring>& paths) {
        std::vector<HistoryValue> values;
        for (const std::wstring& path : paths) {
            values.push_back({nphost::RunPathName(ThisFamily(), path), 3, 1});
        }
        ASSERT_TRUE(nphost::SeedUsageHistory(ThisFamily(), values));
    }

    // RunAppointedApplication(text); returns the plug-in's own failure boxes.
    std::vector<SeenBox> Run(const std::wstring& text) {
        return FailureBoxes(
            CallRunAppointedApplication(object_, Arguments().String(nphost::Narrow(text))));
    }

    nphost::Instance instance_{Module()};
    NPObject* object_ = nullptr;
};

// The command line without the program: what the program was started with.
std::string ArgumentsOf(const std::string& commandLine) {
    size_t end = 0;
    if (!commandLine.empty() && commandLine[0] == '"') {
        end = commandLine.find('"', 1);
        end = end == std::string::npos ? commandLine.size() : end + 1;
    } else {
        end = commandLine.find(' ');
        end = end == std::string::npos ? commandLine.size() : end;
    }
    std::string rest = commandLine.substr(end);
    while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\r')) {
        rest.pop_back();
    }
    return rest;
}

TEST_F(Launcher, AFullPathStartsTheProgramWithoutArguments) {
    const std::wstring tool = Program(L"Full Path\\tool.exe");
    EXPECT_TRUE(Run(tool).empty()) << "a failure message was shown";
    ASSERT_TRUE(WaitForRuns(tool, 1)) << "the program never ran";
    const std::vector<std::string> runs = RunsOf(tool);
    EXPECT_EQ(1u, runs.size());
    EXPECT_NE(std::string::npos, runs[0].find(nphost::Narrow(tool))) << "got: " << runs[0];
    EXPECT_EQ("", ArgumentsOf(runs[0])) << "got: " << runs[0];
}

TEST_F(Launcher, AQuotedDrivePathStartsTheProgram) {
    const std::wstring tool = Program(L"Quoted Path\\tool.exe");
    EXPECT_TRUE(Run(L"\"" + tool + L"\"").empty()) << "a failure message was shown";
    ASSERT_TRUE(WaitForRuns(tool, 1)) << "the program never ran";
    EXPECT_EQ("", ArgumentsOf(RunsOf(tool)[0])) << "got: " << RunsOf(tool)[0];
}

// The protocol npdprobe: whose handler is a marker program, as an installed application's is.
struct ProbeProtocol {
    explicit ProbeProtocol(const std::wstring& handler) {
        Set(L"npdprobe", L"URL Protocol", L"");
        Set(L"npdprobe\\shell\\open\\command", nullptr, L"\"" + handler + L"\" \"%1\"");
    }
    ~ProbeProtocol() { SHDeleteKeyW(HKEY_CLASSES_ROOT, L"npdprobe"); }
    static void Set(const wchar_t* key, const wchar_t* name, const std::wstring& value) {
        ASSERT_EQ(ERROR_SUCCESS,
                  SHSetValueW(HKEY_CLASSES_ROOT, key, name, REG_SZ, value.c_str(),
                              static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))));
    }
};

// A URL or a device path is a display name, which names nothing here: no handler and no program
// runs, and the user is told.
TEST_F(Launcher, OnlyADrivePathReachesTheShell) {
    const std::wstring handler = Program(L"handler\\probe.exe");
    const std::wstring tool = Program(L"Tool.exe");
    const ProbeProtocol protocol(handler);
    const std::wstring texts[] = {L"npdprobe://x/?C:\\y", L"\"npdprobe://x/?C:\\y\"",
                                  L"\\\\?\\" + tool, L"\\\\.\\" + tool};
    for (const std::wstring& text : texts) {
        const std::vector<SeenBox> boxes = Run(text);
        EXPECT_EQ(1u, boxes.size()) << Show(text) << " gave no failure message";
        for (const SeenBox& box : boxes) {
            EXPECT_EQ(kNotFound + text, box.text) << Show(box.text);
        }
    }
    // A history record's path is outside data too.
    {
        DialogWatcher watcher;
        EXPECT_FALSE(LaunchByDisplayName({Record(L"Tool", L"\\\\?\\" + tool)}, L"Tool"));
    }
    Sleep(500);
    EXPECT_TRUE(RunsOf(handler).empty()) << "the protocol handler ran: " << RunsOf(handler)[0];
    EXPECT_TRUE(RunsOf(tool).empty()) << "the program ran: " << RunsOf(tool)[0];
}

TEST_F(Launcher, TheFailureMessageShowsThePagesTextWithoutLayoutCharacters) {
    const std::vector<SeenBox> boxes = Run(L"Report\u202Eexe.txt\r\n\u2066OK\u200F\t");
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(kNotFound + L"Reportexe.txtOK", boxes[0].text) << Show(boxes[0].text);
}

TEST(ShellOpen, TheRequestKeepsTheSystemsWarningForDownloadedFiles) {
    const SHELLEXECUTEINFOW sei = ShellOpenRequest(L"C:\\x.exe");
    EXPECT_EQ(0u, sei.fMask & SEE_MASK_NOZONECHECKS);
    EXPECT_STREQ(L"C:\\x.exe", sei.lpFile);
    EXPECT_STREQ(L"open", sei.lpVerb);
    EXPECT_EQ(nullptr, sei.lpParameters);
}

TEST_F(Launcher, ADisplayNameStartsTheHistoryProgramWhateverTheCaseOfAToZ) {
    const std::wstring tool = Program(L"Tool.exe");
    Seed({tool});
    const wchar_t* const names[] = {L"Tool", L"TOOL", L"tOOl"};
    size_t nRuns = 0;
    for (const wchar_t* name : names) {
        EXPECT_TRUE(Run(name).empty()) << "a failure message for " << Show(name);
        EXPECT_TRUE(WaitForRuns(tool, ++nRuns)) << Show(name) << " did not start the program";
    }
}

TEST_F(Launcher, LettersBeyondAToZMustMatchExactly) {
    const std::wstring eclair = Program(L"\u00C9clair.exe");
    const std::wstring board = Program(L"\u753B\u677F.exe");
    Seed({eclair, board});

    const std::vector<SeenBox> boxes = Run(L"\u00E9clair"); // a small e with acute
    ASSERT_EQ(1u, boxes.size()) << "expected the failure message";
    EXPECT_EQ(kNotFound + L"\u00E9clair", boxes[0].text) << Show(boxes[0].text);
    Sleep(300);
    EXPECT_TRUE(RunsOf(eclair).empty()) << "started although the names differ";

    EXPECT_TRUE(Run(L"\u00C9CLAIR").empty()) << "A to Z fold, the capital E with acute matches";
    EXPECT_TRUE(WaitForRuns(eclair, 1));
    EXPECT_TRUE(Run(L"\u753B\u677F").empty());
    EXPECT_TRUE(WaitForRuns(board, 1));
}

TEST_F(Launcher, TheAccessoriesAreNotSearchedByName) {
    Seed({Program(L"Tool.exe")});
    const std::wstring names[] = {L"\u8BB0\u4E8B\u672C", L"notepad"};
    for (const std::wstring& name : names) {
        const std::vector<SeenBox> boxes = Run(name);
        ASSERT_EQ(1u, boxes.size()) << Show(name) << " gave no failure message";
        EXPECT_EQ(kNotFound + name, boxes[0].text) << Show(boxes[0].text);
        ASSERT_EQ(1u, boxes[0].buttons.size()) << "one OK button";
        EXPECT_FALSE(boxes[0].bHasOwner);
    }
}

TEST_F(Launcher, AFailingPathIsTriedOnceAndNotLookedUpByName) {
    const std::wstring tool = Program(L"Tool.exe");
    Seed({tool});
    const std::wstring missing = kFolder + L"\\gone\\Tool.exe";
    const std::vector<SeenBox> boxes = Run(missing);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(kNotFound + missing, boxes[0].text) << Show(boxes[0].text);
    Sleep(300);
    EXPECT_TRUE(RunsOf(tool).empty()) << "the history program of the same name was started";
}

TEST_F(Launcher, ARecordThatFailsToOpenFallsThroughToTheNextOfTheSameName) {
    const std::wstring first = Program(L"first\\Tool.exe");
    const std::wstring second = Program(L"second\\Tool.exe");
    const std::wstring other = Program(L"Other.exe");
    const std::vector<AppEntry> vctApps = {Record(L"Tool", kFolder + L"\\missing\\Tool.exe"),
                                           Record(L"Other", other), Record(L"tool", first),
                                           Record(L"TOOL", second)};
    {
        DialogWatcher watcher; // the shell reports the missing program itself
        EXPECT_TRUE(LaunchByDisplayName(vctApps, L"Tool"));
    }
    EXPECT_TRUE(WaitForRuns(first, 1)) << "the second record of that name was not tried";
    Sleep(300);
    EXPECT_TRUE(RunsOf(second).empty()) << "tried on after a record opened";
    EXPECT_TRUE(RunsOf(other).empty()) << "a record of another name was opened";

    DialogWatcher watcher;
    EXPECT_FALSE(LaunchByDisplayName({Record(L"Tool", kFolder + L"\\missing\\Tool.exe")}, L"Tool"))
        << "no record opened";
}

} // namespace
