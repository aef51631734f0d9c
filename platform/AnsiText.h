#pragma once
#include <string>
#include <string_view>

// Text conversions between the program's wide strings and UTF-8, the encoding of the file system
// and of everything the program hands the merge engine.

// File names are bytes: a name that is not UTF-8 (a Latin-1 "caf\xE9.pdf") must survive the trip
// through wide text unchanged. Each byte 0x80..0xFF that is not part of a valid UTF-8 sequence
// is carried as the lone surrogate U+DC80..U+DCFF, which no valid text contains.

// UTF-8 of a wide string; U+DC80..U+DCFF become the bytes they carry, other code points that
// UTF-8 cannot hold (surrogates, beyond U+10FFFF) become U+FFFD.
std::string WideToUtf8(const std::wstring &text);
// Wide string of UTF-8 text; each byte that is not part of a valid sequence becomes
// U+DC80..U+DCFF, so WideToUtf8 gives the same bytes back.
std::wstring Utf8ToWide(const std::string &text);
// The text as a person should read it: each carried byte (U+DC80..U+DCFF) shown as its
// Windows-1252 character, so a Latin-1 file name reads as it was meant. For showing only: the
// result no longer names the file.
std::wstring ReadableText(const std::wstring &text);

// Code points as UTF-8 and back, for text that must be well-formed (passwords): c is appended
// as its UTF-8 bytes (a carried byte U+DC80..U+DCFF as that byte); Utf8CodePoints is false when
// text is not well-formed UTF-8.
void AppendCodePoint(std::string &out, char32_t c);
bool Utf8CodePoints(std::string_view text, std::u32string &out);
// Windows-1252 text, the ANSI code page of narrow signatures, as UTF-8 (its five unused bytes
// pass as the C1 controls they are in Latin-1).
std::string Cp1252ToUtf8(std::string_view text);
// UTF-8 text as Windows-1252; false when it is not UTF-8 or a character has no byte there.
bool Utf8ToCp1252(std::string_view utf8, std::string &out);
