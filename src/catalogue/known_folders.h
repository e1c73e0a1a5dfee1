// Folder tokens expanded against this system's known-folder descriptions and special folders.
#ifndef NPDESKLAUNCH_CATALOGUE_KNOWN_FOLDERS_H
#define NPDESKLAUNCH_CATALOGUE_KNOWN_FOLDERS_H

#include "catalogue/folder_expansion.h"

// Descriptions from HKLM\SOFTWARE\...\Explorer\FolderDescriptions, in this process' registry
// view, and special folders from the shell.
class SystemFolderSource : public FolderSource {
  public:
    KnownFolderLookup ReadDescription(const WideString& wstrGuid,
                                      KnownFolderDescription& kfd) override;
    bool GetSpecialFolder(int nCsidl, WideString& wstrFolder) override;
};

// The following take and fill path buffers of kPathCapacity units.

// "{GUID}\rest" to the known folder's path and "\rest"; false with an empty output when it
// cannot be expanded whole.
bool ExpandKnownFolderPrefix(const WideChar* wszInput, WideChar* wszOutput);

// The known folder's path; false with the output untouched when there is no description, and
// false with an empty output when the description cannot be followed.
bool KnownFolderPathFromRegistry(const WideChar* wszGuid, size_t nGuidLength, WideChar* wszOutput);

// "%csidl2%\rest" to the Programs folder and "\rest"; false with an empty output otherwise.
bool ExpandCsidl2(const WideChar* wszInput, WideChar* wszOutput);

#endif
