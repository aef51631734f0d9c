#pragma once
#include <string>
#include <vector>

class wxMenu;

// The Language submenu of the main menu: "auto" (command 32778) followed by a separator and one
// entry per language file, command 32779 + k for the k-th language offered. The code of the
// entry with command c is codes[c - 32778]. The menu items carry MenuItemIdFromCommand(c).
const int kLanguageCommandFirst = 32778; // "auto"
const int kLanguageCommandLast = 32878;  // 101 commands in all

// A new Language submenu as the menu template holds it: the checkable entry "auto" and a
// separator.
wxMenu *CreateLanguageMenu();

// Offers every "lang_<code>.ini" (code of one to three characters) of the language folder
// whose "General"/"language" value is not empty, under that name, in the order of their names.
// codes becomes "auto" followed by the codes offered. Checks the entry of the last language
// whose code equals languageID exactly ("auto" when none does), selects that language and
// returns its index in codes.
size_t BuildLanguageMenu(wxMenu *languageMenu, std::vector<std::wstring> &codes,
                         const std::wstring &languageID);

// The user chose the language command commandId (a command number, not a menu item id): moves the
// check mark to it, selects its language and returns its code, which the caller stores as the
// setting languageID. Empty, and nothing changes, for a command that names no entry.
std::wstring ChooseLanguage(wxMenu *languageMenu, int commandId,
                            const std::vector<std::wstring> &codes);

// True for a file name of the form "lang_" + one to three characters + ".ini", compared
// without regard to case as the Windows file search does; *code receives the characters.
bool IsLanguageFileName(const std::wstring &name, std::wstring *code);
