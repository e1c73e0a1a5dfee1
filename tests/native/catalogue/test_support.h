// Helpers shared by the catalogue's sanitizer tests: readable text and a hand-made system.
#ifndef NPDESKLAUNCH_TESTS_NATIVE_CATALOGUE_TEST_SUPPORT_H
#define NPDESKLAUNCH_TESTS_NATIVE_CATALOGUE_TEST_SUPPORT_H

#include <map>
#include <set>
#include <string>
#include <vector>

#include "catalogue/folder_expansion.h"
#include "catalogue/history_rules.h"
#include "support/readable_text.h"

// A text of `nLength` units "a".
WideString Repeat(size_t nLength, WideChar unit = WIDE('a'));

// Descriptions and special folders held in tables.
class FakeFolderSource : public FolderSource {
  public:
    std::map<WideString, KnownFolderDescription> descriptions;
    std::set<WideString> unusable;
    std::map<int, WideString> specialFolders;
    int nReads = 0;

    void AddRoot(const WideString& guid, const WideString& name, const WideString* relative);
    void AddChild(const WideString& guid, const WideString& parent, const WideString* relative);

    KnownFolderLookup ReadDescription(const WideString& wstrGuid,
                                      KnownFolderDescription& kfd) override;
    bool GetSpecialFolder(int nCsidl, WideString& wstrFolder) override;
};

// Files, shortcuts and expansions held in tables.
class FakeHistoryPlatform : public HistoryPlatform {
  public:
    std::set<WideString> files;
    std::map<WideString, WideString> shortcuts;
    std::map<WideString, WideString> knownFolderExpansions;
    std::map<WideString, WideString> csidl2Expansions;

    bool FileExists(const WideString& wstrPath) override;
    bool ResolveShortcutTarget(const WideString& wstrPath, WideString& wstrTarget) override;
    WideString ExpandKnownFolderPrefix(const WideString& wstrPath) override;
    WideString ExpandCsidl2(const WideString& wstrPath) override;
};

// The names, paths and run counts of a list, as "name=path:count" joined by ", ".
std::string Describe(const std::vector<AppEntry>& vecAllApps);

#endif
