// What a file is: a shortcut's target, and an executable's product name.
#ifndef NPDESKLAUNCH_CATALOGUE_APP_IDENTITY_H
#define NPDESKLAUNCH_CATALOGUE_APP_IDENTITY_H

#include "common/wide_text.h"

// True when `wstrPath` is a shortcut with a non-empty file-system target, which is appended to
// `wstrTarget`; otherwise `wstrTarget` is left as it was.
[[nodiscard]] bool ResolveShortcutTarget(WideString wstrPath, WideString& wstrTarget);

// Puts the ProductName of the file's first version translation into `wstrProductName` when there
// is one; true when `wstrProductName` is non-empty afterwards.
[[nodiscard]] bool GetProductName(WideString wstrPath, WideString& wstrProductName);

#endif
