// The rules that turn usage-history values into AppEntry records: decoding, counters, the
// choice of a candidate path, names, merges and the add-entry step. The file system, shortcuts
// and folder expansion are reached through HistoryPlatform.
#ifndef NPDESKLAUNCH_CATALOGUE_HISTORY_RULES_H
#define NPDESKLAUNCH_CATALOGUE_HISTORY_RULES_H

#include <stddef.h>

#include <vector>

#include "catalogue/app_entry.h"
#include "catalogue/folder_expansion.h"
#include "common/wide_text.h"

enum UsageFamily {
    UsageFamilyNt5,
    UsageFamilyNt6,
};

// Bytes of value data that the readers accept; a longer value is skipped.
const size_t kUsageDataCapacity = 128;

// What the system offers the rules.
class HistoryPlatform {
  public:
    virtual ~HistoryPlatform() {}
    virtual bool FileExists(const WideString& wstrPath) = 0;
    // True, with the target appended to `wstrTarget`, when the path is a shortcut to a file.
    virtual bool ResolveShortcutTarget(const WideString& wstrPath, WideString& wstrTarget) = 0;
    // Both give an empty path when the input cannot be expanded.
    virtual WideString ExpandKnownFolderPrefix(const WideString& wstrPath) = 0;
    virtual WideString ExpandCsidl2(const WideString& wstrPath) = 0;
};

// A platform whose folder tokens are expanded by the folder rules over `folders`; files and
// shortcuts are its subclass's.
class FolderExpandingPlatform : public HistoryPlatform {
  public:
    explicit FolderExpandingPlatform(FolderSource& folders) : folders_(folders) {}
    WideString ExpandKnownFolderPrefix(const WideString& wstrPath) override;
    WideString ExpandCsidl2(const WideString& wstrPath) override;

  private:
    FolderSource& folders_;
};

// ROT13 on the ASCII letters; every other code unit is kept.
WideString DecodeRot13(const WideString& wstrSource);

// Counters of one value as little-endian 32-bit numbers, bytes beyond `nSize` read as zero,
// values beyond the signed range held at its largest. NT 6: run count at offset 4, focus count
// at offset 8. NT 5: run count at offset 4, focus count 0. False only without data.
[[nodiscard]] bool ParseUsageDataNt6(const unsigned char* pData, size_t nSize, UsageCounts& di);
[[nodiscard]] bool ParseUsageDataNt5(const unsigned char* pData, size_t nSize, UsageCounts& di);

// The path that a decoded value name stands for, or empty when it names no path that begins with
// a drive (after its folder token is expanded): a history value never leads to a server share.
WideString SelectCandidateNt6(const WideString& wstrDecoded, HistoryPlatform& platform);
WideString SelectCandidateNt5(const WideString& wstrDecoded, HistoryPlatform& platform);

// The file name between the last backslash and the last dot after it; false when there is no
// backslash, no such dot or nothing between them.
[[nodiscard]] bool AppNameFromPath(const WideString& wstrPath, WideString& wstrAppName);

// Sum of two counts, held within the signed 32-bit range.
int32_t AddCounts(int32_t nLeft, int32_t nRight);

// Adds the counts to the first record whose name equals `wstrAppName` (A to Z without case).
[[nodiscard]] bool MergeByAppName(std::vector<AppEntry>& vecAllApps, const WideString& wstrAppName,
                                  const UsageCounts& di);

// Adds the counts to the first record whose executable path equals `wstrExePath` (A to Z without
// case); a shortcut also gives that record its name.
[[nodiscard]] bool MergeByExePath(std::vector<AppEntry>& vecAllApps, const WideString& wstrExePath,
                                  const WideString& wstrAppName, const UsageCounts& di,
                                  bool bShortcut);

enum HistoryOutcome {
    HistoryNoCandidate,      // the value names no usable path on a drive
    HistoryFileMissing,      // no file at the path
    HistoryTargetOffDrive,   // a shortcut whose target does not begin with a drive
    HistoryExcludedFileName, // an installer, uninstaller or the DLL runner
    HistoryExcludedLocation, // in the system's installer cache
    HistoryNoAppName,        // the path has no file-name extension
    HistoryMergedByName,     // counted into a record of the same name
    HistoryMergedByPath,     // counted into a record of the same executable
    HistoryAppended,         // a new record
};

// What the add-entry step did with one candidate.
struct HistoryDecision {
    HistoryOutcome outcome;
    bool bShortcut;
    WideString wstrExePath;
    WideString wstrAppName;
    size_t nRecord; // the record merged into or appended, when there is one
};

// Checks the candidate, resolves a shortcut, applies the exclusions, then merges it by name, by
// executable path, or appends a new record. No file is looked at for a candidate that does not
// begin with a drive, and no record is made of a shortcut whose target does not.
HistoryDecision AddHistoryEntry(std::vector<AppEntry>& vecAllApps, const WideString& wstrCandidate,
                                const UsageCounts& di, HistoryPlatform& platform);

// One history value and what became of it.
struct HistoryValueTrace {
    WideString wstrTitle;
    size_t nDataSize;
    WideString wstrDecoded;
    UsageCounts di;
    WideString wstrCandidate;
    HistoryDecision decision;
};

// Decodes (up to the name's first zero unit), parses, selects and adds one enumerated value.
HistoryValueTrace AddHistoryValue(UsageFamily family, std::vector<AppEntry>& vecAllApps,
                                  const WideString& wstrTitle, const unsigned char* pData,
                                  size_t nDataSize, HistoryPlatform& platform);

// Orders the list by nRunCount, largest first, by exchanging each record with every later one
// that has a larger count; records with equal counts may change places on the way.
void SortByRunCount(std::vector<AppEntry>& vecAllApps);

enum EnumerationStep {
    EnumerationUseValue,
    EnumerationSkipValue, // this value's name or data does not fit; the next may
    EnumerationStop,      // no more values, or a failure that every further index would repeat
};

// What a value-enumeration result (a Win32 error code) means for the loop.
EnumerationStep StepAfterEnumeration(long nResult);

#endif
