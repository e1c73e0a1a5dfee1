// Entry text, the join, the images folder, the accessory list, exclusions and duplicate tests.
#include <gtest/gtest.h>

#include "catalogue/accessory_apps.h"
#include "catalogue/exclusion_rules.h"
#include "catalogue/result_text.h"
#include "icons/icon_paths.h"
#include "test_support.h"

namespace {

AppEntry Record(const WideString& wstrExePath, const WideString& wstrAppName) {
    AppEntry ad = AppEntry();
    CopyToBuffer(ad.wszIconPath, kPathCapacity, wstrExePath);
    CopyToBuffer(ad.wszExePath, kPathCapacity, wstrExePath);
    CopyToBuffer(ad.wszAppName, kPathCapacity, wstrAppName);
    return ad;
}

TEST(ResultText, EntriesAreAppendedAsPathStarNameHashWithNothingEscaped) {
    WideString wstrBlock;
    AppendEntryText(wstrBlock, WIDE("C:\\A\\a.exe"), WIDE("Tool #1*"));
    AppendEntryText(wstrBlock, WIDE("D:\\b.exe"), WIDE("\u8BB0"));
    EXPECT_EQ(WIDE("C:\\A\\a.exe*Tool #1*#D:\\b.exe*\u8BB0#"), wstrBlock) << Show(wstrBlock);
}

TEST(ResultText, JoinPutsTheAccessoryBlockFirstAndReplacesWhatTheResultHeld) {
    WideString wstrResult = WIDE("old");
    EXPECT_EQ(7u, JoinResultText(wstrResult, WIDE("acc#"), WIDE("hi#")));
    EXPECT_EQ(WIDE("acc#hi#"), wstrResult) << Show(wstrResult);
    EXPECT_GE(wstrResult.capacity(), 8192u);
    EXPECT_EQ(0u, JoinResultText(wstrResult, WIDE(""), WIDE("")));
    EXPECT_EQ(WIDE(""), wstrResult);
}

TEST(ResultText, ImagesFolderLiesBesideTheModuleFile) {
    struct Case {
        WideString module;
        WideString folder;
    } cases[] = {
        {WIDE("C:\\Plugins\\npDesklaunch.dll"), WIDE("C:\\Plugins\\images")},
        {WIDE("npDesklaunch.dll"), WIDE("npDesklaunch.dll\\images")},
        {WIDE("C:\\") + Repeat(240) + WIDE("\\np.dll"),
         WIDE("C:\\") + Repeat(240) + WIDE("\\images")},
        // 259 characters fit; 260 would need one more with the terminator: no cut path, no folder.
        {WIDE("C:\\") + Repeat(249) + WIDE("\\np.dll"),
         WIDE("C:\\") + Repeat(249) + WIDE("\\images")},
        {WIDE("C:\\") + Repeat(250) + WIDE("\\np.dll"), WIDE("")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.folder, ImagesFolderBeside(c.module))
            << "module " << Show(c.module) << " gave " << Show(ImagesFolderBeside(c.module));
    }
}

TEST(Accessories, FivePathsFromTheSystemFolderAndItsParentInTableOrder) {
    std::vector<WideString> vecAccessory;
    vecAccessory.push_back(WIDE("kept"));
    ASSERT_TRUE(AccessoryPathsFromSystemFolder(WIDE("C:\\WINDOWS\\system32"), vecAccessory));
    const std::vector<WideString> expected = {
        WIDE("kept"),
        WIDE("C:\\WINDOWS\\system32\\mspaint.exe"),
        WIDE("C:\\WINDOWS\\system32\\notepad.exe"),
        WIDE("C:\\WINDOWS\\system32\\calc.exe"),
        WIDE("C:\\WINDOWS\\system32\\control.exe"),
        WIDE("C:\\WINDOWS\\explorer.exe"),
    };
    ASSERT_EQ(expected.size(), vecAccessory.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i], vecAccessory[i]) << "at " << i << ": " << Show(vecAccessory[i]);
    }
    const WideString names[kAccessoryCount] = {
        WIDE("\u753B\u56FE"), WIDE("\u8BB0\u4E8B\u672C"), WIDE("\u8BA1\u7B97\u5668"),
        WIDE("\u63A7\u5236\u9762\u677F"), WIDE("\u8D44\u6E90\u7BA1\u7406\u5668")};
    for (size_t k = 0; k < kAccessoryCount; ++k) {
        EXPECT_EQ(names[k], WideString(AccessoryDisplayNames[k])) << "name " << k;
    }
}

TEST(Accessories, NoPathsWithoutAParentFolderOrRoomForTheNames) {
    const WideString folders[] = {WIDE(""), WIDE("system32"),
                                  WIDE("C:\\") + Repeat(246) + WIDE("\\s")};
    for (const WideString& folder : folders) {
        std::vector<WideString> vecAccessory;
        EXPECT_FALSE(AccessoryPathsFromSystemFolder(folder, vecAccessory)) << Show(folder);
        EXPECT_TRUE(vecAccessory.empty()) << Show(folder);
    }
}

TEST(Exclusions, ListsAreFilledOnceWithTheirEntriesInOrder) {
    FillExclusionLists();
    const std::vector<WideString> words = {WIDE("rundll32"), WIDE("setup"), WIDE("uninstall"),
                                           WIDE("uninst")};
    EXPECT_EQ(words, ExcludedNameWords);
    EXPECT_EQ(std::vector<WideString>{WIDE("\\windows\\installer\\")}, ExcludedPathParts);
    FillExclusionLists();
    EXPECT_EQ(4u, ExcludedNameWords.size());
    EXPECT_EQ(1u, ExcludedPathParts.size());
}

TEST(Exclusions, ToLowerAsciiFoldsOnlyAToZ) {
    EXPECT_EQ(WIDE("abc xyz @[`{ \u00C4\uFF33"), ToLowerAscii(WIDE("ABC xYz @[`{ \u00C4\uFF33")));
}

TEST(Exclusions, FileNameTestLooksAtTheNameBetweenLastBackslashAndLastDot) {
    struct Case {
        WideString path;
        bool bExcluded;
    } cases[] = {
        {WIDE("C:\\Tools\\Setup.exe"), true},
        {WIDE("C:\\Tools\\MySetup32.exe"), true},
        {WIDE("C:\\App\\Uninstall.exe"), true},
        {WIDE("C:\\App\\UNINST.EXE"), true},
        {WIDE("C:\\WINDOWS\\system32\\rundll32.exe"), true},
        {WIDE("C:\\App\\unins000.exe"), false},
        {WIDE("C:\\setup\\tool.exe"), false},   // only the file name counts
        {WIDE("C:\\Tools\\tool.setup"), false}, // nor the extension
        {WIDE("C:\\my.tools\\setup"), true},    // dot before the backslash: whole name
        {WIDE("C:\\my.tools\\runner"), false},
        {WIDE("C:\\Tools\\setup"), false}, // no dot at all
        {WIDE("setup.exe"), false},        // no backslash at all
        {WIDE(""), false},
        {WIDE("C:\\\uFF33\uFF25\uFF34\uFF35\uFF30.exe"), false}, // full-width letters
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.bExcluded, IsExcludedFileName(c.path)) << Show(c.path);
    }
}

TEST(Exclusions, LocationTestFindsTheInstallerCacheInAnyLetterCase) {
    struct Case {
        WideString path;
        bool bExcluded;
    } cases[] = {
        {WIDE("C:\\WINDOWS\\Installer\\{x}\\tool.exe"), true},
        {WIDE("D:\\windows\\installer\\a.exe"), true},
        {WIDE("C:\\Windows\\Installers\\tool.exe"), false},
        {WIDE("C:\\Windows\\installer.exe"), false},
        {WIDE(""), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.bExcluded, IsExcludedLocation(c.path)) << Show(c.path);
    }
}

TEST(Accessories, DuplicatesByFamily) {
    std::vector<WideString> vecAccessory;
    ASSERT_TRUE(AccessoryPathsFromSystemFolder(WIDE("C:\\WINDOWS\\system32"), vecAccessory));
    struct Case {
        WideString exePath;
        WideString name;
        bool bNt6;
        bool bNt5;
    } cases[] = {
        {WIDE("C:\\WINDOWS\\System32\\NOTEPAD.EXE"), WIDE("Editor"), true, true},
        {WIDE("D:\\Tools\\calc.exe"), WIDE("calc"), false, true},
        {WIDE("D:\\Tools\\Notepad.exe"), WIDE("Notepad"), false, false},
        {WIDE("D:\\Tools\\e.exe"), WIDE("e"), false, true},
        {WIDE("D:\\Tools\\win.exe"), WIDE("WINDOWS"), false, true},
        {WIDE("D:\\Tools\\tool.exe"), WIDE("tool"), false, false},
        {WIDE("C:\\WINDOWS\\explorer.exe"), WIDE("Files"), true, true},
    };
    for (const Case& c : cases) {
        const AppEntry ad = Record(c.exePath, c.name);
        EXPECT_EQ(c.bNt6, IsAccessoryDuplicateNt6(ad, vecAccessory)) << Show(c.exePath);
        EXPECT_EQ(c.bNt5, IsAccessoryDuplicateNt5(ad, vecAccessory)) << Show(c.exePath);
    }
    const std::vector<WideString> none;
    EXPECT_FALSE(IsAccessoryDuplicateNt5(Record(WIDE("C:\\a.exe"), WIDE("a")), none));
}

} // namespace
