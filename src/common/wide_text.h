// UTF-16 text as the module holds it, and bounded operations on fixed text buffers.
#ifndef NPDESKLAUNCH_COMMON_WIDE_TEXT_H
#define NPDESKLAUNCH_COMMON_WIDE_TEXT_H

#include <stddef.h>
#include <string>

#ifdef _WIN32
typedef wchar_t WideChar;
#define WIDE(text) L##text
#else
// Off Windows the same code works on char16_t, so that it keeps UTF-16 code units.
typedef char16_t WideChar;
#define WIDE(text) u##text
#endif

typedef std::basic_string<WideChar> WideString;

// Capacity of every fixed path buffer: 259 code units and the terminator.
const size_t kPathCapacity = 260;

// The text of `units`, which holds `nUnits` code units, up to its first zero unit.
WideString TextBeforeZero(const WideChar* units, size_t nUnits);

// The first `nMaxUnits` code units of `text`, one fewer when the cut would split a surrogate pair.
WideString CutToLength(const WideString& text, size_t nMaxUnits);

// Copies `text` into `buffer` of `nCapacity` units, cut to fit, and terminates it.
void CopyToBuffer(WideChar* buffer, size_t nCapacity, const WideString& text);

// The text with A to Z turned into a to z; every other code unit is kept.
WideString ToLowerAscii(WideString text);

// Equality that folds only the ASCII letters A to Z; every other unit must match exactly.
bool EqualsIgnoringAsciiCase(const WideString& left, const WideString& right);

// The text with U+FFFD in place of every surrogate that is not half of a pair: what the page
// receives must be UTF-8, and Windows XP's conversion would encode such a unit as it stands.
WideString ReplaceLoneSurrogates(const WideString& text);

// UTF-8 of the text, U+FFFD in place of every surrogate that is not half of a pair.
std::string Utf8FromWide(const WideString& text);

// The text of UTF-8 bytes; each byte that begins no well-formed sequence becomes U+FFFD.
WideString WideFromUtf8(const std::string& bytes);

// UTF-8 of the text, U+FFFD in place of every surrogate that is not half of a pair.
std::string Utf8FromWide(const WideString& text);

// The text of UTF-8 bytes; each byte that begins no well-formed sequence becomes U+FFFD.
WideString WideFromUtf8(const std::string& bytes);

#endif
