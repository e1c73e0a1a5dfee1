// The usage-history readers against UserAssist values written into this user's registry.
#include <shlobj.h>

#include "catalogue/user_assist.h"
#include "catalogue/user_assist.h"
#include "module_fixture.h"
#include "nphost/test_time.h"
#include "system_fixture.h"

namespace {

using catalogue_test::Nt5Data;
using catalogue_test::Nt6Data;
using catalogue_test::RegistryKeyWriter;
using catalogue_test::ScratchFolder;

const std::wstring kHistoryFolder = L"{6D3C0A01-0000-4E5D-9A00-000000001001}";
const std::wstring kDescriptions =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FolderDescriptions\\";

// One family's Count key filled by the test, and a folder of real files for its values, which a
// known folder of its own names.
class History : public ::testing::Test {
  protected:
    History(UsageFamily family)
        : family_(family), root(catalogue_test::SpecialFolder(CSIDL_COMMON_APPDATA), L"history"),
          folderDescription(HKEY_LOCAL_MACHINE, kDescriptions + kHistoryFolder),
          count(HKEY_CURRENT_USER, UserAssistKeyPath(family)) {
        folderDescription.SetString(L"Name", L"Common AppData");
        folderDescription.SetString(L"RelativePath",
                                    root.Path().substr(root.Path().rfind(L'\\') + 1));
    }
    void SetUp() override {
        DWORD dwValues = 0;
        RegQueryInfoKeyW(count.Key(), NULL, NULL, NULL, NULL, NULL, NULL, &dwValues, NULL, NULL,
                         NULL, NULL);
        ASSERT_EQ(0u, dwValues) << "the history key of this prefix should start empty";
    }
    // A value whose name is the letter-rotated `decoded`.
    void Add(const std::wstring& decoded, const std::vector<BYTE>& data) {
        count.SetBinary(DecodeRot13(decoded), data);
    }
    std::vector<AppEntry> ReadSorted() {
        std::vector<AppEntry> vecAllApps;
        if (family_ == UsageFamilyNt6) {
            ReadUserAssist(UsageFamilyNt6, vecAllApps, NULL);
        } else {
            ReadUserAssist(UsageFamilyNt5, vecAllApps, NULL);
        }
        SortByRunCount(vecAllApps);
        return vecAllApps;
    }
    std::wstring Path(const std::wstring& relative) const { return root.Path() + L"\\" + relative; }

    UsageFamily family_;
    ScratchFolder root;
    RegistryKeyWriter folderDescription;
    RegistryKeyWriter count;
};

class Nt6History : public History {
  protected:
    Nt6History() : History(UsageFamilyNt6) {}
};

class Nt5History : public History {
  protected:
    Nt5History() : History(UsageFamilyNt5) {}
};

TEST_F(Nt6History, RichHistoryGivesMergedFilteredRecordsMostUsedFirst) {
    root.AddFile(L"a\\tool.exe");
    root.AddFile(L"b\\Tool.exe");
    root.AddFile(L"c\\winword.exe");
    root.AddShortcut(L"d\\Word.lnk", Path(L"c\\winword.exe"));
    root.AddFile(L"e\\setup.exe");
    root.AddFile(L"e\\Uninstall.exe");
    root.AddFile(L"f\\Windows\\Installer\\patch.exe");
    root.AddFile(L"h\\{x}\\braced.exe");
    root.AddFile(L"j\\big.exe");
    root.AddFile(L"k\\viewer.exe");
    root.AddFile(L"m\\short.exe");
    root.AddFile(L"n\\noextension");

    Add(Path(L"a\\tool.exe"), Nt6Data(2, 1));
    Add(Path(L"b\\Tool.exe"), Nt6Data(4, 1)); // same name: counted into a\tool
    Add(Path(L"c\\winword.exe"), Nt6Data(10, 1));
    Add(Path(L"d\\Word.lnk"), Nt6Data(1, 1)); // same target: renames it Word
    Add(Path(L"e\\setup.exe"), Nt6Data(90, 1));
    Add(Path(L"e\\Uninstall.exe"), Nt6Data(91, 1));
    Add(Path(L"f\\Windows\\Installer\\patch.exe"), Nt6Data(92, 1));
    Add(Path(L"g\\gone.exe"), Nt6Data(93, 1));                       // no such file
    Add(Path(L"h\\{x}\\braced.exe"), Nt6Data(8, 1));                 // a brace inside a drive path
    Add(Path(L"j\\big.exe"), Nt6Data(261, 1));                       // more than one byte of count
    Add(kHistoryFolder + L"\\k\\viewer.exe", Nt6Data(7, 1));         // under a known folder
    Add(Path(L"m\\short.exe"), std::vector<BYTE>{0, 0, 0, 0, 9, 0}); // data ends inside a count
    Add(Path(L"n\\noextension"), Nt6Data(94, 1));
    Add(L"Microsoft.Windows.Explorer", Nt6Data(95, 1));
    Add(L"UEME_CTLSESSION", std::vector<BYTE>(1612, 0x7F));

    const std::wstring expected =
        L"big|" + Path(L"j\\big.exe") + L"|261\n" + L"Word|" + Path(L"c\\winword.exe") + L"|11\n" +
        L"short|" + Path(L"m\\short.exe") + L"|9\n" + L"braced|" + Path(L"h\\{x}\\braced.exe") +
        L"|8\n" + L"viewer|" + Path(L"k\\viewer.exe") + L"|7\n" + L"tool|" + Path(L"a\\tool.exe") +
        L"|6\n";
    const std::wstring listing = catalogue_test::Listing(ReadSorted());
    EXPECT_EQ(expected, listing) << "expected:\n" << Show(expected) << "\ngot:\n" << Show(listing);
}

TEST_F(Nt6History, EqualCountsComeOutInTheExchangeOrder) {
    // Values enumerate P, Q, R (by name, and in the order written).
    for (const wchar_t* name : {L"P", L"Q", L"R"}) {
        root.AddFile(std::wstring(L"t\\") + name + L".exe");
    }
    Add(Path(L"t\\P.exe"), Nt6Data(3, 0));
    Add(Path(L"t\\Q.exe"), Nt6Data(3, 0));
    Add(Path(L"t\\R.exe"), Nt6Data(5, 0));
    const std::wstring expected = L"R|" + Path(L"t\\R.exe") + L"|5\n" + L"Q|" + Path(L"t\\Q.exe") +
                                  L"|3\n" + L"P|" + Path(L"t\\P.exe") + L"|3\n";
    const std::wstring listing = catalogue_test::Listing(ReadSorted());
    EXPECT_EQ(expected, listing) << "expected:\n" << Show(expected) << "\ngot:\n" << Show(listing);
}

TEST_F(Nt6History, OversizedNamesAndDataSkipOnlyTheirOwnValue) {
    // Names of 259, 260 and 300 characters; only the first fits the 260-unit buffer with its
    // terminator.
    const std::wstring prefix = Path(L"a\\");
    const std::wstring name259 = prefix + std::wstring(259 - prefix.size() - 4, L'l') + L".exe";
    const std::wstring name260 = prefix + std::wstring(260 - prefix.size() - 4, L'l') + L".exe";
    const std::wstring name300 = prefix + std::wstring(300 - prefix.size() - 4, L'm') + L".exe";
    ASSERT_EQ(259u, name259.size());
    root.AddFile(name259.substr(root.Path().size() + 1));
    root.AddFile(L"b\\data128.exe");
    root.AddFile(L"b\\data129.exe");
    root.AddFile(L"c\\after.exe");
    Add(name259, Nt6Data(4, 0));
    Add(name260, Nt6Data(5, 0));
    Add(name300, Nt6Data(5, 0));
    std::vector<BYTE> data128 = Nt6Data(6, 0);
    data128.resize(128);
    std::vector<BYTE> data129 = Nt6Data(7, 0);
    data129.resize(129);
    Add(Path(L"b\\data128.exe"), data128);
    Add(Path(L"b\\data129.exe"), data129);
    Add(Path(L"c\\after.exe"), Nt6Data(1, 0));

    std::vector<AppEntry> vecAllApps;
    std::vector<UserAssistValue> values;
    ReadUserAssist(UsageFamilyNt6, vecAllApps, &values);
    int nSkipped = 0;
    for (const UserAssistValue& value : values) {
        nSkipped += value.lEnumResult == ERROR_MORE_DATA ? 1 : 0;
    }
    EXPECT_EQ(3, nSkipped) << "the 260- and 300-character names and the 129-byte data";
    SortByRunCount(vecAllApps);
    const std::wstring expected = L"data128|" + Path(L"b\\data128.exe") + L"|6\n" +
                                  std::wstring(259 - prefix.size() - 4, L'l') + L"|" + name259 +
                                  L"|4\n" + L"after|" + Path(L"c\\after.exe") + L"|1\n";
    const std::wstring listing = catalogue_test::Listing(vecAllApps);
    EXPECT_EQ(expected, listing) << "expected:\n" << Show(expected) << "\ngot:\n" << Show(listing);
}

DWORD WINAPI ReadDeletedKey(void* parameter) {
    std::vector<AppEntry> vecAllApps;
    const bool bToTheEnd =
        ReadUserAssistKey(UsageFamilyNt6, static_cast<HKEY>(parameter), vecAllApps, nullptr);
    return bToTheEnd ? 1 : 0;
}

TEST_F(Nt6History, EnumerationOfAKeyDeletedWhileOpenEnds) {
    root.AddFile(L"a\\tool.exe");
    Add(Path(L"a\\tool.exe"), Nt6Data(2, 0));
    HKEY hOpen = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, UserAssistKeyPath(UsageFamilyNt6), 0,
                                           KEY_READ, &hOpen));
    count.DeleteKey();
    UniqueHandle reader(CreateThread(NULL, 0, ReadDeletedKey, hOpen, 0, NULL));
    ASSERT_TRUE(static_cast<bool>(reader));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(reader.get(), nphost::PatientWait(10000)))
        << "the reader still enumerates a deleted key after 10 s";
    DWORD dwExit = 2;
    GetExitCodeThread(reader.get(), &dwExit);
    EXPECT_EQ(0u, dwExit) << "a deleted key is not read to its end";
    RegCloseKey(hOpen);
}

TEST_F(Nt6History, NoKeyGivesNoRecords) {
    count.DeleteKey();
    EXPECT_TRUE(ReadSorted().empty());
}

TEST_F(Nt5History, RichHistoryGivesMergedFilteredRecordsMostUsedFirst) {
    const std::wstring programs = catalogue_test::SpecialFolder(CSIDL_PROGRAMS);
    ScratchFolder menu(programs, L"menu");
    const std::wstring menuName = menu.Path().substr(programs.size() + 1);
    root.AddFile(L"a\\tool.exe");
    root.AddFile(L"b\\TOOL.exe");
    root.AddFile(L"c\\editor.exe");
    root.AddFile(L"e\\MySetup32.exe");
    root.AddFile(L"j\\big.exe");
    menu.AddShortcut(L"Text Editor.lnk", Path(L"c\\editor.exe"));
    menu.AddShortcut(L"Gone.lnk", Path(L"g\\gone.exe"));

    Add(L"UEME_RUNPATH:" + Path(L"a\\tool.exe"), Nt5Data(3));
    Add(L"UEME_RUNPATH:" + Path(L"b\\TOOL.exe"), Nt5Data(2));
    Add(L"UEME_RUNPATH:" + Path(L"c\\editor.exe"), Nt5Data(2));
    // Through the Programs folder; comes after the RUNPATH values and renames their record.
    Add(L"UEME_RUNPIDL:%csidl2%\\" + menuName + L"\\Text Editor.lnk", Nt5Data(4));
    // A shortcut whose target is gone still stands for that target's path.
    Add(L"UEME_RUNPIDL:%csidl2%\\" + menuName + L"\\Gone.lnk", Nt5Data(1));
    Add(L"UEME_RUNPIDL:%csidl7%\\" + menuName + L"\\Text Editor.lnk", Nt5Data(50));
    Add(L"UEME_RUNPATH:" + Path(L"e\\MySetup32.exe"), Nt5Data(51));
    Add(L"UEME_RUNPATH:" + Path(L"j\\big.exe"), Nt5Data(0x105));
    Add(Path(L"j\\big.exe"), Nt5Data(52)); // no prefix: the rest after "C:" is no path
    Add(L"UEME_CTLSESSION", Nt5Data(53));

    const std::wstring expected = L"big|" + Path(L"j\\big.exe") + L"|261\n" + L"Text Editor|" +
                                  Path(L"c\\editor.exe") + L"|6\n" + L"tool|" +
                                  Path(L"a\\tool.exe") + L"|5\n" + L"Gone|" + Path(L"g\\gone.exe") +
                                  L"|1\n";
    const std::wstring listing = catalogue_test::Listing(ReadSorted());
    EXPECT_EQ(expected, listing) << "expected:\n" << Show(expected) << "\ngot:\n" << Show(listing);
}

TEST_F(Nt5History, NoKeyGivesNoRecords) {
    count.DeleteKey();
    EXPECT_TRUE(ReadSorted().empty());
}

} // namespace
