// Shortcut targets from real shell links, product names from real version resources.
#include <shlobj.h>

#include "catalogue/app_identity.h"
#include "module_fixture.h"
#include "nphost/browser.h"
#include "system_fixture.h"

namespace {

using catalogue_test::ScratchFolder;

class ShortcutTarget : public ::testing::Test {
  protected:
    ShortcutTarget() : folder(catalogue_test::SpecialFolder(CSIDL_COMMON_APPDATA), L"links") {}
    ScratchFolder folder;
};

TEST_F(ShortcutTarget, AShortcutGivesItsStoredTargetEvenWhenThatIsGone) {
    const std::wstring target = folder.AddFile(L"Tools\\editor.exe");
    const std::wstring gone = folder.Path() + L"\\Old\\gone.exe";
    struct Case {
        std::wstring link;
        std::wstring target;
    } cases[] = {
        {folder.AddShortcut(L"Menu\\Editor.lnk", target), target},
        {folder.AddShortcut(L"Menu\\Gone.lnk", gone), gone},
    };
    for (const Case& c : cases) {
        std::wstring result = L"kept:";
        EXPECT_TRUE(ResolveShortcutTarget(c.link, result)) << Show(c.link);
        EXPECT_EQ(L"kept:" + c.target, result) << "expected the target appended";
    }
}

TEST_F(ShortcutTarget, OtherFilesAndUnusableShortcutsGiveFalseAndLeaveTheOutput) {
    const std::wstring target = folder.AddFile(L"Tools\\editor.exe");
    const std::wstring upper = folder.AddShortcut(L"Menu\\Editor.LNK", target);
    const std::wstring panel = folder.Path() + L"\\Menu\\Panel.lnk";
    ASSERT_TRUE(catalogue_test::SaveShortcutToItem(panel, CSIDL_CONTROLS));
    const std::wstring notALink = folder.AddFile(L"Menu\\broken.lnk");
    const std::wstring inLinkFolder = folder.AddFile(L"odd.lnk\\tool.exe");
    const std::wstring paths[] = {
        upper,                                  // extension in capitals: not taken for one
        panel,                                  // a Control Panel item: no file-system path
        notALink,                               // not a shell link at all
        inLinkFolder,                           // ".lnk" only in a folder name
        folder.Path() + L"\\Menu\\Missing.lnk", // no such file
        target,                                 // a plain program
    };
    for (const std::wstring& path : paths) {
        std::wstring result = L"kept";
        EXPECT_FALSE(ResolveShortcutTarget(path, result)) << Show(path);
        EXPECT_EQ(L"kept", result) << Show(path) << " changed the output to " << Show(result);
    }
}

TEST(ProductName, OnlyTheFirstTranslationsNonEmptyProductNameCounts) {
    struct Case {
        const wchar_t* program;
        bool bFound;
        std::wstring name;
    } cases[] = {
        {L"version_my_tool.exe", true, L"My Tool"},
        {L"version_german_first.exe", true, L"Mein Werkzeug"},
        {L"version_german_only.exe", false, L""},
        {L"version_empty_name.exe", false, L""},
        {L"version_none.exe", false, L""},
        {L"version_missing.exe", false, L""},
    };
    for (const Case& c : cases) {
        const std::wstring path = nphost::BesideExecutable(c.program);
        std::wstring name;
        EXPECT_EQ(c.bFound, GetProductName(path, name)) << Show(c.program);
        EXPECT_EQ(c.name, name) << Show(c.program) << " gave " << Show(name);
    }
}

} // namespace
