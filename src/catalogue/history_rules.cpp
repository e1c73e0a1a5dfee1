// Decoding, counters, candidate selection, names, merges and the add-entry step of the history.
#include "catalogue/history_rules.h"

#include <limits.h>

#include "catalogue/exclusion_rules.h"
#include "common/path_text.h"

namespace {

// Win32 error codes seen by the enumeration loop.
const long kErrorSuccess = 0;
const long kErrorMoreData = 234;
const long kErrorNoMoreItems = 259;

WideChar RotateLetter(WideChar unit, WideChar first, WideChar last) {
    const int nSum = unit + 13;
    if (nSum > last) {
        return static_cast<WideChar>(nSum % last + (first - 1));
    }
    return static_cast<WideChar>(nSum);
}

// The little-endian 32-bit counter at `nOffset`, bytes past `nSize` taken as zero.
int32_t ReadCounter(const unsigned char* pData, size_t nSize, size_t nOffset) {
    uint32_t nValue = 0;
    for (size_t i = 0; i < 4; ++i) {
        const uint32_t nByte = nOffset + i < nSize ? pData[nOffset + i] : 0;
        nValue |= nByte << (8 * i);
    }
    return nValue > static_cast<uint32_t>(INT32_MAX) ? INT32_MAX : static_cast<int32_t>(nValue);
}

AppEntry MakeAppEntry(const UsageCounts& di, const WideString& wstrExePath,
                      const WideString& wstrAppName) {
    AppEntry ad = AppEntry();
    ad.nRunCount = di.nRunCount;
    ad.nFocusCount = di.nFocusCount;
    CopyToBuffer(ad.wszIconPath, kPathCapacity, wstrExePath);
    CopyToBuffer(ad.wszExePath, kPathCapacity, wstrExePath);
    CopyToBuffer(ad.wszAppName, kPathCapacity, wstrAppName);
    return ad;
}

void AddToRecord(AppEntry& ad, const UsageCounts& di) {
    ad.nRunCount = AddCounts(ad.nRunCount, di.nRunCount);
    ad.nFocusCount = AddCounts(ad.nFocusCount, di.nFocusCount);
}

const size_t kNoRecord = static_cast<size_t>(-1);

// The first record whose text `field` equals `wstrText` (A to Z without case), or kNoRecord.
size_t FindRecord(const std::vector<AppEntry>& vecAllApps,
                  WideChar (AppEntry::*field)[kPathCapacity], const WideString& wstrText) {
    for (size_t i = 0; i < vecAllApps.size(); ++i) {
        if (EqualsIgnoringAsciiCase(TextBeforeZero(vecAllApps[i].*field, kPathCapacity),
                                    wstrText)) {
            return i;
        }
    }
    return kNoRecord;
}

size_t FindRecordByAppName(const std::vector<AppEntry>& vecAllApps, const WideString& wstrAppName) {
    return FindRecord(vecAllApps, &AppEntry::wszAppName, wstrAppName);
}

// `wstrPath` when it begins with a drive; nothing else may reach the file system.
WideString OnADrive(const WideString& wstrPath) {
    return BeginsWithDrive(wstrPath) ? wstrPath : WideString();
}

size_t FindRecordByExePath(const std::vector<AppEntry>& vecAllApps, const WideString& wstrExePath) {
    return FindRecord(vecAllApps, &AppEntry::wszExePath, wstrExePath);
}

} // namespace

WideString FolderExpandingPlatform::ExpandKnownFolderPrefix(const WideString& wstrPath) {
    // A path that cannot be expanded leaves the output empty, which is the answer then.
    WideString wstrOutput;
    static_cast<void>(ExpandKnownFolderPrefixFrom(folders_, wstrPath, wstrOutput));
    return wstrOutput;
}

WideString FolderExpandingPlatform::ExpandCsidl2(const WideString& wstrPath) {
    WideString wstrOutput;
    static_cast<void>(ExpandCsidl2From(folders_, wstrPath, wstrOutput));
    return wstrOutput;
}

WideString DecodeRot13(const WideString& wstrSource) {
    WideString wstrDecoded = wstrSource;
    for (size_t i = 0; i < wstrDecoded.size(); ++i) {
        const WideChar unit = wstrDecoded[i];
        if (unit >= WIDE('A') && unit <= WIDE('Z')) {
            wstrDecoded[i] = RotateLetter(unit, WIDE('A'), WIDE('Z'));
        } else if (unit >= WIDE('a') && unit <= WIDE('z')) {
            wstrDecoded[i] = RotateLetter(unit, WIDE('a'), WIDE('z'));
        }
    }
    return wstrDecoded;
}

bool ParseUsageDataNt6(const unsigned char* pData, size_t nSize, UsageCounts& di) {
    if (pData == NULL) {
        return false;
    }
    di.nRunCount = ReadCounter(pData, nSize, 4);
    di.nFocusCount = ReadCounter(pData, nSize, 8);
    return true;
}

bool ParseUsageDataNt5(const unsigned char* pData, size_t nSize, UsageCounts& di) {
    if (pData == NULL) {
        return false;
    }
    di.nRunCount = ReadCounter(pData, nSize, 4);
    di.nFocusCount = 0;
    return true;
}

WideString SelectCandidateNt6(const WideString& wstrDecoded, HistoryPlatform& platform) {
    // Only a name that starts with a brace starts with a known folder; a brace further on is
    // part of an ordinary path.
    if (!wstrDecoded.empty() && wstrDecoded[0] == WIDE('{')) {
        // An unknown folder expands to nothing, which leaves what follows it: maybe a share.
        return OnADrive(platform.ExpandKnownFolderPrefix(wstrDecoded));
    }
    return OnADrive(wstrDecoded);
}

WideString SelectCandidateNt5(const WideString& wstrDecoded, HistoryPlatform& platform) {
    const size_t nColon = wstrDecoded.find(WIDE(':'));
    if (nColon == WideString::npos) {
        return WideString();
    }
    const WideString wstrRest = wstrDecoded.substr(nColon + 1);
    if (wstrRest.find(WIDE('%')) != WideString::npos) {
        return OnADrive(platform.ExpandCsidl2(wstrRest));
    }
    return OnADrive(wstrRest);
}

bool AppNameFromPath(const WideString& wstrPath, WideString& wstrAppName) {
    const size_t nSlash = wstrPath.rfind(WIDE('\\'));
    if (wstrPath.empty() || nSlash == WideString::npos) {
        return false;
    }
    const size_t nDot = wstrPath.rfind(WIDE('.'));
    if (nDot == WideString::npos || nDot <= nSlash + 1) {
        return false;
    }
    wstrAppName = CutToLength(wstrPath.substr(nSlash + 1, nDot - nSlash - 1), kPathCapacity - 1);
    return true;
}

int32_t AddCounts(int32_t nLeft, int32_t nRight) {
    const int64_t nSum = static_cast<int64_t>(nLeft) + nRight;
    if (nSum > INT32_MAX) {
        return INT32_MAX;
    }
    if (nSum < INT32_MIN) {
        return INT32_MIN;
    }
    return static_cast<int32_t>(nSum);
}

bool MergeByAppName(std::vector<AppEntry>& vecAllApps, const WideString& wstrAppName,
                    const UsageCounts& di) {
    if (vecAllApps.empty() || wstrAppName.empty()) {
        return false;
    }
    const size_t nRecord = FindRecordByAppName(vecAllApps, wstrAppName);
    if (nRecord == kNoRecord) {
        return false;
    }
    AddToRecord(vecAllApps[nRecord], di);
    return true;
}

bool MergeByExePath(std::vector<AppEntry>& vecAllApps, const WideString& wstrExePath,
                    const WideString& wstrAppName, const UsageCounts& di, bool bShortcut) {
    if (vecAllApps.empty() || wstrExePath.empty()) {
        return false;
    }
    const size_t nRecord = FindRecordByExePath(vecAllApps, wstrExePath);
    if (nRecord == kNoRecord) {
        return false;
    }
    AppEntry& ad = vecAllApps[nRecord];
    AddToRecord(ad, di);
    if (bShortcut) {
        CopyToBuffer(ad.wszAppName, kPathCapacity, wstrAppName);
    }
    return true;
}

HistoryDecision AddHistoryEntry(std::vector<AppEntry>& vecAllApps, const WideString& wstrCandidate,
                                const UsageCounts& di, HistoryPlatform& platform) {
    HistoryDecision decision = HistoryDecision();
    if (!BeginsWithDrive(wstrCandidate) || !FitsPathBuffer(wstrCandidate)) {
        decision.outcome = HistoryNoCandidate;
        return decision;
    }
    if (!platform.FileExists(wstrCandidate)) {
        decision.outcome = HistoryFileMissing;
        return decision;
    }
    WideString wstrExePath;
    decision.bShortcut = platform.ResolveShortcutTarget(wstrCandidate, wstrExePath);
    if (!decision.bShortcut || !FitsPathBuffer(wstrExePath)) {
        decision.bShortcut = false;
        wstrExePath = wstrCandidate;
    }
    decision.wstrExePath = wstrExePath;
    // The icon would be read from the target, wherever it is.
    if (!BeginsWithDrive(wstrExePath)) {
        decision.outcome = HistoryTargetOffDrive;
        return decision;
    }
    if (IsExcludedFileName(wstrExePath)) {
        decision.outcome = HistoryExcludedFileName;
        return decision;
    }
    if (IsExcludedLocation(wstrExePath)) {
        decision.outcome = HistoryExcludedLocation;
        return decision;
    }
    // The name comes from the history path, so a shortcut shows its own title.
    if (!AppNameFromPath(wstrCandidate, decision.wstrAppName)) {
        decision.outcome = HistoryNoAppName;
        return decision;
    }
    decision.nRecord = FindRecordByAppName(vecAllApps, decision.wstrAppName);
    if (MergeByAppName(vecAllApps, decision.wstrAppName, di)) {
        decision.outcome = HistoryMergedByName;
        return decision;
    }
    decision.nRecord = FindRecordByExePath(vecAllApps, wstrExePath);
    if (MergeByExePath(vecAllApps, wstrExePath, decision.wstrAppName, di, decision.bShortcut)) {
        decision.outcome = HistoryMergedByPath;
        return decision;
    }
    decision.nRecord = vecAllApps.size();
    vecAllApps.push_back(MakeAppEntry(di, wstrExePath, decision.wstrAppName));
    decision.outcome = HistoryAppended;
    return decision;
}

HistoryValueTrace AddHistoryValue(UsageFamily family, std::vector<AppEntry>& vecAllApps,
                                  const WideString& wstrTitle, const unsigned char* pData,
                                  size_t nDataSize, HistoryPlatform& platform) {
    HistoryValueTrace trace = HistoryValueTrace();
    trace.wstrTitle = wstrTitle;
    trace.nDataSize = nDataSize;
    // The path ends at the name's first zero unit, as every system call given it would read it.
    trace.wstrDecoded = DecodeRot13(TextBeforeZero(wstrTitle.data(), wstrTitle.size()));
    if (family == UsageFamilyNt6) {
        // A value without data counts zero.
        static_cast<void>(ParseUsageDataNt6(pData, nDataSize, trace.di));
        trace.wstrCandidate = SelectCandidateNt6(trace.wstrDecoded, platform);
    } else {
        static_cast<void>(ParseUsageDataNt5(pData, nDataSize, trace.di));
        trace.wstrCandidate = SelectCandidateNt5(trace.wstrDecoded, platform);
    }
    trace.decision = AddHistoryEntry(vecAllApps, trace.wstrCandidate, trace.di, platform);
    return trace;
}

void SortByRunCount(std::vector<AppEntry>& vecAllApps) {
    if (vecAllApps.size() < 2) {
        return;
    }
    for (size_t i = 0; i + 1 < vecAllApps.size(); ++i) {
        for (size_t j = i + 1; j < vecAllApps.size(); ++j) {
            if (vecAllApps[i].nRunCount < vecAllApps[j].nRunCount) {
                const AppEntry ad = vecAllApps[i];
                vecAllApps[i] = vecAllApps[j];
                vecAllApps[j] = ad;
            }
        }
    }
}

EnumerationStep StepAfterEnumeration(long nResult) {
    if (nResult == kErrorSuccess) {
        return EnumerationUseValue;
    }
    if (nResult == kErrorMoreData) {
        return EnumerationSkipValue;
    }
    if (nResult == kErrorNoMoreItems) {
        return EnumerationStop;
    }
    // Any other failure (a deleted key, an invalid handle) would come back for every index.
    return EnumerationStop;
}
