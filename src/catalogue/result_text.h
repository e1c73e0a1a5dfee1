// The text form of catalogue entries and where the images folder lies.
#ifndef NPDESKLAUNCH_CATALOGUE_RESULT_TEXT_H
#define NPDESKLAUNCH_CATALOGUE_RESULT_TEXT_H

#include "common/wide_text.h"

// Appends one entry: `wstrPath`, "*", `wstrName`, "#".
void AppendEntryText(WideString& wstrBlock, const WideString& wstrPath, const WideString& wstrName);

#endif
