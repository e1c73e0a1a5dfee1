// Installers, uninstallers and the DLL runner are left out of the usage history.
#ifndef NPDESKLAUNCH_CATALOGUE_EXCLUSION_RULES_H
#define NPDESKLAUNCH_CATALOGUE_EXCLUSION_RULES_H

#include <vector>

#include "common/wide_text.h"

// Words that exclude an executable whose lower-cased file name contains one of them.
extern std::vector<WideString> ExcludedNameWords;
// Texts that exclude an executable whose lower-cased full path contains one of them.
extern std::vector<WideString> ExcludedPathParts;

// Fills each exclusion list that is still empty; lists with entries are left alone.
void FillExclusionLists();

// True when the file name (between the last backslash and the last dot) names an installer,
// uninstaller or the DLL runner.
bool IsExcludedFileName(WideString wstrExePath);

// True when the executable lies in the system's installer cache.
bool IsExcludedLocation(WideString wstrExePath);

#endif
