// Known-folder expansion against folder descriptions written into this system's registry.
#include <shlobj.h>

#include "catalogue/known_folders.h"
#include "module_fixture.h"
#include "system_fixture.h"

namespace {

using catalogue_test::RegistryKeyWriter;

const std::wstring kDescriptions =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FolderDescriptions\\";

// Made-up folder identifiers, so that no description of the system is touched.
const std::wstring kCommonRoot = L"{6D3C0A01-0000-4E5D-9A00-00000000C001}";
const std::wstring kCommonChild = L"{6D3C0A01-0000-4E5D-9A00-00000000C002}";
const std::wstring kCommonGrandchild = L"{6D3C0A01-0000-4E5D-9A00-00000000C003}";
const std::wstring kUserRoot = L"{6D3C0A01-0000-4E5D-9A00-00000000A001}";
const std::wstring kUserChild = L"{6D3C0A01-0000-4E5D-9A00-00000000A002}";
const std::wstring kOtherRoot = L"{6D3C0A01-0000-4E5D-9A00-00000000B001}";
const std::wstring kNoRelative = L"{6D3C0A01-0000-4E5D-9A00-00000000B002}";
const std::wstring kCycleA = L"{6D3C0A01-0000-4E5D-9A00-00000000D001}";
const std::wstring kCycleB = L"{6D3C0A01-0000-4E5D-9A00-00000000D002}";
const std::wstring kLongValue = L"{6D3C0A01-0000-4E5D-9A00-00000000E001}";
const std::wstring kDeep = L"{6D3C0A01-0000-4E5D-9A00-00000000E002}";
const std::wstring kUnknown = L"{6D3C0A01-0000-4E5D-9A00-00000000F001}";

std::wstring Lower(std::wstring text) {
    for (wchar_t& unit : text) {
        unit = (unit >= L'A' && unit <= L'Z') ? static_cast<wchar_t>(unit + 32) : unit;
    }
    return text;
}

class KnownFolders : public ::testing::Test {
  protected:
    KnownFolders()
        : commonRoot(HKEY_LOCAL_MACHINE, Folder(kCommonRoot)),
          commonChild(HKEY_LOCAL_MACHINE, Folder(kCommonChild)),
          commonGrandchild(HKEY_LOCAL_MACHINE, Folder(kCommonGrandchild)),
          userRoot(HKEY_LOCAL_MACHINE, Folder(kUserRoot)),
          userChild(HKEY_LOCAL_MACHINE, Folder(kUserChild)),
          otherRoot(HKEY_LOCAL_MACHINE, Folder(kOtherRoot)),
          noRelative(HKEY_LOCAL_MACHINE, Folder(Lower(kNoRelative))),
          cycleA(HKEY_LOCAL_MACHINE, Folder(kCycleA)), cycleB(HKEY_LOCAL_MACHINE, Folder(kCycleB)),
          longValue(HKEY_LOCAL_MACHINE, Folder(kLongValue)),
          deep(HKEY_LOCAL_MACHINE, Folder(kDeep)) {
        commonRoot.SetString(L"Name", L"common appdata"); // names in any letter case
        commonRoot.SetString(L"RelativePath", L"Vendor");
        commonChild.SetString(L"ParentFolder", kCommonRoot);
        commonChild.SetString(L"RelativePath", L"Suite\\Tools");
        commonGrandchild.SetString(L"ParentFolder", Lower(kCommonChild));
        commonGrandchild.SetString(L"RelativePath", L"Bin");
        userRoot.SetString(L"Name", L"APPDATA");
        userChild.SetString(L"ParentFolder", kUserRoot);
        userChild.SetString(L"RelativePath", L"Links");
        otherRoot.SetString(L"Name", L"Personal");
        otherRoot.SetString(L"RelativePath", L"Documents");
        noRelative.SetString(L"ParentFolder", kCommonRoot);
        cycleA.SetString(L"ParentFolder", kCycleB);
        cycleA.SetString(L"RelativePath", L"a");
        cycleB.SetString(L"ParentFolder", kCycleA);
        cycleB.SetString(L"RelativePath", L"b");
        longValue.SetString(L"ParentFolder", kCommonRoot);
        longValue.SetString(L"RelativePath", std::wstring(300, L'r'));
        deep.SetString(L"ParentFolder", kCommonRoot);
        deep.SetString(L"RelativePath", std::wstring(200, L'd'));
    }
    static std::wstring Folder(const std::wstring& guid) { return kDescriptions + guid; }

    const std::wstring common = catalogue_test::SpecialFolder(CSIDL_COMMON_APPDATA);
    const std::wstring profile = ProfileFolder();
    RegistryKeyWriter commonRoot, commonChild, commonGrandchild, userRoot, userChild, otherRoot,
        noRelative, cycleA, cycleB, longValue, deep;

  private:
    static std::wstring ProfileFolder() {
        std::wstring folder = catalogue_test::SpecialFolder(CSIDL_APPDATA);
        folder = folder.substr(0, folder.rfind(L'\\'));
        return folder.substr(0, folder.rfind(L'\\'));
    }
};

// The known folder's path over this system's descriptions; `path` is untouched when there is
// no description, and emptied when it cannot be followed.
bool Lookup(const std::wstring& guid, std::wstring& path) {
    SystemFolderSource source;
    std::wstring found;
    const KnownFolderLookup lookup = ResolveKnownFolderPath(source, guid, found);
    if (lookup != KnownFolderMissing) {
        path = found;
    }
    return lookup == KnownFolderFound;
}

// An expansion over this system's folders into a path buffer.
bool Expand(bool (*expand)(FolderSource&, const WideString&, WideString&),
            const std::wstring& input, wchar_t* output) {
    SystemFolderSource source;
    std::wstring expanded;
    const bool bExpanded = expand(source, input, expanded);
    CopyToBuffer(output, kPathCapacity, expanded);
    return bExpanded;
}

TEST_F(KnownFolders, ChainsOfParentFoldersEndInTheirRoots) {
    ASSERT_FALSE(common.empty());
    struct Case {
        std::wstring guid;
        std::wstring path;
    } cases[] = {
        {kCommonRoot, common + L"\\Vendor"},
        {kCommonChild, common + L"\\Vendor\\Suite\\Tools"},
        {Lower(kCommonGrandchild), common + L"\\Vendor\\Suite\\Tools\\Bin"},
        {kUserRoot, profile},
        {kUserChild, profile + L"\\Links"},
        {kOtherRoot, L"\\Documents"},
        {kNoRelative, common + L"\\Vendor\\"},
    };
    for (const Case& c : cases) {
        std::wstring path;
        EXPECT_TRUE(Lookup(c.guid, path)) << Show(c.guid);
        EXPECT_EQ(c.path, path) << Show(c.guid) << " gave " << Show(path);
    }
}

TEST_F(KnownFolders, UnknownCyclicAndOverlongDescriptionsFail) {
    struct Case {
        std::wstring guid;
        std::wstring path; // what the output holds afterwards
    } cases[] = {
        {kUnknown, L"before"}, // untouched
        {kCycleA, L""},
        {kLongValue, L""},
    };
    for (const Case& c : cases) {
        std::wstring path = L"before";
        EXPECT_FALSE(Lookup(c.guid, path)) << Show(c.guid);
        EXPECT_EQ(c.path, path) << Show(c.guid) << " gave " << Show(path);
    }
}

TEST_F(KnownFolders, PrefixExpansionOfHistoryPaths) {
    const std::wstring deepPath = common + L"\\Vendor\\" + std::wstring(200, L'd');
    struct Case {
        std::wstring input;
        bool bExpanded;
        std::wstring output;
    } cases[] = {
        {kCommonChild + L"\\tool.exe", true, common + L"\\Vendor\\Suite\\Tools\\tool.exe"},
        {kUserChild + L"\\Word.lnk", true, profile + L"\\Links\\Word.lnk"},
        {kUnknown + L"\\Accessories\\Calculator.lnk", true, L"\\Accessories\\Calculator.lnk"},
        {kCycleB + L"\\a.exe", false, L""},
        {kCommonRoot, false, L""},
        // The folder and the rest would need 260 characters: no cut path.
        {kDeep + L"\\" + std::wstring(259 - deepPath.size(), L'x'), false, L""},
        {kDeep + L"\\" + std::wstring(258 - deepPath.size(), L'x'), true,
         deepPath + L"\\" + std::wstring(258 - deepPath.size(), L'x')},
    };
    for (const Case& c : cases) {
        wchar_t output[kPathCapacity];
        CopyToBuffer(output, kPathCapacity, L"before");
        EXPECT_EQ(c.bExpanded, Expand(ExpandKnownFolderPrefixFrom, c.input, output))
            << Show(c.input);
        EXPECT_EQ(c.output, std::wstring(output)) << Show(c.input) << " gave " << Show(output);
    }
}

TEST(Csidl2, BecomesThisUsersProgramsFolder) {
    const std::wstring programs = catalogue_test::SpecialFolder(CSIDL_PROGRAMS);
    ASSERT_FALSE(programs.empty());
    struct Case {
        std::wstring input;
        bool bExpanded;
        std::wstring output;
    } cases[] = {
        {L"%csidl2%\\Accessories\\Notepad.lnk", true, programs + L"\\Accessories\\Notepad.lnk"},
        {L"%CSIDL2%\\Tool.lnk", true, programs + L"\\Tool.lnk"},
        {L"%csidl7%\\Tool.lnk", false, L""},
    };
    for (const Case& c : cases) {
        wchar_t output[kPathCapacity];
        CopyToBuffer(output, kPathCapacity, L"before");
        EXPECT_EQ(c.bExpanded, Expand(ExpandCsidl2From, c.input, output)) << Show(c.input);
        EXPECT_EQ(c.output, std::wstring(output)) << Show(c.input) << " gave " << Show(output);
    }
}

} // namespace
