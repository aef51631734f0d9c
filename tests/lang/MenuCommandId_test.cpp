#include "MenuCommandId.h"

#include <gtest/gtest.h>

namespace {

TEST(MenuCommandIdTest, CommandsFitWxMenusAndComeBack) {
  for (int command : {32771, 32772, 32773, 32776, 32778, 32779, 32878, 32887, 32898}) {
    const int id = MenuItemIdFromCommand(command);
    EXPECT_GT(id, 0);
    EXPECT_LT(id, 0x7FFF); // wx's limit for menu items
    EXPECT_EQ(CommandFromMenuItemId(id), command);
  }
  for (int small : {1, 101, 5000, 16382})
    EXPECT_EQ(CommandFromMenuItemId(MenuItemIdFromCommand(small)), small);
}

} // namespace
