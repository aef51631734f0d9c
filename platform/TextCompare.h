#pragma once
#include <string>

// Comparisons of names without regard to case: file extensions, language codes, INI sections
// and keys, theme names. Wide text folds ASCII letters directly and other letters through the C
// library's towlower; narrow text (UTF-8 or ANSI bytes) folds ASCII letters only.

wchar_t FoldCase(wchar_t c);
char FoldCase(char c);

// True when a and b hold the same characters apart from case.
bool EqualsNoCase(const std::wstring &a, const std::wstring &b);
bool EqualsNoCase(const std::string &a, const std::string &b);

// True when text ends with suffix apart from case; an empty suffix always ends a text.
bool EndsWithNoCase(const std::wstring &text, const std::wstring &suffix);
bool EndsWithNoCase(const std::string &text, const std::string &suffix);

// Order of a and b by their folded characters: a sort that ignores case, as file lists do.
bool LessNoCase(const std::wstring &a, const std::wstring &b);
