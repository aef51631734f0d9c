#pragma once
#include <cstdint>
#include <string>

// The system's default language as a Windows language identifier (LANGID), the key that
// "language_lookup.ini" uses (written "0x%04X", e.g. 0x0407 for German in Germany).

// The identifier of the system's language: from LC_ALL, LC_MESSAGES or LANG, the first that is
// set. 0x0409 (English, United States) for the C locale or when none is set; 0 for a language
// that has no identifier.
uint16_t GetSystemDefaultLangID();

// The identifier of a POSIX locale name such as "de_DE.UTF-8" or "fr"; a language without a
// country, or with an unknown one, gets the language's main variant. 0 when unknown.
uint16_t LangIdFromLocaleName(const std::string &locale);
