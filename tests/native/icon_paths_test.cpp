// Text rules of the icon cache: shortcuts, the Control Panel, bitmap names and folder paths.
#include <gtest/gtest.h>

#include "common/path_text.h"
#include "icons/icon_paths.h"
#include "support/readable_text.h"

namespace {

TEST(IconPaths, ShortcutAndControlPanelAreExactSubstrings) {
    EXPECT_TRUE(IsShortcutPath(WIDE("C:\\Links\\Editor.lnk")));
    EXPECT_TRUE(IsShortcutPath(WIDE("C:\\a.lnk.d\\tool.exe"))) << "anywhere in the path";
    EXPECT_FALSE(IsShortcutPath(WIDE("C:\\Links\\Editor.LNK"))) << "exact case only";
    EXPECT_TRUE(IsControlPanelPath(WIDE("C:\\Windows\\system32\\control.exe")));
    EXPECT_TRUE(IsControlPanelPath(WIDE("control.exe,5")));
    EXPECT_FALSE(IsControlPanelPath(WIDE("C:\\Windows\\system32\\Control.exe")));
    EXPECT_FALSE(IsControlPanelPath(WIDE("C:\\Windows\\system32\\CONTROL.EXE")));
}

TEST(IconPaths, NameIsTheFileNameWithoutItsLastExtension) {
    const struct {
        const WideChar* path;
        const WideChar* name;
    } cases[] = {
        {WIDE("C:\\Windows\\system32\\notepad.exe"), WIDE("notepad")},
        {WIDE("C:\\Tools\\my.app.exe"), WIDE("my.app")},
        {WIDE("C:\\dir.x\\tool"), WIDE("tool")},
        {WIDE("C:\\Links\\Editor.lnk"), WIDE("Editor")},
        {WIDE("tool.exe"), WIDE("tool")},
        {WIDE("tool"), WIDE("tool")},
        {WIDE("C:\\dir\\"), WIDE("")},
        {WIDE("C:\\dir\\.profile"), WIDE("")},
        {WIDE("C:\\\x753B\x56FE.exe"), WIDE("\x753B\x56FE")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WideString(c.name), AppIconName(c.path))
            << "for " << Show(c.path) << " expected " << Show(c.name) << ", got "
            << Show(AppIconName(c.path));
    }
}

// A name that would leave the images folder or open a device is refused, whatever the path.
TEST(IconPaths, NamesThatLeaveTheFolderOrNameADeviceAreNotStored) {
    const WideChar* const storable[] = {WIDE("notepad"),      WIDE("my.app"), WIDE(""),
                                        WIDE("\x753B\x56FE"), WIDE("COM10"),  WIDE("LPT0"),
                                        WIDE("console"),      WIDE("nul_x"),  WIDE(".profile")};
    const WideChar* const refused[] = {
        WIDE("a/b"),   WIDE("x:stream"), WIDE("a\\b"),      WIDE("."),          WIDE(".."),
        WIDE("tool."), WIDE("tool "),    WIDE("nul"),       WIDE("nul.x"),      WIDE("NUL .x"),
        WIDE("Con"),   WIDE("prn.tool"), WIDE("aux"),       WIDE("com1"),       WIDE("COM9.setup"),
        WIDE("lpt1"),  WIDE("LPT9"),     WIDE("COM\x00B9"), WIDE("lpt\x00B3.x")};
    for (const WideChar* name : storable) {
        WideString path;
        EXPECT_TRUE(BitmapFilePath(WIDE("C:\\m\\images"), name, &path)) << Show(name);
        EXPECT_EQ(WIDE("C:\\m\\images\\") + WideString(name) + WIDE(".bmp"), path);
    }
    for (const WideChar* name : refused) {
        WideString path = WIDE("untouched");
        EXPECT_FALSE(BitmapFilePath(WIDE("C:\\m\\images"), name, &path)) << Show(name);
        EXPECT_EQ(WIDE("untouched"), path) << Show(name);
    }
    // The history path that had its bitmap written beside the images folder.
    WideString path;
    EXPECT_FALSE(
        BitmapFilePath(WIDE("C:\\m\\images"), AppIconName(WIDE("C:\\a/../../x.exe")), &path));
}

TEST(IconPaths, TheImagesFolderMustBeAFolderAndABitmapAPlainFileOfOneLink) {
    const uint32_t kReadOnly = kAttributeReadOnly, kFolder = kAttributeDirectory,
                   kReparse = kAttributeReparsePoint, kArchive = 0x20;
    EXPECT_TRUE(IsWritableImagesFolder(kFolder));
    EXPECT_TRUE(IsWritableImagesFolder(kFolder | kReadOnly)) << "Windows ignores it for folders";
    EXPECT_FALSE(IsWritableImagesFolder(kFolder | kReparse)) << "a junction";
    EXPECT_FALSE(IsWritableImagesFolder(kArchive)) << "a file";
    EXPECT_TRUE(IsReplaceableBitmap(kArchive, 1));
    EXPECT_TRUE(IsReplaceableBitmap(0, 0));
    EXPECT_FALSE(IsReplaceableBitmap(kArchive, 2)) << "a hard link";
    EXPECT_FALSE(IsReplaceableBitmap(kArchive | kReparse, 1)) << "a symbolic link";
    EXPECT_FALSE(IsReplaceableBitmap(kArchive | kReadOnly, 1));
    EXPECT_FALSE(IsReplaceableBitmap(kFolder, 1));
    // The picker's folder ends in a backslash.
    EXPECT_EQ(WIDE("C:\\m\\images"), FolderOfFile(WIDE("C:\\m\\images\\\\x.bmp")));
}

TEST(IconPaths, FilePathAddsOneBackslashAndTheExtension) {
    WideString path;
    ASSERT_TRUE(BitmapFilePath(WIDE("C:\\m\\images"), WIDE("notepad"), &path));
    EXPECT_EQ(WIDE("C:\\m\\images\\notepad.bmp"), path);
    ASSERT_TRUE(BitmapFilePath(WIDE("C:\\m\\images\\"), WIDE("notepad"), &path));
    EXPECT_EQ(WIDE("C:\\m\\images\\\\notepad.bmp"), path) << "the backslash is always added";
}

TEST(IconPaths, FilePathLongerThan259CharactersIsRefused) {
    const WideString folder = WIDE("C:\\") + WideString(240, 'f'); // 243 characters
    WideString path = WIDE("untouched");
    const WideString fits(259 - 243 - 1 - 4, 'n');
    ASSERT_TRUE(BitmapFilePath(folder, fits, &path));
    EXPECT_EQ(259u, path.size());
    path = WIDE("untouched");
    EXPECT_FALSE(BitmapFilePath(folder, fits + WIDE("n"), &path)) << "260 characters";
    EXPECT_EQ(WIDE("untouched"), path);
}

TEST(IconPaths, ParentFolderIsTheTextBeforeTheLastBackslash) {
    EXPECT_EQ(WIDE("C:\\a\\b"), ParentFolder(WIDE("C:\\a\\b\\c")));
    EXPECT_EQ(WIDE("C:\\a\\b"), ParentFolder(WIDE("C:\\a\\b\\")));
    EXPECT_EQ(WIDE("C:"), ParentFolder(WIDE("C:\\a")));
    EXPECT_EQ(WIDE(""), ParentFolder(WIDE("C:")));
    EXPECT_EQ(WIDE(""), ParentFolder(WIDE("\\a")));
}

} // namespace
