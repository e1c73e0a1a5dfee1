// Bounded operations on UTF-16 text.
#include "common/wide_text.h"

namespace {

bool IsHighSurrogate(WideChar unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(WideChar unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

WideChar FoldAsciiLetter(WideChar unit) {
    return (unit >= 'A' && unit <= 'Z') ? static_cast<WideChar>(unit - 'A' + 'a') : unit;
}

} // namespace

WideString TextBeforeZero(const WideChar* units, size_t nUnits) {
    size_t nLength = 0;
    while (nLength < nUnits && units[nLength] != 0) {
        ++nLength;
    }
    return WideString(units, nLength);
}

WideString CutToLength(const WideString& text, size_t nMaxUnits) {
    if (text.size() <= nMaxUnits) {
        return text;
    }
    size_t nKeep = nMaxUnits;
    if (nKeep > 0 && IsHighSurrogate(text[nKeep - 1])) {
        --nKeep;
    }
    return text.substr(0, nKeep);
}

void CopyToBuffer(WideChar* buffer, size_t nCapacity, const WideString& text) {
    if (nCapacity == 0) {
        return;
    }
    const WideString wstrFit = CutToLength(text, nCapacity - 1);
    wstrFit.copy(buffer, wstrFit.size());
    buffer[wstrFit.size()] = 0;
}

WideString ToLowerAscii(WideString text) {
    for (size_t i = 0; i < text.size(); ++i) {
        text[i] = FoldAsciiLetter(text[i]);
    }
    return text;
}

bool EqualsIgnoringAsciiCase(const WideString& left, const WideString& right) {
    if (left.size() != right.size()) {
        return false;
    }
    for (size_t i = 0; i < left.size(); ++i) {
        if (FoldAsciiLetter(left[i]) != FoldAsciiLetter(right[i])) {
            return false;
        }
    }
    return true;
}

WideString ReplaceLoneSurrogates(const WideString& text) {
    WideString wstrResult = text;
    for (size_t i = 0; i < wstrResult.size(); ++i) {
        if (IsHighSurrogate(wstrResult[i]) && i + 1 < wstrResult.size() &&
            IsLowSurrogate(wstrResult[i + 1])) {
            ++i; // a pair
        } else if (IsHighSurrogate(wstrResult[i]) || IsLowSurrogate(wstrResult[i])) {
            wstrResult[i] = static_cast<WideChar>(0xFFFD);
        }
    }
    return wstrResult;
}
