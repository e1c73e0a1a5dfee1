// Removal of the characters that change how a shown text is laid out.
#include "common/shown_text.h"

namespace {

bool IsLayoutCharacter(WideChar unit) {
    return unit <= 0x1F || (unit >= 0x7F && unit <= 0x9F) || unit == 0x061C || unit == 0x200E ||
           unit == 0x200F || unit == 0x2028 || unit == 0x2029 ||
           (unit >= 0x202A && unit <= 0x202E) || (unit >= 0x2066 && unit <= 0x2069);
}

} // namespace

WideString WithoutLayoutCharacters(const WideString& text) {
    WideString shown;
    shown.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (!IsLayoutCharacter(text[i])) {
            shown += text[i];
        }
    }
    return shown;
}
