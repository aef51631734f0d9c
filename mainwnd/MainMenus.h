#pragma once
#include <wx/menu.h>

// The main window's two menu resources, as their first submenus (the only parts the program
// uses). Entries carry MenuItemIdFromCommand of their command numbers.

// Main menu commands.
enum MainMenuCommand {
  ID_HELP = 32771,
  ID_CHECK_UPDATE = 32772,
  ID_HOMEPAGE = 32773,
  ID_ABOUT = 32776,
  ID_PREVIEW = 32902, // also in the list context menu
};

// List context menu commands.
enum ListMenuCommand {
  ID_LIST_ADD_FILES = 32887,
  ID_LIST_DELETE = 32888,
  ID_LIST_EMPTY = 32889,
  ID_LIST_OPEN_LOCATION = 32890,
  ID_LIST_MOVE_UP = 32893,
  ID_LIST_MOVE_DOWN = 32894,
  ID_LIST_MOVE_LAST = 32896,
  ID_LIST_MOVE_FIRST = 32898,
  ID_LIST_CHOOSE_PAGES = 32901,
};

// Position of the Language submenu in the main menu.
const int kLanguageMenuPosition = 5;

// Menu 147: "Help", separator, "Check For Update...", "Homepage", separator, "Language" (with
// "auto" and a separator), separator, "About", separator, "Preview...".
wxMenu *LoadMainMenu();

// Menu 159: "Add Files...", "Open Location", separator, "Delete", "Empty", separator, "Move Up",
// "Move Down", "Move First", "Move Last", separator, "Choose Pages...", "Preview...".
wxMenu *LoadListMenu();

// The Language submenu of the main menu; null when there is none.
wxMenu *GetLanguageMenu(wxMenu *mainMenu);

// Enables or disables the entry with command number command.
void EnableMenuCommand(wxMenu *menu, int command, bool enable);
bool IsMenuCommandEnabled(const wxMenu *menu, int command);
