#include "LanguageMenu.h"

#include "AnsiText.h"
#include "Localization.h"
#include "MenuCommandId.h"
#include "PrivateProfile.h"
#include "TextCompare.h"

#include <wx/menu.h>

#include <algorithm>
#include <dirent.h>

namespace {

// The folder's language files in the order Windows lists them: by name, ignoring case.
std::vector<std::wstring> ListLanguageFiles(const std::wstring &folder) {
  std::vector<std::wstring> names;
  DIR *dir = opendir(WideToUtf8(folder).c_str());
  if (!dir)
    return names;
  while (const dirent *entry = readdir(dir)) {
    const std::wstring name = Utf8ToWide(entry->d_name);
    if (IsLanguageFileName(name, nullptr))
      names.push_back(name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end(), LessNoCase);
  return names;
}

} // namespace

bool IsLanguageFileName(const std::wstring &name, std::wstring *code) {
  if (name.size() < 10 || name.size() > 12)
    return false;
  if (!EqualsNoCase(name.substr(0, 5), L"lang_") ||
      !EqualsNoCase(name.substr(name.size() - 4), L".ini"))
    return false;
  if (code)
    *code = name.substr(5, name.size() - 9);
  return true;
}

wxMenu *CreateLanguageMenu() {
  auto *menu = new wxMenu;
  menu->AppendCheckItem(MenuItemIdFromCommand(kLanguageCommandFirst), wxT("auto"));
  menu->AppendSeparator();
  return menu;
}

size_t BuildLanguageMenu(wxMenu *languageMenu, std::vector<std::wstring> &codes,
                         const std::wstring &languageID) {
  codes.clear();
  codes.push_back(L"auto");
  if (languageMenu) {
    // Entries of an earlier build go first, so building twice does not offer them twice.
    for (int command = kLanguageCommandFirst + 1; command <= kLanguageCommandLast; ++command)
      if (languageMenu->FindItem(MenuItemIdFromCommand(command)))
        languageMenu->Destroy(MenuItemIdFromCommand(command));
  }
  const std::wstring folder = GetLanguageFolder();
  for (const std::wstring &name : ListLanguageFiles(folder)) {
    // Commands beyond the handled range would be dead entries.
    if (kLanguageCommandFirst + static_cast<int>(codes.size()) > kLanguageCommandLast)
      break;
    const std::wstring display = GetPrivateProfileString(L"General", L"language", L"", 1023,
                                                         WideToUtf8(folder + L"/" + name));
    if (display.empty())
      continue;
    std::wstring code;
    IsLanguageFileName(name, &code);
    if (languageMenu)
      languageMenu->AppendCheckItem(
          MenuItemIdFromCommand(kLanguageCommandFirst + static_cast<int>(codes.size())), display);
    codes.push_back(code);
  }
  size_t selected = 0;
  for (size_t i = 1; i < codes.size(); ++i)
    if (codes[i] == languageID)
      selected = i;
  if (languageMenu) {
    wxMenuItem *item = languageMenu->FindItem(
        MenuItemIdFromCommand(kLanguageCommandFirst + static_cast<int>(selected)));
    if (item && item->IsCheckable())
      item->Check(true);
  }
  SelectLanguage(codes[selected]);
  return selected;
}

std::wstring ChooseLanguage(wxMenu *languageMenu, int commandId,
                            const std::vector<std::wstring> &codes) {
  const int index = commandId - kLanguageCommandFirst;
  if (index < 0 || commandId > kLanguageCommandLast || static_cast<size_t>(index) >= codes.size())
    return std::wstring();
  if (languageMenu) {
    for (size_t p = 0; p < languageMenu->GetMenuItemCount(); ++p) {
      wxMenuItem *item = languageMenu->FindItemByPosition(p);
      if (item->IsCheckable())
        item->Check(CommandFromMenuItemId(item->GetId()) == commandId);
    }
  }
  SelectLanguage(codes[index]);
  return codes[index];
}
