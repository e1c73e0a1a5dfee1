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

std::string Utf8FromWide(const WideString& text) {
    const WideString wstrWhole = ReplaceLoneSurrogates(text);
    std::string bytes;
    bytes.reserve(wstrWhole.size());
    for (size_t i = 0; i < wstrWhole.size(); ++i) {
        unsigned long nCode = wstrWhole[i];
        if (IsHighSurrogate(wstrWhole[i])) {
            nCode = 0x10000 + ((nCode - 0xD800) << 10) + (wstrWhole[++i] - 0xDC00u);
        }
        if (nCode < 0x80) {
            bytes += static_cast<char>(nCode);
        } else if (nCode < 0x800) {
            bytes += static_cast<char>(0xC0 | (nCode >> 6));
            bytes += static_cast<char>(0x80 | (nCode & 0x3F));
        } else if (nCode < 0x10000) {
            bytes += static_cast<char>(0xE0 | (nCode >> 12));
            bytes += static_cast<char>(0x80 | ((nCode >> 6) & 0x3F));
            bytes += static_cast<char>(0x80 | (nCode & 0x3F));
        } else {
            bytes += static_cast<char>(0xF0 | (nCode >> 18));
            bytes += static_cast<char>(0x80 | ((nCode >> 12) & 0x3F));
            bytes += static_cast<char>(0x80 | ((nCode >> 6) & 0x3F));
            bytes += static_cast<char>(0x80 | (nCode & 0x3F));
        }
    }
    return bytes;
}

WideString WideFromUtf8(const std::string& bytes) {
    WideString text;
    text.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char nLead = static_cast<unsigned char>(bytes[i]);
        size_t nFollow = 0;
        unsigned long nCode = 0;
        unsigned long nLeast = 0;
        if (nLead < 0x80) {
            nCode = nLead;
        } else if ((nLead & 0xE0) == 0xC0) {
            nFollow = 1;
            nCode = nLead & 0x1F;
            nLeast = 0x80;
        } else if ((nLead & 0xF0) == 0xE0) {
            nFollow = 2;
            nCode = nLead & 0x0F;
            nLeast = 0x800;
        } else if ((nLead & 0xF8) == 0xF0) {
            nFollow = 3;
            nCode = nLead & 0x07;
            nLeast = 0x10000;
        } else {
            text += static_cast<WideChar>(0xFFFD);
            ++i;
            continue;
        }
        size_t n = 1;
        while (n <= nFollow && i + n < bytes.size() &&
               (static_cast<unsigned char>(bytes[i + n]) & 0xC0) == 0x80) {
            nCode = nCode << 6 | (static_cast<unsigned char>(bytes[i + n]) & 0x3F);
            ++n;
        }
        // Cut short, overlong, a surrogate's code or past U+10FFFF: one replacement for the lead.
        if (n <= nFollow || nCode < nLeast || (nCode >= 0xD800 && nCode <= 0xDFFF) ||
            nCode > 0x10FFFF) {
            text += static_cast<WideChar>(0xFFFD);
            ++i;
            continue;
        }
        if (nCode >= 0x10000) {
            text += static_cast<WideChar>(0xD800 + ((nCode - 0x10000) >> 10));
            text += static_cast<WideChar>(0xDC00 + ((nCode - 0x10000) & 0x3FF));
        } else {
            text += static_cast<WideChar>(nCode);
        }
        i += n;
    }
    return text;
}
