#pragma once

class wxMenu;
class wxMenuBar;

// Translates a menu tree from the "MENU" section of the current language file: each command
// entry takes the value of its command number (see MenuCommandId.h) and keeps its check mark and
// its disabled state; separators are left alone; every submenu is translated the same way.
void TranslateMenu(wxMenu *menu);

// As above for a menu bar. Only the menu bar of the application's main window also takes
// the titles of its menus from the keys "item_1", "item_2", ….
void TranslateMenu(wxMenuBar *menuBar);
