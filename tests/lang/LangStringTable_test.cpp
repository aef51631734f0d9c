#include "LangStringTable.h"

#include <gtest/gtest.h>

namespace {

TEST(LangStringTableTest, KeepsTheProductsOwnWordingExactly) {
  const struct {
    int id;
    const wchar_t *text;
  } cases[] = {
      {138, L"Add Files"},
      {144, L"\n\nChecking new version of %s online, please waiting..."},
      {147, L"A new version is available.\nVersion:%d.%02d\nBuild:%d\nPlease download it by "
            L"clicking the following link and upgrade."},
      {175, L"All(Double click to change the page range)"},
      {185, L"Image file has only one page.There is no need to change its range."},
      {189, L"Open Password is Enalbed but Not Set value \n"},
      {191, L"Output File Name is Empty,please input..."},
      {192, L"PDF load fiailed"},
      {172, L"Configurate \"Output Setting\" parameters."},
      {224, L"Add PDF"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(LoadBuiltInString(c.id), c.text) << c.id;
}

TEST(LangStringTableTest, UnknownIdentifiersGiveNothing) {
  for (int id : {0, -1, 1, 137, 146, 153, 174, 200, 225, 100000})
    EXPECT_EQ(LoadBuiltInString(id), L"") << id;
}

TEST(LangStringTableTest, IdentifiersAreSortedUniqueAndAllHaveText) {
  const std::vector<int> ids = BuiltInStringIds();
  ASSERT_EQ(ids.size(), 77u);
  for (size_t i = 0; i < ids.size(); ++i) {
    if (i > 0) {
      EXPECT_LT(ids[i - 1], ids[i]); // the lookup relies on this order
    }
    EXPECT_FALSE(LoadBuiltInString(ids[i]).empty()) << ids[i];
  }
}

} // namespace
