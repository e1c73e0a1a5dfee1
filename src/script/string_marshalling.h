// Text across the browser boundary: the module's UTF-16 against the browser's UTF-8 values.
#ifndef NPDESKLAUNCH_SCRIPT_STRING_MARSHALLING_H
#define NPDESKLAUNCH_SCRIPT_STRING_MARSHALLING_H

#include "common/wide_text.h"
#include "npapi/npapi.h"

// Makes `result` a browser-allocated UTF-8 string of exactly the converted bytes, unterminated.
// Empty text leaves `result` as it was. False only when the browser has no memory for it,
// and then `result` is untouched too.
[[nodiscard]] bool WideStringToVariant(WideString wstrText, NPVariant* result);

// Converts a string argument of at most UTF8Length bytes; the text ends at its first zero unit.
// Only the first kArgumentUnitsNeeded units or more are converted, however long the page's
// string: no allocation here is sized by the page. False when nothing converts (an empty
// string, for one).
[[nodiscard]] bool Utf8ArgumentToWide(const NPString& npstr, WideString& wstrText);

#endif
