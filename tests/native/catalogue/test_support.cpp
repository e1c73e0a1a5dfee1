// Helpers shared by the catalogue's sanitizer tests.
#include "test_support.h"

WideString Repeat(size_t nLength, WideChar unit) {
    return WideString(nLength, unit);
}

void FakeFolderSource::AddRoot(const WideString& guid, const WideString& name,
                               const WideString* relative) {
    KnownFolderDescription kfd = KnownFolderDescription();
    kfd.wstrName = name;
    kfd.bHasRelativePath = relative != nullptr;
    kfd.wstrRelativePath = relative != nullptr ? *relative : WideString();
    descriptions[guid] = kfd;
}

void FakeFolderSource::AddChild(const WideString& guid, const WideString& parent,
                                const WideString* relative) {
    KnownFolderDescription kfd = KnownFolderDescription();
    kfd.bHasParentFolder = true;
    kfd.wstrParentFolder = parent;
    kfd.bHasRelativePath = relative != nullptr;
    kfd.wstrRelativePath = relative != nullptr ? *relative : WideString();
    descriptions[guid] = kfd;
}

KnownFolderLookup FakeFolderSource::ReadDescription(const WideString& wstrGuid,
                                                    KnownFolderDescription& kfd) {
    ++nReads;
    if (unusable.count(wstrGuid) != 0) {
        return KnownFolderUnusable;
    }
    auto it = descriptions.find(wstrGuid);
    if (it == descriptions.end()) {
        return KnownFolderMissing;
    }
    kfd = it->second;
    return KnownFolderFound;
}

bool FakeFolderSource::GetSpecialFolder(int nCsidl, WideString& wstrFolder) {
    auto it = specialFolders.find(nCsidl);
    if (it == specialFolders.end()) {
        return false;
    }
    wstrFolder = it->second;
    return true;
}

bool FakeHistoryPlatform::FileExists(const WideString& wstrPath) {
    return files.count(wstrPath) != 0;
}

bool FakeHistoryPlatform::ResolveShortcutTarget(const WideString& wstrPath,
                                                WideString& wstrTarget) {
    auto it = shortcuts.find(wstrPath);
    if (it == shortcuts.end()) {
        return false;
    }
    wstrTarget += it->second;
    return true;
}

WideString FakeHistoryPlatform::ExpandKnownFolderPrefix(const WideString& wstrPath) {
    auto it = knownFolderExpansions.find(wstrPath);
    return it == knownFolderExpansions.end() ? WideString() : it->second;
}

WideString FakeHistoryPlatform::ExpandCsidl2(const WideString& wstrPath) {
    auto it = csidl2Expansions.find(wstrPath);
    return it == csidl2Expansions.end() ? WideString() : it->second;
}

std::string Describe(const std::vector<AppEntry>& vecAllApps) {
    std::string out;
    for (const AppEntry& ad : vecAllApps) {
        if (!out.empty()) {
            out += ", ";
        }
        out += Show(TextBeforeZero(ad.wszAppName, kPathCapacity)) + "=" +
               Show(TextBeforeZero(ad.wszExePath, kPathCapacity)) + ":" +
               std::to_string(ad.nRunCount);
    }
    return out;
}
