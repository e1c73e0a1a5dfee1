// The text form of catalogue entries and where the images folder lies.
#ifndef NPDESKLAUNCH_CATALOGUE_RESULT_TEXT_H
#define NPDESKLAUNCH_CATALOGUE_RESULT_TEXT_H

#include "common/wide_text.h"

// Appends one entry: `wstrPath`, "*", `wstrName`, "#".
void AppendEntryText(WideString& wstrBlock, const WideString& wstrPath, const WideString& wstrName);

// Assigns the accessory block followed by the history block to `wstrResult`, which reserves room
// for a typical catalogue first; returns the result's length in characters.
size_t JoinResultText(WideString& wstrResult, const WideString& wstrAccessoryBlock,
                      const WideString& wstrHistoryBlock);

// The images folder beside the module file `wstrModulePath`: its folder followed by "\images".
// Empty when that would not fit a path buffer.
WideString ImagesFolderBeside(const WideString& wstrModulePath);

// Writes the images folder beside this module into `wszAppFolder` (a path buffer); false, with an
// empty buffer, when the module's path cannot be had whole or the folder would not fit.
bool GetImagesFolder(WideChar (&wszAppFolder)[kPathCapacity]);

#endif
