#pragma once

// The program's menu commands are numbered from 32771 up (these numbers are the "MENU" keys
// of the language files), but wx refuses menu item identifiers from 0x7FFF up. A menu item
// therefore carries the command number less kMenuIdOffset; commands below 0x7FFF keep their
// number. The program has no commands between 16383 and 0x7FFF, so the two ranges never meet.
const int kMenuIdOffset = 16384;

// The wx identifier of the menu item for command.
constexpr int MenuItemIdFromCommand(int command) {
  return command >= 0x7FFF ? command - kMenuIdOffset : command;
}

// The command of the menu item with wx identifier id.
constexpr int CommandFromMenuItemId(int id) {
  return (id >= 0x7FFF - kMenuIdOffset && id < 0x7FFF) ? id + kMenuIdOffset : id;
}
