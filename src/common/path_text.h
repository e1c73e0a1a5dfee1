// Rules over path texts that every part of the module shares.
#ifndef NPDESKLAUNCH_COMMON_PATH_TEXT_H
#define NPDESKLAUNCH_COMMON_PATH_TEXT_H

#include "common/wide_text.h"

// Whether `wstrPath` fits a path buffer (kPathCapacity units) with its terminator.
bool FitsPathBuffer(const WideString& wstrPath);

// A path is taken for a shortcut when ".lnk" occurs anywhere in it (exact case).
bool IsShortcutPath(const WideString& wstrPath);

#endif
