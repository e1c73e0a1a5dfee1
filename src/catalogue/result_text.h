// The text form of catalogue entries and of the catalogue.
#ifndef NPDESKLAUNCH_CATALOGUE_RESULT_TEXT_H
#define NPDESKLAUNCH_CATALOGUE_RESULT_TEXT_H

#include "common/wide_text.h"

// Appends one entry: `wstrPath`, "*", `wstrName`, "#".
void AppendEntryText(WideString& wstrBlock, const WideString& wstrPath, const WideString& wstrName);

// Assigns the accessory block followed by the history block to `wstrResult`, which reserves room
// for a typical catalogue first; returns the result's length in characters.
size_t JoinResultText(WideString& wstrResult, const WideString& wstrAccessoryBlock,
                      const WideString& wstrHistoryBlock);

#endif
