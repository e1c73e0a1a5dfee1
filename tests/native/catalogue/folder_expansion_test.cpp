// Known-folder chains, "%csidl2%" and trimming, over hand-made folder descriptions.
#include <gtest/gtest.h>

#include "catalogue/folder_expansion.h"
#include "test_support.h"

namespace {

const WideString kAppData = WIDE("C:\\Users\\u\\AppData\\Roaming");
const WideString kCommon = WIDE("C:\\ProgramData");
const WideString kPrograms = WIDE("C:\\Users\\u\\Start Menu\\Programs");

class FolderExpansion : public ::testing::Test {
  protected:
    void SetUp() override {
        source.specialFolders[kCsidlAppData] = kAppData;
        source.specialFolders[kCsidlCommonAppData] = kCommon;
        source.specialFolders[kCsidlPrograms] = kPrograms;
    }
    WideString Rel(const WideChar* text) { return WideString(text); }

    FakeFolderSource source;
};

TEST(TrimTrailingComponents, CutsAtMostCountComponentsInPlace) {
    struct Case {
        const WideChar* path;
        int count;
        const WideChar* expected;
    } cases[] = {
        {WIDE("C:\\Users\\u\\AppData\\Roaming"), 2, WIDE("C:\\Users\\u")},
        {WIDE("C:\\a"), 2, WIDE("C:")},
        {WIDE("plain"), 1, WIDE("plain")},
        {WIDE("a\\b\\"), 1, WIDE("a\\b")},
        {WIDE("a/b/c"), 1, WIDE("a/b/c")},
        {WIDE("a\\b"), 0, WIDE("a\\b")},
    };
    for (const Case& c : cases) {
        WideChar buffer[kPathCapacity] = {0};
        CopyToBuffer(buffer, kPathCapacity, c.path);
        TrimTrailingComponents(buffer, c.count, WIDE('\\'));
        EXPECT_EQ(WideString(c.expected), WideString(buffer)) << Show(c.path) << " x" << c.count;
    }
    TrimTrailingComponents(nullptr, 2, WIDE('\\')); // nothing to cut, nothing happens
}

TEST_F(FolderExpansion, ChainsEndInTheApplicationDataRoots) {
    const WideString programs = Rel(WIDE("Microsoft\\Windows\\Start Menu\\Programs"));
    source.AddRoot(WIDE("{R}"), WIDE("AppData"), nullptr);
    source.AddChild(WIDE("{P}"), WIDE("{R}"), &programs);
    const WideString tools = Rel(WIDE("Tools"));
    source.AddChild(WIDE("{T}"), WIDE("{P}"), &tools);
    const WideString appRel = Rel(WIDE("Apps"));
    source.AddRoot(WIDE("{C}"), WIDE("Common AppData"), &appRel);
    source.AddRoot(WIDE("{lower}"), WIDE("common appdata"), nullptr);
    source.AddRoot(WIDE("{lowerapp}"), WIDE("appdata"), &appRel);

    struct Case {
        const WideChar* guid;
        WideString expected;
    } cases[] = {
        {WIDE("{R}"), WIDE("C:\\Users\\u")},
        {WIDE("{P}"), WIDE("C:\\Users\\u\\Microsoft\\Windows\\Start Menu\\Programs")},
        {WIDE("{T}"), WIDE("C:\\Users\\u\\Microsoft\\Windows\\Start Menu\\Programs\\Tools")},
        {WIDE("{C}"), WIDE("C:\\ProgramData\\Apps")},
        {WIDE("{lower}"), WIDE("C:\\ProgramData")},
        {WIDE("{lowerapp}"), WIDE("C:\\Users\\u\\Apps")},
    };
    for (const Case& c : cases) {
        WideString path;
        EXPECT_EQ(KnownFolderFound, ResolveKnownFolderPath(source, c.guid, path)) << Show(c.guid);
        EXPECT_EQ(c.expected, path) << Show(c.guid) << " gave " << Show(path);
    }
}

TEST_F(FolderExpansion, OtherRootsAndMissingPiecesLeaveAPathFromTheRoot) {
    const WideString rel = Rel(WIDE("Sub"));
    source.AddRoot(WIDE("{Docs}"), WIDE("Personal"), &rel);
    source.AddRoot(WIDE("{Bare}"), WIDE("Personal"), nullptr);
    source.AddChild(WIDE("{NoRel}"), WIDE("{Docs}"), nullptr);
    source.AddChild(WIDE("{Orphan}"), WIDE("{Gone}"), &rel);
    struct Case {
        const WideChar* guid;
        WideString expected;
    } cases[] = {
        {WIDE("{Docs}"), WIDE("\\Sub")},
        {WIDE("{Bare}"), WIDE("")},
        {WIDE("{NoRel}"), WIDE("\\Sub\\")},
        {WIDE("{Orphan}"), WIDE("\\Sub")},
    };
    for (const Case& c : cases) {
        WideString path;
        EXPECT_EQ(KnownFolderFound, ResolveKnownFolderPath(source, c.guid, path)) << Show(c.guid);
        EXPECT_EQ(c.expected, path) << Show(c.guid) << " gave " << Show(path);
    }
}

TEST_F(FolderExpansion, AMissingSpecialFolderLeavesTheRootEmpty) {
    source.specialFolders.clear();
    const WideString rel = Rel(WIDE("Apps"));
    source.AddRoot(WIDE("{C}"), WIDE("Common AppData"), &rel);
    WideString path;
    EXPECT_EQ(KnownFolderFound, ResolveKnownFolderPath(source, WIDE("{C}"), path));
    EXPECT_EQ(WIDE("\\Apps"), path) << Show(path);
}

TEST_F(FolderExpansion, AnUnknownFolderLeavesTheOutputUntouched) {
    WideString path = WIDE("before");
    EXPECT_EQ(KnownFolderMissing, ResolveKnownFolderPath(source, WIDE("{none}"), path));
    EXPECT_EQ(WIDE("before"), path);
}

TEST_F(FolderExpansion, CyclesAndOverlongChainsEndWithAnEmptyResult) {
    const WideString rel = Rel(WIDE("x"));
    source.AddChild(WIDE("{A}"), WIDE("{B}"), &rel);
    source.AddChild(WIDE("{B}"), WIDE("{a}"), &rel); // the same key in other letter case
    source.AddChild(WIDE("{Self}"), WIDE("{Self}"), &rel);
    // A chain one level deeper than followed: {D0} -> {D1} -> ... -> root.
    for (int i = 0; i < kMaxKnownFolderDepth; ++i) {
        source.AddChild(WIDE("{D") + WideString(1, static_cast<WideChar>('A' + i)) + WIDE("}"),
                        WIDE("{D") + WideString(1, static_cast<WideChar>('A' + i + 1)) + WIDE("}"),
                        &rel);
    }
    source.AddRoot(WIDE("{D") + WideString(1, static_cast<WideChar>('A' + kMaxKnownFolderDepth)) +
                       WIDE("}"),
                   WIDE("Common AppData"), nullptr);
    const WideChar* guids[] = {WIDE("{A}"), WIDE("{Self}"), WIDE("{DA}")};
    for (const WideChar* guid : guids) {
        WideString path = WIDE("before");
        source.nReads = 0;
        EXPECT_EQ(KnownFolderUnusable, ResolveKnownFolderPath(source, guid, path)) << Show(guid);
        EXPECT_EQ(WIDE(""), path) << Show(guid);
        EXPECT_LE(source.nReads, kMaxKnownFolderDepth + 1) << Show(guid);
    }
    // One level fewer is still followed.
    WideString path;
    EXPECT_EQ(KnownFolderFound, ResolveKnownFolderPath(source, WIDE("{DB}"), path));
    EXPECT_EQ(kCommon.size() + 2 * (static_cast<size_t>(kMaxKnownFolderDepth) - 1), path.size())
        << Show(path);
}

TEST_F(FolderExpansion, APathThatWouldNotFitIsEmptyNotCut) {
    const WideString longRel = Repeat(250);
    source.AddRoot(WIDE("{C}"), WIDE("Common AppData"), &longRel);
    source.unusable.insert(WIDE("{TooLongValue}"));
    WideString path = WIDE("before");
    EXPECT_EQ(KnownFolderUnusable, ResolveKnownFolderPath(source, WIDE("{C}"), path));
    EXPECT_EQ(WIDE(""), path);
    path = WIDE("before");
    EXPECT_EQ(KnownFolderUnusable, ResolveKnownFolderPath(source, WIDE("{TooLongValue}"), path));
    EXPECT_EQ(WIDE(""), path);
}

TEST_F(FolderExpansion, PrefixExpansionJoinsFolderAndRest) {
    const WideString rel = Rel(WIDE("Apps"));
    source.AddRoot(WIDE("{C}"), WIDE("Common AppData"), &rel);
    source.AddChild(WIDE("{Cycle}"), WIDE("{Cycle}"), &rel);
    struct Case {
        WideString input;
        bool bExpanded;
        WideString output;
    } cases[] = {
        {WIDE("{C}\\Tool\\tool.exe"), true, WIDE("C:\\ProgramData\\Apps\\Tool\\tool.exe")},
        {WIDE("{unknown}\\Accessories\\Calculator.lnk"), true,
         WIDE("\\Accessories\\Calculator.lnk")},
        {WIDE("{C}"), false, WIDE("")},
        {WIDE("{Cycle}\\a.exe"), false, WIDE("")},
        // The join would need 260 characters.
        {WIDE("{C}\\") + Repeat(259 - 20 + 1), false, WIDE("")},
        {WIDE("{C}\\") + Repeat(259 - 20), true, WIDE("C:\\ProgramData\\Apps\\") + Repeat(239)},
        {Repeat(260) + WIDE("\\a.exe"), false, WIDE("")},
    };
    for (const Case& c : cases) {
        WideString output = WIDE("before");
        EXPECT_EQ(c.bExpanded, ExpandKnownFolderPrefixFrom(source, c.input, output))
            << Show(c.input);
        EXPECT_EQ(c.output, output) << Show(c.input) << " gave " << Show(output);
    }
}

TEST_F(FolderExpansion, Csidl2BecomesTheProgramsFolder) {
    struct Case {
        WideString input;
        bool bExpanded;
        WideString output;
    } cases[] = {
        {WIDE("%csidl2%\\Accessories\\Notepad.lnk"), true,
         kPrograms + WIDE("\\Accessories\\Notepad.lnk")},
        {WIDE("%CSIDL2%\\a.lnk"), true, kPrograms + WIDE("\\a.lnk")},
        {WIDE("x%csidl2%\\a.lnk"), true, kPrograms + WIDE("\\a.lnk")},
        {WIDE("%csidl7%\\a.lnk"), false, WIDE("")},
        {WIDE("%csidl2%"), false, WIDE("")},
        {WIDE("\\a\\b.lnk"), false, WIDE("")},
        {WIDE("%csid\\a"), false, WIDE("")},
        {WIDE("%csidl2%\\") + Repeat(259 - kPrograms.size()), false, WIDE("")},
        {WIDE("%csidl2%\\") + Repeat(258 - kPrograms.size()), true,
         kPrograms + WIDE("\\") + Repeat(258 - kPrograms.size())},
    };
    for (const Case& c : cases) {
        WideString output = WIDE("before");
        EXPECT_EQ(c.bExpanded, ExpandCsidl2From(source, c.input, output)) << Show(c.input);
        EXPECT_EQ(c.output, output) << Show(c.input) << " gave " << Show(output);
    }
    source.specialFolders.clear();
    WideString output;
    EXPECT_FALSE(ExpandCsidl2From(source, WIDE("%csidl2%\\a.lnk"), output));
    EXPECT_EQ(WIDE(""), output);
}

} // namespace
