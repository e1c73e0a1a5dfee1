// Folder tokens in history paths replaced by real folders: known-folder GUIDs and "%csidl2%".
// The rules here see the folder descriptions and special folders only through FolderSource.
#ifndef NPDESKLAUNCH_CATALOGUE_FOLDER_EXPANSION_H
#define NPDESKLAUNCH_CATALOGUE_FOLDER_EXPANSION_H

#include "common/wide_text.h"

// Special folders that expansion asks for (shell folder identifiers).
const int kCsidlPrograms = 0x02;
const int kCsidlAppData = 0x1A;
const int kCsidlCommonAppData = 0x23;

// Longest chain of parent folders followed; a longer one is taken for a broken description.
const int kMaxKnownFolderDepth = 16;

// What one known folder's description says.
struct KnownFolderDescription {
    bool bHasParentFolder;
    WideString wstrParentFolder; // GUID text of the folder this one lies in
    bool bHasRelativePath;
    WideString wstrRelativePath;
    WideString wstrName;
};

enum KnownFolderLookup {
    KnownFolderFound,
    KnownFolderMissing,  // there is no description of that folder
    KnownFolderUnusable, // a value too long to read whole, a cycle, too deep, or too long a path
};

// Where folder descriptions and special folders come from.
class FolderSource {
  public:
    virtual ~FolderSource() {}
    virtual KnownFolderLookup ReadDescription(const WideString& wstrGuid,
                                              KnownFolderDescription& kfd) = 0;
    // False when the system has no such folder.
    virtual bool GetSpecialFolder(int nCsidl, WideString& wstrFolder) = 0;
};

// Cuts the text in `wszPath` at its last `chSeparator`, up to `nCount` times (the separator goes
// too); stops early when there is none left.
void TrimTrailingComponents(WideChar* wszPath, int nCount, WideChar chSeparator);

// The path of the known folder `wstrGuid`: the root folder's special folder (for "AppData" and
// "Common AppData") and relative path, then one backslash and relative path per level of
// "ParentFolder" links below it. A parent without a description contributes nothing. Found:
// `wstrPath` holds the path. Missing: `wstrPath` is untouched. Unusable: `wstrPath` is empty.
KnownFolderLookup ResolveKnownFolderPath(FolderSource& source, const WideString& wstrGuid,
                                         WideString& wstrPath);

// "{GUID}\rest" becomes the known folder's path, a backslash and "rest"; an unknown GUID leaves
// "\rest". False, with `wstrOutput` empty, when there is no backslash, the folder cannot be had
// whole, or the joined path would not fit a path buffer.
[[nodiscard]] bool ExpandKnownFolderPrefixFrom(FolderSource& source, const WideString& wstrInput,
                                               WideString& wstrOutput);

// "...%csidl2%...\rest" becomes the Programs folder followed by "\rest" (the input from its first
// backslash). False, with `wstrOutput` empty, when there is no backslash, no "%csidl2%" at the
// first "%", no Programs folder, or the joined path would not fit a path buffer.
[[nodiscard]] bool ExpandCsidl2From(FolderSource& source, const WideString& wstrInput,
                                    WideString& wstrOutput);

#endif
