#include "MainMenus.h"

#include "LanguageMenu.h"
#include "MenuCommandId.h"

namespace {
void AppendCommand(wxMenu *menu, int command, const wxString &text) {
  menu->Append(MenuItemIdFromCommand(command), text);
}
} // namespace

wxMenu *LoadMainMenu() {
  auto *menu = new wxMenu;
  AppendCommand(menu, ID_HELP, wxT("Help"));
  menu->AppendSeparator();
  AppendCommand(menu, ID_CHECK_UPDATE, wxT("Check For Update..."));
  AppendCommand(menu, ID_HOMEPAGE, wxT("Homepage"));
  menu->AppendSeparator();
  menu->AppendSubMenu(CreateLanguageMenu(), wxT("Language"));
  menu->AppendSeparator();
  AppendCommand(menu, ID_ABOUT, wxT("About"));
  // Added after the template's entries, so that their positions stay as they were.
  menu->AppendSeparator();
  AppendCommand(menu, ID_PREVIEW, wxT("Preview...\tCtrl+R"));
  return menu;
}

wxMenu *LoadListMenu() {
  auto *menu = new wxMenu;
  AppendCommand(menu, ID_LIST_ADD_FILES, wxT("Add Files..."));
  AppendCommand(menu, ID_LIST_OPEN_LOCATION, wxT("Open Location"));
  menu->AppendSeparator();
  AppendCommand(menu, ID_LIST_DELETE, wxT("Delete"));
  AppendCommand(menu, ID_LIST_EMPTY, wxT("Empty"));
  menu->AppendSeparator();
  AppendCommand(menu, ID_LIST_MOVE_UP, wxT("Move Up"));
  AppendCommand(menu, ID_LIST_MOVE_DOWN, wxT("Move Down"));
  AppendCommand(menu, ID_LIST_MOVE_FIRST, wxT("Move First"));
  AppendCommand(menu, ID_LIST_MOVE_LAST, wxT("Move Last"));
  menu->AppendSeparator();
  AppendCommand(menu, ID_LIST_CHOOSE_PAGES, wxT("Choose Pages...\tCtrl+T"));
  AppendCommand(menu, ID_PREVIEW, wxT("Preview...\tCtrl+R"));
  return menu;
}

wxMenu *GetLanguageMenu(wxMenu *mainMenu) {
  if (!mainMenu || mainMenu->GetMenuItemCount() <= kLanguageMenuPosition)
    return nullptr;
  return mainMenu->FindItemByPosition(kLanguageMenuPosition)->GetSubMenu();
}

void EnableMenuCommand(wxMenu *menu, int command, bool enable) {
  if (menu->FindItem(MenuItemIdFromCommand(command)))
    menu->Enable(MenuItemIdFromCommand(command), enable);
}

bool IsMenuCommandEnabled(const wxMenu *menu, int command) {
  const wxMenuItem *item = menu->FindItem(MenuItemIdFromCommand(command));
  return item && item->IsEnabled();
}
