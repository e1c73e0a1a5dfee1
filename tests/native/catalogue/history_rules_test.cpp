// Decoding, counters, candidate selection, names, merges, the add-entry step and the sort.
#include <gtest/gtest.h>

#include "catalogue/history_rules.h"
#include "catalogue/history_rules.h"
#include "test_support.h"

namespace {

UsageCounts Counts(int32_t nRun, int32_t nFocus = 0) {
    UsageCounts di = {nRun, nFocus};
    return di;
}

AppEntry Record(const WideString& wstrName, int32_t nRun) {
    AppEntry ad = AppEntry();
    ad.nRunCount = nRun;
    ad.nFocusCount = nRun * 10;
    CopyToBuffer(ad.wszAppName, kPathCapacity, wstrName);
    CopyToBuffer(ad.wszExePath, kPathCapacity, WIDE("C:\\") + wstrName + WIDE(".exe"));
    CopyToBuffer(ad.wszIconPath, kPathCapacity, WIDE("C:\\") + wstrName + WIDE(".exe"));
    return ad;
}

std::string Names(const std::vector<AppEntry>& vecAllApps) {
    std::string out;
    for (const AppEntry& ad : vecAllApps) {
        out += Show(TextBeforeZero(ad.wszAppName, kPathCapacity)) + " ";
    }
    return out;
}

TEST(HistoryRules, Rot13TurnsOnlyAsciiLettersAndKeepsTheLength) {
    EXPECT_EQ(WIDE("C:\\Program Files\\Tool\\tool.exe"),
              DecodeRot13(WIDE("P:\\Cebtenz Svyrf\\Gbby\\gbby.rkr")));
    EXPECT_EQ(WIDE("NOPQRSTUVWXYZABCDEFGHIJKLMnopqrstuvwxyzabcdefghijklm"),
              DecodeRot13(WIDE("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")));
    EXPECT_EQ(WIDE("{0139D44E-6AFE-49F2}\\@[`{ \u00E9\u8BB0 09"),
              DecodeRot13(WIDE("{0139Q44R-6NSR-49S2}\\@[`{ \u00E9\u8BB0 09")));
    const WideString withZero(WIDE("a\0b"), 3);
    EXPECT_EQ(WideString(WIDE("n\0o"), 3), DecodeRot13(withZero));
    EXPECT_EQ(WIDE(""), DecodeRot13(WIDE("")));
}

TEST(HistoryRules, CountersAreFullLittleEndianWordsWithMissingBytesZero) {
    const unsigned char nt6[16] = {0xAA, 0xAA, 0xAA, 0xAA, 0x05, 0x01, 0x00, 0x00,
                                   0x23, 0x00, 0x00, 0x00, 0xBB, 0xBB, 0xBB, 0xBB};
    struct Case {
        size_t nSize;
        int32_t nRun;
        int32_t nFocus;
    } nt6Cases[] = {
        {16, 261, 0x23}, {12, 261, 0x23}, {10, 261, 0x23}, {9, 261, 0x23},
        {8, 261, 0},     {5, 5, 0},       {4, 0, 0},       {0, 0, 0},
    };
    for (const Case& c : nt6Cases) {
        UsageCounts di = Counts(-7, -7);
        EXPECT_TRUE(ParseUsageDataNt6(nt6, c.nSize, di));
        EXPECT_EQ(c.nRun, di.nRunCount) << "NT 6, " << c.nSize << " bytes";
        EXPECT_EQ(c.nFocus, di.nFocusCount) << "NT 6, " << c.nSize << " bytes";
    }
    for (const Case& c : nt6Cases) {
        UsageCounts di = Counts(-7, -7);
        EXPECT_TRUE(ParseUsageDataNt5(nt6, c.nSize, di));
        EXPECT_EQ(c.nRun, di.nRunCount) << "NT 5, " << c.nSize << " bytes";
        EXPECT_EQ(0, di.nFocusCount) << "NT 5, " << c.nSize << " bytes";
    }
    const unsigned char huge[12] = {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x80};
    UsageCounts di = Counts(0, 0);
    EXPECT_TRUE(ParseUsageDataNt6(huge, sizeof(huge), di));
    EXPECT_EQ(INT32_MAX, di.nRunCount);
    EXPECT_EQ(INT32_MAX, di.nFocusCount);
    EXPECT_FALSE(ParseUsageDataNt6(nullptr, 16, di));
    EXPECT_FALSE(ParseUsageDataNt5(nullptr, 16, di));
}

TEST(HistoryRules, Nt6CandidatesAreKnownFolderPathsAndDrivePaths) {
    FakeHistoryPlatform platform;
    platform.knownFolderExpansions[WIDE("{A}\\Calc.lnk")] = WIDE("C:\\Menu\\Calc.lnk");
    // An unknown folder leaves what follows it.
    platform.knownFolderExpansions[WIDE("{U}\\\\host\\s\\t.exe")] = WIDE("\\\\host\\s\\t.exe");
    struct Case {
        WideString decoded;
        WideString candidate;
    } cases[] = {
        {WIDE("{A}\\Calc.lnk"), WIDE("C:\\Menu\\Calc.lnk")},
        {WIDE("{B}\\x.exe"), WIDE("")},
        {WIDE("C:\\Apps\\{x}\\a.exe"), WIDE("C:\\Apps\\{x}\\a.exe")},
        {WIDE("D:\\Tools\\a.exe"), WIDE("D:\\Tools\\a.exe")},
        {WIDE("Microsoft.Windows.Explorer"), WIDE("")},
        {WIDE("UEME_CTLSESSION"), WIDE("")},
        {WIDE("x{A}\\Calc.lnk"), WIDE("")},
        {WIDE(""), WIDE("")},
        {WIDE("c:\\tools\\a.exe"), WIDE("c:\\tools\\a.exe")},
        // Only a path that begins with a drive: no share, device or "\\?\" path.
        {WIDE("{U}\\\\host\\s\\t.exe"), WIDE("")},
        {WIDE("\\\\host\\s\\C:\\t.exe"), WIDE("")},
        {WIDE("\\\\?\\C:\\Tools\\a.exe"), WIDE("")},
        {WIDE("\\\\.\\C:\\Tools\\a.exe"), WIDE("")},
        {WIDE("x C:\\Tools\\a.exe"), WIDE("")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.candidate, SelectCandidateNt6(c.decoded, platform))
            << Show(c.decoded) << " gave " << Show(SelectCandidateNt6(c.decoded, platform));
    }
}

TEST(HistoryRules, Nt5CandidatesFollowTheFirstColon) {
    FakeHistoryPlatform platform;
    platform.csidl2Expansions[WIDE("%csidl2%\\Accessories\\Notepad.lnk")] =
        WIDE("C:\\Programs\\Accessories\\Notepad.lnk");
    platform.csidl2Expansions[WIDE("%csidl2%\\Net.lnk")] = WIDE("\\\\host\\Programs\\Net.lnk");
    struct Case {
        WideString decoded;
        WideString candidate;
    } cases[] = {
        {WIDE("UEME_RUNPATH:C:\\Program Files\\Tool\\tool.exe"),
         WIDE("C:\\Program Files\\Tool\\tool.exe")},
        {WIDE("UEME_RUNPIDL:%csidl2%\\Accessories\\Notepad.lnk"),
         WIDE("C:\\Programs\\Accessories\\Notepad.lnk")},
        {WIDE("UEME_RUNPIDL:%csidl7%\\a.lnk"), WIDE("")},
        {WIDE("UEME_RUNPIDL:%csidl2%\\Net.lnk"), WIDE("")}, // a Programs folder on a share
        {WIDE("UEME_RUNPATH:\\\\?\\C:\\Tool\\tool.exe"), WIDE("")},
        {WIDE("UEME_RUNPATH:tool.exe"), WIDE("")},
        {WIDE("C:\\no\\prefix.exe"), WIDE("")}, // the rest after "C:" has no ":\"
        {WIDE("UEME_CTLSESSION"), WIDE("")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.candidate, SelectCandidateNt5(c.decoded, platform)) << Show(c.decoded);
    }
}

TEST(HistoryRules, AppNameIsTheFileNameWithoutItsExtension) {
    struct Case {
        WideString path;
        bool bNamed;
        WideString name;
    } cases[] = {
        {WIDE("C:\\Users\\u\\Programs\\Microsoft Word.lnk"), true, WIDE("Microsoft Word")},
        {WIDE("C:\\WINDOWS\\notepad.exe"), true, WIDE("notepad")},
        {WIDE("C:\\a.b\\tool.x.exe"), true, WIDE("tool.x")},
        {WIDE("C:\\my.tools\\runner"), false, WIDE("")},
        {WIDE("tool.exe"), false, WIDE("")},
        {WIDE("C:\\dir\\.exe"), false, WIDE("")},
        {WIDE(""), false, WIDE("")},
    };
    for (const Case& c : cases) {
        WideString name;
        EXPECT_EQ(c.bNamed, AppNameFromPath(c.path, name)) << Show(c.path);
        EXPECT_EQ(c.name, name) << Show(c.path);
    }
}

TEST(HistoryRules, CountsAddWithinTheSignedRange) {
    EXPECT_EQ(266, AddCounts(261, 5));
    EXPECT_EQ(INT32_MAX, AddCounts(INT32_MAX, 1));
    EXPECT_EQ(INT32_MIN, AddCounts(INT32_MIN, -1));
}

TEST(HistoryRules, MergeByNameFindsTheFirstRecordOfThatNameInAnyLetterCase) {
    std::vector<AppEntry> vecAllApps = {Record(WIDE("alpha"), 1), Record(WIDE("Tool"), 2),
                                        Record(WIDE("tool"), 3)};
    EXPECT_TRUE(MergeByAppName(vecAllApps, WIDE("TOOL"), Counts(10, 100)));
    EXPECT_EQ(12, vecAllApps[1].nRunCount);
    EXPECT_EQ(120, vecAllApps[1].nFocusCount);
    EXPECT_EQ(3, vecAllApps[2].nRunCount);
    EXPECT_FALSE(MergeByAppName(vecAllApps, WIDE("Tool\u00E9"), Counts(1)));
    EXPECT_FALSE(MergeByAppName(vecAllApps, WIDE(""), Counts(1)));
    std::vector<AppEntry> empty;
    EXPECT_FALSE(MergeByAppName(empty, WIDE("Tool"), Counts(1)));
}

TEST(HistoryRules, MergeByPathNeedsTheWholePathAndAShortcutRenames) {
    std::vector<AppEntry> vecAllApps = {Record(WIDE("tool"), 2)};
    EXPECT_TRUE(MergeByExePath(vecAllApps, WIDE("c:\\TOOL.EXE"), WIDE("Word"), Counts(3), false));
    EXPECT_EQ(5, vecAllApps[0].nRunCount);
    EXPECT_EQ(WIDE("tool"), TextBeforeZero(vecAllApps[0].wszAppName, kPathCapacity));
    EXPECT_TRUE(MergeByExePath(vecAllApps, WIDE("C:\\tool.exe"), WIDE("Word"), Counts(1), true));
    EXPECT_EQ(6, vecAllApps[0].nRunCount);
    EXPECT_EQ(WIDE("Word"), TextBeforeZero(vecAllApps[0].wszAppName, kPathCapacity));
    // A path that is only the beginning of another names a different file.
    EXPECT_FALSE(MergeByExePath(vecAllApps, WIDE("C:\\tool.ex"), WIDE("x"), Counts(1), false));
    EXPECT_FALSE(MergeByExePath(vecAllApps, WIDE("C:\\tool.exe2"), WIDE("x"), Counts(1), false));
    EXPECT_FALSE(MergeByExePath(vecAllApps, WIDE(""), WIDE("x"), Counts(1), false));
    EXPECT_EQ(6, vecAllApps[0].nRunCount);
}

class AddEntry : public ::testing::Test {
  protected:
    HistoryDecision Add(const WideString& candidate, int32_t nRun, int32_t nFocus = 0) {
        return AddHistoryEntry(vecAllApps, candidate, Counts(nRun, nFocus), platform);
    }
    std::vector<AppEntry> vecAllApps;
    FakeHistoryPlatform platform;
};

TEST_F(AddEntry, EachCandidateIsDroppedMergedOrAppendedForItsOwnReason) {
    platform.files = {WIDE("C:\\A\\tool.exe"),      WIDE("D:\\B\\Tool.exe"),
                      WIDE("C:\\Menu\\Word.lnk"),   WIDE("C:\\Office\\winword.exe"),
                      WIDE("C:\\Menu\\Setup.lnk"),  WIDE("C:\\Windows\\Installer\\x.exe"),
                      WIDE("C:\\Tools\\runner"),    WIDE("C:\\Menu\\Panel.lnk"),
                      WIDE("C:\\Menu\\Writer.lnk"), WIDE("\\\\host\\s\\t.exe"),
                      WIDE("C:\\Menu\\Net.lnk")};
    platform.shortcuts[WIDE("C:\\Menu\\Word.lnk")] = WIDE("C:\\Office\\winword.exe");
    platform.shortcuts[WIDE("C:\\Menu\\Setup.lnk")] = WIDE("C:\\Vendor\\install.exe");
    platform.shortcuts[WIDE("C:\\Menu\\Writer.lnk")] = WIDE("C:\\Office\\setup.exe");
    platform.shortcuts[WIDE("C:\\Menu\\Net.lnk")] = WIDE("\\\\host\\s\\t.exe");
    struct Step {
        WideString candidate;
        int32_t nRun;
        HistoryOutcome outcome;
        size_t nRecord;
    } steps[] = {
        {WIDE(""), 1, HistoryNoCandidate, 0},
        {WIDE("C:\\") + Repeat(258) + WIDE(".exe"), 1, HistoryNoCandidate, 0},
        // Refused before the file is looked for, though it is there.
        {WIDE("\\\\host\\s\\t.exe"), 1, HistoryNoCandidate, 0},
        {WIDE("C:\\Menu\\Net.lnk"), 1, HistoryTargetOffDrive, 0},
        {WIDE("C:\\gone.exe"), 1, HistoryFileMissing, 0},
        {WIDE("C:\\A\\tool.exe"), 4, HistoryAppended, 0},
        {WIDE("D:\\B\\Tool.exe"), 6, HistoryMergedByName, 0},
        {WIDE("C:\\Office\\winword.exe"), 2, HistoryAppended, 1},
        {WIDE("C:\\Menu\\Word.lnk"), 7, HistoryMergedByPath, 1},
        // A shortcut named like an installer is kept when its target is not one, and the
        // other way round.
        {WIDE("C:\\Menu\\Setup.lnk"), 1, HistoryAppended, 2},
        {WIDE("C:\\Menu\\Writer.lnk"), 1, HistoryExcludedFileName, 0},
        {WIDE("C:\\Windows\\Installer\\x.exe"), 1, HistoryExcludedLocation, 0},
        {WIDE("C:\\Tools\\runner"), 1, HistoryNoAppName, 0},
        {WIDE("C:\\Menu\\Panel.lnk"), 3, HistoryAppended, 3}, // not resolved: the path itself
    };
    for (const Step& step : steps) {
        const HistoryDecision decision = Add(step.candidate, step.nRun, step.nRun * 2);
        EXPECT_EQ(step.outcome, decision.outcome) << Show(step.candidate);
        if (step.outcome >= HistoryMergedByName) {
            EXPECT_EQ(step.nRecord, decision.nRecord) << Show(step.candidate);
        }
    }
    EXPECT_EQ("tool=C:\\A\\tool.exe:10, Word=C:\\Office\\winword.exe:9, "
              "Setup=C:\\Vendor\\install.exe:1, Panel=C:\\Menu\\Panel.lnk:3",
              Describe(vecAllApps));
    EXPECT_EQ(20, vecAllApps[0].nFocusCount);
    EXPECT_EQ(WIDE("C:\\Office\\winword.exe"), WideString(vecAllApps[1].wszIconPath));
}

TEST_F(AddEntry, AShortcutBeforeItsTargetKeepsItsNameAndTheTargetIsCountedIn) {
    platform.files = {WIDE("C:\\Menu\\Word.lnk"), WIDE("C:\\Office\\winword.exe")};
    platform.shortcuts[WIDE("C:\\Menu\\Word.lnk")] = WIDE("C:\\Office\\winword.exe");
    EXPECT_EQ(HistoryAppended, Add(WIDE("C:\\Menu\\Word.lnk"), 3).outcome);
    EXPECT_EQ(HistoryMergedByPath, Add(WIDE("C:\\Office\\winword.exe"), 4).outcome);
    EXPECT_EQ("Word=C:\\Office\\winword.exe:7", Describe(vecAllApps));
}

TEST_F(AddEntry, LongNamesAndTargetsAreKeptWhole) {
    const WideString path = WIDE("C:\\") + Repeat(252) + WIDE(".exe"); // 259 characters
    platform.files = {path};
    EXPECT_EQ(HistoryAppended, Add(path, 1).outcome);
    ASSERT_EQ(1u, vecAllApps.size());
    EXPECT_EQ(path, TextBeforeZero(vecAllApps[0].wszExePath, kPathCapacity));
    EXPECT_EQ(Repeat(252), TextBeforeZero(vecAllApps[0].wszAppName, kPathCapacity));
    EXPECT_EQ(0, vecAllApps[0].wszExePath[259]);
}

TEST(HistoryRules, AddValueDecodesParsesAndSelectsByFamily) {
    FakeHistoryPlatform platform;
    platform.files = {WIDE("C:\\A\\tool.exe")};
    const unsigned char data[8] = {0, 0, 0, 0, 9, 1, 0, 0};
    std::vector<AppEntry> vecAllApps;
    HistoryValueTrace trace = AddHistoryValue(UsageFamilyNt6, vecAllApps, WIDE("P:\\N\\gbby.rkr"),
                                              data, sizeof(data), platform);
    EXPECT_EQ(WIDE("C:\\A\\tool.exe"), trace.wstrDecoded);
    EXPECT_EQ(265, trace.di.nRunCount);
    EXPECT_EQ(HistoryAppended, trace.decision.outcome);
    trace = AddHistoryValue(UsageFamilyNt5, vecAllApps, WIDE("HRZR_EHACNGU:P:\\N\\gbby.rkr"), data,
                            6, platform);
    EXPECT_EQ(WIDE("C:\\A\\tool.exe"), trace.wstrCandidate);
    EXPECT_EQ(HistoryMergedByName, trace.decision.outcome);
    trace = AddHistoryValue(UsageFamilyNt5, vecAllApps, WIDE("P:\\N\\gbby.rkr"), data, 6, platform);
    EXPECT_EQ(HistoryNoCandidate, trace.decision.outcome);
    ASSERT_EQ(1u, vecAllApps.size());
    EXPECT_EQ(530, vecAllApps[0].nRunCount);
}

TEST(HistoryRules, AValueNameEndsAtItsFirstZeroUnitAsTheSystemReadsThePath) {
    // A name written through the native registry interface may hold a zero unit; the file tests
    // see the path only up to it, so the exclusions must too.
    const WideString wstrSetup = WIDE("C:\\Temp\\setup.exe");
    const WideString wstrHidden = wstrSetup + WideChar(0) + WIDE("\\a.txt");
    FakeHistoryPlatform platform;
    platform.files = {wstrSetup, wstrHidden};
    const unsigned char data[8] = {0, 0, 0, 0, 1, 0, 0, 0};
    std::vector<AppEntry> vecAllApps;
    const HistoryValueTrace trace = AddHistoryValue(
        UsageFamilyNt6, vecAllApps, DecodeRot13(wstrHidden), data, sizeof(data), platform);
    EXPECT_EQ(Show(wstrSetup), Show(trace.wstrCandidate));
    EXPECT_EQ(HistoryExcludedFileName, trace.decision.outcome) << Describe(vecAllApps);
}

TEST(SortByRunCount, ReproducesTheExchangeOrder) {
    struct Case {
        std::vector<std::pair<const WideChar*, int32_t>> input;
        std::string expected;
    } cases[] = {
        {{{WIDE("P"), 3}, {WIDE("Q"), 3}, {WIDE("R"), 5}}, "R Q P "},
        {{{WIDE("P"), 5}, {WIDE("Q"), 3}, {WIDE("R"), 3}}, "P Q R "},
        {{{WIDE("A"), 1}, {WIDE("B"), 2}, {WIDE("C"), 1}, {WIDE("D"), 3}}, "D B C A "},
        {{{WIDE("A"), 2}, {WIDE("B"), 2}, {WIDE("C"), 2}}, "A B C "},
        {{{WIDE("A"), 1}}, "A "},
        {{}, ""},
    };
    for (const Case& c : cases) {
        std::vector<AppEntry> vecAllApps;
        for (const auto& item : c.input) {
            vecAllApps.push_back(Record(item.first, item.second));
        }
        SortByRunCount(vecAllApps);
        EXPECT_EQ(c.expected, Names(vecAllApps));
        for (const AppEntry& ad : vecAllApps) {
            EXPECT_EQ(ad.nRunCount * 10, ad.nFocusCount) << "records move whole";
            EXPECT_EQ(WIDE("C:\\") + TextBeforeZero(ad.wszAppName, kPathCapacity) + WIDE(".exe"),
                      TextBeforeZero(ad.wszExePath, kPathCapacity));
        }
    }
}

TEST(HistoryRules, EnumerationStopsAtTheEndAndOnRepeatingFailures) {
    struct Case {
        long nResult;
        EnumerationStep step;
    } cases[] = {
        {0, EnumerationUseValue},    // ERROR_SUCCESS
        {234, EnumerationSkipValue}, // ERROR_MORE_DATA: this name or data is too long
        {259, EnumerationStop},      // ERROR_NO_MORE_ITEMS
        {1018, EnumerationStop},     // ERROR_KEY_DELETED
        {6, EnumerationStop},        // ERROR_INVALID_HANDLE
        {5, EnumerationStop},        // ERROR_ACCESS_DENIED
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.step, StepAfterEnumeration(c.nResult)) << "result " << c.nResult;
    }
}

} // namespace
