#pragma once
#include <string>

// Text conversions between the program's wide strings, the narrow "ANSI" text that the merge
// engine takes (Windows-1252) and UTF-8, the file system's encoding.

// Windows-1252 text of a wide string; each character that has no Windows-1252 byte becomes '?'.
std::string WideToAnsi(const std::wstring &text);
// Wide string of Windows-1252 text; never fails (the five unassigned bytes map to U+0081 and
// the like, as Windows does).
std::wstring AnsiToWide(const std::string &text);
// UTF-8 of a wide string; code points that UTF-8 cannot carry (surrogates, beyond U+10FFFF)
// become U+FFFD.
std::string WideToUtf8(const std::wstring &text);
// Wide string of UTF-8 text; each byte that is not part of a valid sequence becomes U+FFFD.
std::wstring Utf8ToWide(const std::string &text);
