// A graph of known-folder descriptions taken from the input (parents that point anywhere,
// cycles, long chains, hostile names and relative paths) resolved and expanded.
#include <algorithm>
#include <set>
#include <string>

#include "catalogue/exclusion_rules.h"
#include "catalogue/folder_expansion.h"
#include "catalogue/test_support.h"
#include "fuzz_input.h"

namespace {

const size_t kMaxFolders = 40;

// Folder i is "{i}"; a few more names that are looked up but have no description.
WideString GuidOf(size_t nIndex) {
    WideString wstrGuid = WIDE("{");
    for (const char digit : std::to_string(nIndex)) {
        wstrGuid += static_cast<WideChar>(digit);
    }
    return wstrGuid + WIDE("}");
}

WideString TakeGuid(FuzzInput& input, size_t nFolders) {
    const uint8_t choice = input.Byte();
    if (choice < 0xF0) {
        return GuidOf(choice % (nFolders + 2)); // one in ten or so has no description
    }
    return input.Text(300);
}

void BuildGraph(FuzzInput& input, FakeFolderSource& source, size_t nFolders) {
    const WideChar* const names[] = {WIDE("AppData"), WIDE("Common AppData"), WIDE("appdata"),
                                     WIDE("Programs")};
    for (size_t i = 0; i < nFolders; ++i) {
        const uint8_t flags = input.Byte();
        const WideString wstrRelative = input.Text(300);
        const WideString* pRelative = (flags & 1) != 0 ? &wstrRelative : nullptr;
        if ((flags & 2) != 0) {
            source.AddChild(GuidOf(i), TakeGuid(input, nFolders), pRelative);
        } else {
            const WideString wstrName = (flags & 4) != 0 ? input.Text(20) : names[(flags >> 3) & 3];
            source.AddRoot(GuidOf(i), wstrName, pRelative);
        }
        if ((flags & 0xE0) == 0xE0) {
            source.unusable.insert(GuidOf(i));
        }
    }
    const int csidls[] = {kCsidlAppData, kCsidlCommonAppData, kCsidlPrograms};
    for (const int nCsidl : csidls) {
        if ((input.Byte() & 3) != 0) {
            source.specialFolders[nCsidl] = input.Text(300);
        }
    }
}

// The chain from `wstrGuid` as the descriptions link it: true when it comes back to a folder
// it has passed within `nSteps` links.
bool ChainHasCycle(const FakeFolderSource& source, const WideString& wstrGuid, size_t nSteps) {
    std::set<WideString> seen;
    WideString wstrNext = wstrGuid;
    for (size_t i = 0; i < nSteps; ++i) {
        if (!seen.insert(ToLowerAscii(wstrNext)).second) {
            return true;
        }
        const auto it = source.descriptions.find(wstrNext);
        if (it == source.descriptions.end() || !it->second.bHasParentFolder) {
            return false;
        }
        wstrNext = it->second.wstrParentFolder;
    }
    return false;
}

void CheckResolve(FakeFolderSource& source, const WideString& wstrGuid) {
    WideString wstrPath = WIDE("untouched");
    source.nReads = 0;
    const KnownFolderLookup lookup = ResolveKnownFolderPath(source, wstrGuid, wstrPath);
    // Every chain is followed a bounded number of links, whatever the graph.
    FUZZ_CHECK(source.nReads <= kMaxKnownFolderDepth);
    switch (lookup) {
    case KnownFolderFound: {
        FUZZ_CHECK(wstrPath.size() < kPathCapacity);
        FUZZ_CHECK(!ChainHasCycle(source, wstrGuid, kMaxKnownFolderDepth + 1));
        const auto it = source.descriptions.find(wstrGuid);
        FUZZ_CHECK(it != source.descriptions.end());
        const KnownFolderDescription& kfd = it->second;
        if (kfd.bHasParentFolder) {
            const WideString wstrTail = WIDE("\\") + kfd.wstrRelativePath;
            FUZZ_CHECK(EndsWith(wstrPath, wstrTail));
        }
        break;
    }
    case KnownFolderMissing:
        FUZZ_CHECK(wstrPath == WIDE("untouched"));
        FUZZ_CHECK(source.descriptions.count(wstrGuid) == 0);
        break;
    case KnownFolderUnusable:
        FUZZ_CHECK(wstrPath.empty());
        break;
    }
}

typedef bool (*Expansion)(FolderSource& source, const WideString& wstrInput,
                          WideString& wstrOutput);

// Runs an expansion: a whole path that fits, or false with an empty output.
bool Expand(Expansion expand, FakeFolderSource& source, const WideString& wstrInput,
            WideString& wstrOutput) {
    wstrOutput = WIDE("stale");
    const bool bExpanded = expand(source, wstrInput, wstrOutput);
    FUZZ_CHECK(bExpanded ? wstrOutput.size() < kPathCapacity : wstrOutput.empty());
    return bExpanded;
}

void CheckExpansions(FakeFolderSource& source, const WideString& wstrPrefixed,
                     const WideString& wstrPlaceholder) {
    WideString wstrOutput;
    if (Expand(ExpandKnownFolderPrefixFrom, source, wstrPrefixed, wstrOutput)) {
        const size_t nSlash = wstrPrefixed.find(WIDE('\\'));
        FUZZ_CHECK(nSlash != WideString::npos);
        FUZZ_CHECK(EndsWith(wstrOutput, wstrPrefixed.substr(nSlash)));
    }
    if (Expand(ExpandCsidl2From, source, wstrPlaceholder, wstrOutput)) {
        const WideString& wstrPrograms = source.specialFolders.at(kCsidlPrograms);
        FUZZ_CHECK(wstrOutput ==
                   wstrPrograms + wstrPlaceholder.substr(wstrPlaceholder.find(WIDE('\\'))));
        const size_t nPercent = wstrPlaceholder.find(WIDE('%'));
        FUZZ_CHECK(EqualsIgnoringAsciiCase(wstrPlaceholder.substr(nPercent, 8), WIDE("%csidl2%")));
    }
}

void CheckTrim(const WideString& wstrText, int nCount) {
    WideChar wszPath[kPathCapacity] = {0};
    CopyToBuffer(wszPath, kPathCapacity, wstrText);
    const WideString wstrBefore = TextBeforeZero(wszPath, kPathCapacity);
    TrimTrailingComponents(wszPath, nCount, WIDE('\\'));
    const WideString wstrAfter = TextBeforeZero(wszPath, kPathCapacity);
    FUZZ_CHECK(StartsWith(wstrBefore, wstrAfter));
    size_t nSeparators = 0;
    for (const WideChar unit : wstrBefore) {
        nSeparators += unit == WIDE('\\') ? 1 : 0;
    }
    const size_t nCut = nCount < 0 ? 0 : std::min(nSeparators, static_cast<size_t>(nCount));
    size_t nLeft = 0;
    for (const WideChar unit : wstrAfter) {
        nLeft += unit == WIDE('\\') ? 1 : 0;
    }
    FUZZ_CHECK(nLeft == nSeparators - nCut);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    FakeFolderSource source;
    const size_t nFolders = input.Below(kMaxFolders);
    BuildGraph(input, source, nFolders);
    for (size_t i = 0; i < nFolders + 1; ++i) {
        CheckResolve(source, GuidOf(i));
    }
    CheckResolve(source, input.Text(300));
    for (size_t k = input.Below(4); k > 0; --k) {
        const WideString wstrGuid = TakeGuid(input, nFolders); // read in order, then joined
        const WideString wstrPrefixed = wstrGuid + input.Text(300);
        CheckExpansions(source, wstrPrefixed, input.Text(300));
    }
    const WideString wstrText = input.Text(300);
    CheckTrim(wstrText, static_cast<int>(input.Byte() % 6));
    return 0;
}
