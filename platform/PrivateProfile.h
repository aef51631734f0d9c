#pragma once
#include <string>

// Reading of INI ("private profile") files with the rules of Windows' GetPrivateProfileString:
// - a section starts at a line "[name]"; a value is a line "key=value";
// - section and key names match without regard to case; the first matching section and the
//   first matching key in it win;
// - spaces around names and values are dropped, then one pair of enclosing quotes (" or ');
// - a file beginning with a UTF-16 byte-order mark (either byte order) is UTF-16, any other
//   file UTF-8 with or without its byte-order mark; bytes that are not valid text read as U+FFFD.
// Every call reads the file anew: an edit made while the program runs is seen at once.

// The value of key in section of the file at path (UTF-8), cut to size - 1 characters; the
// default when the file, the section or the key is missing or size is 0 gives nothing.
std::wstring GetPrivateProfileString(const std::wstring &section, const std::wstring &key,
                                     const std::wstring &defaultValue, size_t size,
                                     const std::string &path);

// The value read as an integer: leading blanks, an optional sign, then decimal digits (or
// hexadecimal after "0x"), up to the first other character. The default when the value is
// missing or empty; 0 when it holds no digits.
int GetPrivateProfileInt(const std::wstring &section, const std::wstring &key, int defaultValue,
                         const std::string &path);

// The text of an INI file's bytes, decoded by the rules above.
std::wstring DecodeProfileText(const std::string &bytes);
