// UserAssist values (hostile names and data) through decoding, counters, candidate selection,
// folder expansion, exclusions, merges, the ordering and the accessory-duplicate tests.
#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "catalogue/accessory_apps.h"
#include "catalogue/exclusion_rules.h"
#include "catalogue/history_rules.h"
#include "catalogue/test_support.h"
#include "common/path_text.h"
#include "catalogue/history_rules.h"
#include "fuzz_input.h"

namespace {

const size_t kMaxValues = 8;
// Value names the registry hands over whole: a longer one is skipped as too long.
const size_t kMaxTitle = kPathCapacity - 1;
const long kErrorMoreData = 234;

const WideChar kProgramsGuid[] = WIDE("{A77F5D77-2E2B-44C3-A6A2-ABA601054A51}");
const WideChar kRoamingGuid[] = WIDE("{3EB685DB-65F9-4CF6-A03A-E3EF65729F3D}");

// Files and shortcuts as the input says; folder tokens expanded by the real rules over a
// small, fixed set of descriptions.
class AnsweringPlatform : public FolderExpandingPlatform {
  public:
    AnsweringPlatform(FuzzInput& input, FakeFolderSource& folders)
        : FolderExpandingPlatform(folders), input_(input) {
        const WideString programs = WIDE("Microsoft\\Windows\\Start Menu\\Programs");
        folders.AddRoot(kRoamingGuid, WIDE("AppData"), nullptr);
        folders.AddChild(kProgramsGuid, kRoamingGuid, &programs);
        folders.AddChild(WIDE("{LOOP}"), WIDE("{loop}"), nullptr);
        folders.specialFolders[kCsidlAppData] = WIDE("C:\\Users\\u\\AppData\\Roaming");
        folders.specialFolders[kCsidlPrograms] = WIDE("C:\\Users\\u\\Start Menu\\Programs");
    }
    // Nothing but a path on a drive is ever looked for.
    bool FileExists(const WideString& wstrPath) override {
        FUZZ_CHECK(BeginsWithDrive(wstrPath));
        return (input_.Byte() & 7) != 0;
    }
    bool ResolveShortcutTarget(const WideString& wstrPath, WideString& wstrTarget) override {
        FUZZ_CHECK(BeginsWithDrive(wstrPath));
        if ((input_.Byte() & 1) == 0) {
            return false;
        }
        const WideString wstrText = input_.Text(300); // a link's target is text up to a zero
        wstrTarget += TextBeforeZero(wstrText.data(), wstrText.size());
        return true;
    }

  private:
    FuzzInput& input_;
};

bool IsAsciiLetter(WideChar unit) {
    return (unit >= WIDE('A') && unit <= WIDE('Z')) || (unit >= WIDE('a') && unit <= WIDE('z'));
}

bool FieldTerminated(const WideChar (&wszField)[kPathCapacity]) {
    return std::find(wszField, wszField + kPathCapacity, WideChar(0)) != wszField + kPathCapacity;
}

void CheckDecoding(const WideString& wstrTitle, const WideString& wstrDecoded) {
    FUZZ_CHECK(wstrDecoded.size() == wstrTitle.size());
    FUZZ_CHECK(DecodeRot13(wstrDecoded) == wstrTitle);
    for (size_t i = 0; i < wstrTitle.size(); ++i) {
        FUZZ_CHECK(IsAsciiLetter(wstrTitle[i])
                       ? IsAsciiLetter(wstrDecoded[i]) && wstrDecoded[i] != wstrTitle[i]
                       : wstrDecoded[i] == wstrTitle[i]);
    }
}

void CheckCounts(UsageFamily family, const std::vector<unsigned char>& data,
                 const UsageCounts& di) {
    FUZZ_CHECK(di.nRunCount >= 0 && di.nFocusCount >= 0);
    FUZZ_CHECK(data.size() > 4 || di.nRunCount == 0);
    FUZZ_CHECK((family == UsageFamilyNt6 && data.size() > 8) || di.nFocusCount == 0);
    if (data.size() >= 8 && data[7] < 0x80) {
        FUZZ_CHECK(di.nRunCount ==
                   static_cast<int32_t>(data[4] | data[5] << 8 | data[6] << 16 | data[7] << 24));
    }
}

void CheckCandidate(UsageFamily family, const WideString& wstrDecoded,
                    const WideString& wstrCandidate) {
    // Whatever the value and its folder token, only a path on a drive is a candidate.
    FUZZ_CHECK(wstrCandidate.empty() || BeginsWithDrive(wstrCandidate));
    if (family == UsageFamilyNt6) {
        if (wstrDecoded.empty() || wstrDecoded[0] != WIDE('{')) {
            const bool bDrivePath = BeginsWithDrive(wstrDecoded);
            FUZZ_CHECK(wstrCandidate == (bDrivePath ? wstrDecoded : WideString()));
        }
        return;
    }
    const size_t nColon = wstrDecoded.find(WIDE(':'));
    FUZZ_CHECK(nColon != WideString::npos || wstrCandidate.empty());
}

void CheckDecision(const HistoryValueTrace& trace, const std::vector<AppEntry>& vecAllApps,
                   size_t nBefore) {
    const HistoryDecision& decision = trace.decision;
    const bool bUsable =
        BeginsWithDrive(trace.wstrCandidate) && trace.wstrCandidate.size() < kPathCapacity;
    FUZZ_CHECK(bUsable == (decision.outcome != HistoryNoCandidate));
    const bool bPastExclusions =
        decision.outcome == HistoryNoAppName || decision.outcome == HistoryMergedByName ||
        decision.outcome == HistoryMergedByPath || decision.outcome == HistoryAppended;
    if (bPastExclusions) {
        FUZZ_CHECK(BeginsWithDrive(decision.wstrExePath));
        FUZZ_CHECK(!IsExcludedFileName(decision.wstrExePath));
        FUZZ_CHECK(!IsExcludedLocation(decision.wstrExePath));
        FUZZ_CHECK(decision.wstrExePath.size() < kPathCapacity);
    }
    if (decision.outcome == HistoryNoAppName || !bPastExclusions) {
        FUZZ_CHECK(vecAllApps.size() == nBefore);
        return;
    }
    FUZZ_CHECK(!decision.wstrAppName.empty());
    FUZZ_CHECK(decision.wstrAppName.find(WIDE('\\')) == WideString::npos);
    FUZZ_CHECK(decision.nRecord < vecAllApps.size());
    if (decision.outcome != HistoryAppended) {
        FUZZ_CHECK(vecAllApps.size() == nBefore);
        return;
    }
    FUZZ_CHECK(vecAllApps.size() == nBefore + 1 && decision.nRecord == nBefore);
    const AppEntry& ad = vecAllApps.back();
    FUZZ_CHECK(TextBeforeZero(ad.wszExePath, kPathCapacity) == decision.wstrExePath);
    FUZZ_CHECK(TextBeforeZero(ad.wszIconPath, kPathCapacity) == decision.wstrExePath);
    FUZZ_CHECK(TextBeforeZero(ad.wszAppName, kPathCapacity) == decision.wstrAppName);
    FUZZ_CHECK(ad.nRunCount == trace.di.nRunCount && ad.nFocusCount == trace.di.nFocusCount);
}

void CheckList(FuzzInput& input, std::vector<AppEntry>& vecAllApps) {
    std::vector<std::pair<int32_t, WideString>> vecBefore;
    for (const AppEntry& ad : vecAllApps) {
        FUZZ_CHECK(FieldTerminated(ad.wszIconPath) && FieldTerminated(ad.wszExePath) &&
                   FieldTerminated(ad.wszAppName));
        FUZZ_CHECK(ad.nRunCount >= 0 && ad.nFocusCount >= 0);
        vecBefore.push_back(
            std::make_pair(ad.nRunCount, TextBeforeZero(ad.wszAppName, kPathCapacity)));
    }
    SortByRunCount(vecAllApps);
    std::vector<std::pair<int32_t, WideString>> vecAfter;
    for (size_t i = 0; i < vecAllApps.size(); ++i) {
        FUZZ_CHECK(i == 0 || vecAllApps[i - 1].nRunCount >= vecAllApps[i].nRunCount);
        vecAfter.push_back(std::make_pair(vecAllApps[i].nRunCount,
                                          TextBeforeZero(vecAllApps[i].wszAppName, kPathCapacity)));
    }
    std::sort(vecBefore.begin(), vecBefore.end());
    std::sort(vecAfter.begin(), vecAfter.end());
    FUZZ_CHECK(vecBefore == vecAfter);

    std::vector<WideString> vecAccessory;
    // Without accessory paths the checks below hold all the same.
    static_cast<void>(AccessoryPathsFromSystemFolder(input.Text(300), vecAccessory));
    for (const AppEntry& ad : vecAllApps) {
        // The NT 5 test finds every duplicate that the NT 6 test finds.
        FUZZ_CHECK(!IsAccessoryDuplicateNt6(ad, vecAccessory) ||
                   IsAccessoryDuplicateNt5(ad, vecAccessory));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const UsageFamily family = (input.Byte() & 1) != 0 ? UsageFamilyNt5 : UsageFamilyNt6;
    FakeFolderSource folders;
    AnsweringPlatform platform(input, folders);
    std::vector<AppEntry> vecAllApps;
    for (size_t nValues = input.Below(kMaxValues); nValues > 0; --nValues) {
        const WideString wstrTitle = input.Text(300);
        const std::vector<unsigned char> vecData = input.Bytes(200);
        // Too long a name or too much data: the enumeration skips the value.
        if (wstrTitle.size() > kMaxTitle || vecData.size() > kUsageDataCapacity) {
            FUZZ_CHECK(StepAfterEnumeration(kErrorMoreData) == EnumerationSkipValue);
            continue;
        }
        // The data in a block of its own size, never null, as the reader's buffer is.
        std::unique_ptr<unsigned char[]> pData(new unsigned char[vecData.size()]);
        std::copy(vecData.begin(), vecData.end(), pData.get());
        const size_t nBefore = vecAllApps.size();
        const HistoryValueTrace trace =
            AddHistoryValue(family, vecAllApps, wstrTitle, pData.get(), vecData.size(), platform);
        FUZZ_CHECK(trace.wstrTitle == wstrTitle && trace.nDataSize == vecData.size());
        CheckDecoding(TextBeforeZero(wstrTitle.data(), wstrTitle.size()), trace.wstrDecoded);
        CheckCounts(family, vecData, trace.di);
        CheckCandidate(family, trace.wstrDecoded, trace.wstrCandidate);
        CheckDecision(trace, vecAllApps, nBefore);
    }
    CheckList(input, vecAllApps);
    const long nResult = static_cast<long>(input.Int32());
    const EnumerationStep step = StepAfterEnumeration(nResult);
    FUZZ_CHECK((step == EnumerationUseValue) == (nResult == 0));
    FUZZ_CHECK((step == EnumerationSkipValue) == (nResult == kErrorMoreData));
    return 0;
}
