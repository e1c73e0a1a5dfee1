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

#endif
