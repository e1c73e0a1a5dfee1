// Expansion of known-folder GUIDs through their chains of parent folders, and of "%csidl2%".
#include "catalogue/folder_expansion.h"

#include <vector>

#include "common/path_text.h"

namespace {

const WideChar kAppDataName[] = WIDE("AppData");
const WideChar kCommonAppDataName[] = WIDE("Common AppData");
const WideChar kCsidl2[] = WIDE("%csidl2%");

bool SeenBefore(const std::vector<WideString>& vctGuids, const WideString& wstrGuid) {
    for (size_t i = 0; i < vctGuids.size(); ++i) {
        if (EqualsIgnoringAsciiCase(vctGuids[i], wstrGuid)) {
            return true;
        }
    }
    return false;
}

// The folder that a description without a parent stands for: empty for any name but the two
// application-data folders, or when the system lacks the special folder.
WideString RootFolder(FolderSource& source, const KnownFolderDescription& kfd) {
    WideString wstrFolder;
    if (EqualsIgnoringAsciiCase(kfd.wstrName, kAppDataName)) {
        if (source.GetSpecialFolder(kCsidlAppData, wstrFolder) && FitsPathBuffer(wstrFolder)) {
            // ...\AppData\Roaming: the profile folder two levels up.
            WideChar szFolder[kPathCapacity] = {0};
            CopyToBuffer(szFolder, kPathCapacity, wstrFolder);
            TrimTrailingComponents(szFolder, 2, WIDE('\\'));
            return TextBeforeZero(szFolder, kPathCapacity);
        }
        return WideString();
    }
    if (EqualsIgnoringAsciiCase(kfd.wstrName, kCommonAppDataName)) {
        if (source.GetSpecialFolder(kCsidlCommonAppData, wstrFolder)) {
            return wstrFolder;
        }
    }
    return WideString();
}

} // namespace

void TrimTrailingComponents(WideChar* wszPath, int nCount, WideChar chSeparator) {
    if (wszPath == NULL) {
        return;
    }
    for (int i = 0; i < nCount; ++i) {
        WideChar* pLast = NULL;
        for (WideChar* p = wszPath; *p != 0; ++p) {
            if (*p == chSeparator) {
                pLast = p;
            }
        }
        if (pLast == NULL) {
            return;
        }
        *pLast = 0;
    }
}

KnownFolderLookup ResolveKnownFolderPath(FolderSource& source, const WideString& wstrGuid,
                                         WideString& wstrPath) {
    // The chain from the asked-for folder up to its root, each description once.
    std::vector<KnownFolderDescription> vctChain;
    std::vector<WideString> vctGuids;
    WideString wstrNext = wstrGuid;
    bool bReachedRoot = false;
    while (!bReachedRoot) {
        if (static_cast<int>(vctChain.size()) >= kMaxKnownFolderDepth ||
            SeenBefore(vctGuids, wstrNext)) {
            wstrPath.clear();
            return KnownFolderUnusable;
        }
        KnownFolderDescription kfd = KnownFolderDescription();
        const KnownFolderLookup lookup = source.ReadDescription(wstrNext, kfd);
        if (lookup == KnownFolderUnusable) {
            wstrPath.clear();
            return KnownFolderUnusable;
        }
        if (lookup == KnownFolderMissing) {
            if (vctChain.empty()) {
                return KnownFolderMissing;
            }
            break; // a parent without a description: the levels below start from nothing
        }
        vctGuids.push_back(wstrNext);
        vctChain.push_back(kfd);
        bReachedRoot = !kfd.bHasParentFolder;
        wstrNext = kfd.wstrParentFolder;
    }

    WideString wstrResult;
    size_t nLevels = vctChain.size();
    if (bReachedRoot) {
        const KnownFolderDescription& root = vctChain.back();
        wstrResult = RootFolder(source, root);
        if (root.bHasRelativePath) {
            wstrResult += WIDE('\\');
            wstrResult += root.wstrRelativePath;
        }
        --nLevels;
    }
    while (nLevels > 0) {
        --nLevels;
        wstrResult += WIDE('\\');
        wstrResult += vctChain[nLevels].wstrRelativePath;
    }
    if (!FitsPathBuffer(wstrResult)) {
        wstrPath.clear();
        return KnownFolderUnusable;
    }
    wstrPath = wstrResult;
    return KnownFolderFound;
}

bool ExpandKnownFolderPrefixFrom(FolderSource& source, const WideString& wstrInput,
                                 WideString& wstrOutput) {
    wstrOutput.clear();
    const size_t nSlash = wstrInput.find(WIDE('\\'));
    if (nSlash == WideString::npos) {
        return false;
    }
    const WideString wstrGuid = wstrInput.substr(0, nSlash);
    if (!FitsPathBuffer(wstrGuid)) {
        return false;
    }
    WideString wstrFolder;
    if (ResolveKnownFolderPath(source, wstrGuid, wstrFolder) == KnownFolderUnusable) {
        return false;
    }
    const WideString wstrJoined = wstrFolder + WIDE('\\') + wstrInput.substr(nSlash + 1);
    if (!FitsPathBuffer(wstrJoined)) {
        return false;
    }
    wstrOutput = wstrJoined;
    return true;
}

bool ExpandCsidl2From(FolderSource& source, const WideString& wstrInput, WideString& wstrOutput) {
    wstrOutput.clear();
    const size_t nSlash = wstrInput.find(WIDE('\\'));
    const size_t nPercent = wstrInput.find(WIDE('%'));
    if (nSlash == WideString::npos || nPercent == WideString::npos) {
        return false;
    }
    const WideString wstrToken =
        wstrInput.substr(nPercent, sizeof(kCsidl2) / sizeof(kCsidl2[0]) - 1);
    if (!EqualsIgnoringAsciiCase(wstrToken, kCsidl2)) {
        return false;
    }
    WideString wstrPrograms;
    if (!source.GetSpecialFolder(kCsidlPrograms, wstrPrograms)) {
        return false;
    }
    const WideString wstrJoined = wstrPrograms + wstrInput.substr(nSlash);
    if (!FitsPathBuffer(wstrJoined)) {
        return false;
    }
    wstrOutput = wstrJoined;
    return true;
}
