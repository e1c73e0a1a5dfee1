// Rules over path texts that every part of the module shares.
#ifndef NPDESKLAUNCH_COMMON_PATH_TEXT_H
#define NPDESKLAUNCH_COMMON_PATH_TEXT_H

#include "common/wide_text.h"

// Whether `wstrPath` fits a path buffer (kPathCapacity units) with its terminator.
bool FitsPathBuffer(const WideString& wstrPath);

// A path is taken for a shortcut when ".lnk" occurs anywhere in it (exact case).
bool IsShortcutPath(const WideString& wstrPath);

// Whether `wstrPath` begins with a drive's root: a letter A to Z (either case), ":" and "\". No
// server share, device or "\\?\" path does.
bool BeginsWithDrive(const WideString& wstrPath);

#endif
