// UTF-16 text made readable in test failure messages, natively (char16_t) and on Windows.
#ifndef NPDESKLAUNCH_TESTS_SUPPORT_READABLE_TEXT_H
#define NPDESKLAUNCH_TESTS_SUPPORT_READABLE_TEXT_H

#include <stdio.h>
#include <string>

#include "common/wide_text.h"

// UTF-16 text as printable ASCII, other units as \uXXXX.
inline std::string Show(const WideString& text) {
    std::string out;
    for (WideChar unit : text) {
        char code[8];
        snprintf(code, sizeof(code), unit < 128 ? "%c" : "\\u%04X", static_cast<unsigned>(unit));
        out += code;
    }
    return out;
}

#endif
