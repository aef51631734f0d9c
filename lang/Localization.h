#pragma once
#include <string>

// The localisation engine: which language is current, where its file is, and the translated
// texts. Every lookup reads the language file anew, so a language change, or a language file
// edited while the program runs, shows at the next lookup. No failure is reported: a missing
// folder, file, section or key, or an empty value, means "no translation".
//
// Language files live in the folder "lang_zuzoZorave" beside the program: "language_lookup.ini"
// maps system language identifiers to codes, and "lang_<code>.ini" holds one language.

// The folder of the language files. VANTOREL_LANG_FOLDER, when set, names another one (tests).
std::wstring GetLanguageFolder();

// "<language folder>/lang_<current code>.ini".
std::wstring GetLanguageFilePath();

// A copy of the current language code, "en" until a language is selected.
std::wstring GetCurrentLanguage();

// Makes the code that "language_lookup.ini" gives for the system's default language current.
// False, and nothing changes, when the lookup file has no non-empty entry for it.
bool LookupSystemLanguage();

// Makes setting the current code and returns it; "auto" (exactly) asks LookupSystemLanguage
// and falls back to "en".
std::wstring SelectLanguage(const std::wstring &setting);

// The value of key in section of the current language file, with "\n" and "\t" turned into a
// line break and a tab; empty when there is none.
std::wstring LookupLangValue(const std::wstring &section, const std::wstring &key);

// String id translated ("STRING" section), else the program's English text, else empty.
std::wstring LoadLangString(int id);

// The "DICTIONARY" translation of an English text, or the text itself.
std::wstring TranslateByDictionary(const std::wstring &text);

// Replaces backslash-n by a line break and, when tabs is set, backslash-t by a tab.
std::wstring ConvertLangEscapes(const std::wstring &value, bool tabs);

// The raw value of key in section of the current language file (no escapes converted), at most
// 1022 characters as the engine reads them.
std::wstring ReadLangFileValue(const std::wstring &section, const std::wstring &key);
