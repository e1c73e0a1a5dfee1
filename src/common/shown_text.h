// Outside text as the module shows it to the user.
#ifndef NPDESKLAUNCH_COMMON_SHOWN_TEXT_H
#define NPDESKLAUNCH_COMMON_SHOWN_TEXT_H

#include "common/wide_text.h"

// The text without the units that would let its author lay out what the user reads: control
// characters (U+0000 to U+001F, U+007F to U+009F), the line and paragraph separators (U+2028,
// U+2029) and the bidirectional formatting characters (U+061C, U+200E, U+200F, U+202A to
// U+202E, U+2066 to U+2069). Every other unit is kept, surrogates too.
WideString WithoutLayoutCharacters(const WideString& text);

#endif
