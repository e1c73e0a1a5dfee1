// RecentlyApplications as a page calls it, through the NPAPI host, on a plug-in installed in a
// folder of its own: the exact text the page receives and the bitmaps left in images\ beside the
// module, for seeded usage histories of 0, 3 and 30 programs and the records the catalogue skips.
#include "family_fixture.h"

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>

namespace {

using nphost::Browser;
using nphost::HistoryValue;

const std::wstring kPluginFolder = std::wstring(kTestRoot) + L"\\plugin";
const std::wstring kImages = kPluginFolder + L"\\images";
const std::wstring kApps = std::wstring(kTestRoot) + L"\\apps";

// The accessories whose icons Wine can give: it has no Paint or Calculator, and its Explorer
// carries no icon.
const std::vector<std::wstring> kStoredAccessoryIcons = {L"control.bmp", L"notepad.bmp"};

// A program of the seeded history: where it lies, the name the catalogue gives it, its count.
struct Program {
    std::wstring path;
    std::wstring name;
    int nRunCount;
};

std::wstring Entries(const std::vector<Program>& programs) {
    std::wstring text;
    for (const Program& p : programs) {
        text += p.path + L"*" + p.name + L"#";
    }
    return text;
}

std::vector<std::wstring> Bitmaps(const std::vector<Program>& programs) {
    std::vector<std::wstring> names = kStoredAccessoryIcons;
    for (const Program& p : programs) {
        names.push_back(p.name + L".bmp");
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string ShowList(const std::vector<std::wstring>& names) {
    std::string text;
    for (const std::wstring& name : names) {
        text += " " + nphost::Narrow(name);
    }
    return "[" + text + " ]";
}

// The launcher page's tests use the texts the module gave here on Windows 7.
void ExpectPageTestText(const char* szFile, const std::string& text) {
    if (ThisFamily() == nphost::HistoryFamily::Nt6) {
        EXPECT_EQ(ReadFileBytes(std::string(NPD_PAGE_CATALOGUES "/") + szFile), text)
            << "the launcher page's tests use another text than " << szFile;
    }
}

// The plug-in as a browser installs and loads it, from its own folder.
nphost::PluginModule& InstalledModule() {
    static bool bCopied = nphost::CopyProgram(nphost::BesideExecutable(L"npDesklaunch.dll"),
                                              kPluginFolder + L"\\npDesklaunch.dll");
    static nphost::PluginModule module(kPluginFolder + L"\\npDesklaunch.dll");
    EXPECT_TRUE(bCopied);
    return module;
}

class Catalogue : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(InstalledModule().Loaded());
        ASSERT_TRUE(nphost::RemoveTree(kImages));
        ASSERT_TRUE(nphost::RemoveTree(kApps));
        nphost::ClearUsageHistory(ThisFamily());
        instance_.reset(new nphost::Instance(InstalledModule()));
        object_ = instance_->ScriptableObject();
        ASSERT_NE(nullptr, object_);
    }
    void TearDown() override {
        instance_.reset();
        nphost::ClearUsageHistory(ThisFamily());
    }

    // Copies a program with an icon to kApps\relative and gives it `nRunCount` starts.
    Program Add(const std::wstring& relative, int nRunCount,
                const wchar_t* wszSource = L"marker_program.exe") {
        Program p;
        p.path = kApps + L"\\" + relative;
        const size_t slash = p.path.find_last_of(L'\\');
        p.name = p.path.substr(slash + 1, p.path.find_last_of(L'.') - slash - 1);
        p.nRunCount = nRunCount;
        EXPECT_TRUE(nphost::CopyProgram(MarkerProgram(wszSource), p.path)) << Show(p.path);
        return p;
    }

    void Seed(const std::vector<Program>& programs) {
        std::vector<HistoryValue> values;
        for (const Program& p : programs) {
            values.push_back({nphost::RunPathName(ThisFamily(), p.path), p.nRunCount, 1});
        }
        ASSERT_TRUE(nphost::SeedUsageHistory(ThisFamily(), values));
    }

    // RecentlyApplications() as the page receives it (UTF-8), empty when no value came.
    std::string Call() { return CallForText(object_, "RecentlyApplications"); }

    std::unique_ptr<nphost::Instance> instance_;
    NPObject* object_ = nullptr;
};

// The largest counts first.
std::vector<Program> Sorted(std::vector<Program> programs) {
    std::stable_sort(programs.begin(), programs.end(),
                     [](const Program& a, const Program& b) { return a.nRunCount > b.nRunCount; });
    return programs;
}

#define EXPECT_TEXT(expected, got)                                                                 \
    EXPECT_EQ(nphost::Narrow(expected), got)                                                       \
        << "expected: " << nphost::Narrow(expected) << "\n     got: " << (got)

TEST_F(Catalogue, NoHistoryGivesTheAccessoriesAlone) {
    const std::string text = Call();
    EXPECT_TEXT(AccessoryBlock(), text);
    EXPECT_EQ(ShowList(Bitmaps({})), ShowList(nphost::FilesIn(kImages)));
    ExpectPageTestText("nt6_history_0.txt", text);
}

TEST_F(Catalogue, ThreeProgramsFollowTheAccessoriesMostUsedFirst) {
    const std::vector<Program> programs = {Add(L"C#Pad\\c#pad.exe", 5),
                                           Add(L"\u753B\u677F.exe", 9, L"sketch_program.exe"),
                                           Add(L"Caf\u00E9\\caf\u00E9.tool.exe", 7)};
    Seed(programs);
    const std::string text = Call();
    EXPECT_TEXT(AccessoryBlock() + Entries(Sorted(programs)), text);
    EXPECT_EQ(ShowList(Bitmaps(programs)), ShowList(nphost::FilesIn(kImages)));
    EXPECT_EQ(text, Call()) << "a second call gave another text";
    ExpectPageTestText("nt6_history_3.txt", text);
}

// "tool01.exe", "tool02.exe", ...: names that sort in their number's order.
static std::wstring ToolName(int i) {
    return (i < 10 ? L"tool0" : L"tool") + std::to_wstring(i) + L".exe";
}

TEST_F(Catalogue, ThirtyProgramsListTheTwentyMostUsedAndStoreOnlyTheirIcons) {
    std::vector<Program> programs;
    for (int i = 1; i <= 30; ++i) {
        programs.push_back(Add(ToolName(i), 10 + (i * 7) % 30)); // every count once, not in order
    }
    Seed(programs);
    const std::vector<Program> sorted = Sorted(programs);
    const std::vector<Program> listed(sorted.begin(), sorted.begin() + 20);
    const std::string text = Call();
    EXPECT_TEXT(AccessoryBlock() + Entries(listed), text);
    EXPECT_EQ(ShowList(Bitmaps(listed)), ShowList(nphost::FilesIn(kImages)));
    EXPECT_EQ(text, Call()) << "a second call gave another text";
}

TEST_F(Catalogue, AProgramWithoutIconIsLeftOutAndTheNextTakesItsPlace) {
    std::vector<Program> programs;
    for (int i = 1; i <= 20; ++i) {
        programs.push_back(Add(ToolName(i), 100 + i));
    }
    const Program bare = Add(L"bare.exe", 110, L"bare_program.exe");
    programs.push_back(bare);
    Seed(programs);
    std::vector<Program> listed = Sorted(programs);
    listed.erase(std::find_if(listed.begin(), listed.end(),
                              [](const Program& p) { return p.name == L"bare"; }));
    ASSERT_EQ(20u, listed.size());
    EXPECT_TEXT(AccessoryBlock() + Entries(listed), Call());
    EXPECT_EQ(ShowList(Bitmaps(listed)), ShowList(nphost::FilesIn(kImages)));
}

TEST_F(Catalogue, AnAccessoryInTheHistoryIsListedOnlyAsTheAccessory) {
    const std::wstring notepad = SystemFolder() + L"\\NOTEPAD.EXE";
    const Program calc = Add(L"Tools\\calc.exe", 8);
    const Program tool = Add(L"tool.exe", 7);
    std::vector<HistoryValue> values = {
        {nphost::RunPathName(ThisFamily(), notepad), 9, 1},
        {nphost::RunPathName(ThisFamily(), calc.path), calc.nRunCount, 1},
        {nphost::RunPathName(ThisFamily(), tool.path), tool.nRunCount, 1}};
    ASSERT_TRUE(nphost::SeedUsageHistory(ThisFamily(), values));
    // Windows XP's catalogue also drops a program whose name occurs in an accessory's path.
    const std::vector<Program> listed = ThisFamily() == nphost::HistoryFamily::Nt5
                                            ? std::vector<Program>{tool}
                                            : std::vector<Program>{calc, tool};
    EXPECT_TEXT(AccessoryBlock() + Entries(listed), Call());
    EXPECT_EQ(ShowList(Bitmaps(listed)), ShowList(nphost::FilesIn(kImages)));
}

} // namespace
