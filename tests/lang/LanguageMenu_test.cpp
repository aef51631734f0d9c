#include "LanguageMenu.h"

#include "support/LangTestFolder.h"

#include "MenuCommandId.h"

#include <gtest/gtest.h>
#include <wx/menu.h>

#include <memory>

namespace {

constexpr int M(int command) { return MenuItemIdFromCommand(command); }

class LanguageMenuTest : public ::testing::Test {
protected:
  void SetUp() override {
    setenv("LC_ALL", "fr_FR.UTF-8", 1);
    folder.Write("language_lookup.ini", "[LANGUAGE]\n0x040C=fr\n");
    folder.Write("lang_de.ini", "[General]\nlanguage=Deutsch\n");
    folder.Write("lang_fr.ini", "[General]\nlanguage=Fran\xC3\xA7"
                                "ais\n");
    folder.Write("lang_jp.ini", "[General]\nlanguage=\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\n");
    folder.Write("lang_xx.ini", "[General]\nlanguage=\n[STRING]\n138=complete otherwise\n");
    folder.Write("lang_toolong.ini", "[General]\nlanguage=Too long\n");
    folder.Write("lang_.ini", "[General]\nlanguage=Empty code\n");
    folder.Write("lang_a.txt", "[General]\nlanguage=Not ini\n");
    folder.Write("lang_e.ini", "[General]\nlanguage=One letter\n");
    menu.reset(CreateLanguageMenu());
  }
  std::vector<wxString> Labels() {
    std::vector<wxString> labels;
    for (size_t p = 0; p < menu->GetMenuItemCount(); ++p)
      labels.push_back(menu->FindItemByPosition(p)->GetItemLabelText());
    return labels;
  }
  LangTestFolder folder;
  std::unique_ptr<wxMenu> menu;
  std::vector<std::wstring> codes;
};

TEST_F(LanguageMenuTest, OffersNamedFilesWithOneToThreeCharacterCodes) {
  EXPECT_EQ(BuildLanguageMenu(menu.get(), codes, L"de"), 1u);
  const std::vector<std::wstring> expectedCodes = {L"auto", L"de", L"e", L"fr", L"jp"};
  EXPECT_EQ(codes, expectedCodes);
  const std::vector<wxString> labels = Labels();
  ASSERT_EQ(labels.size(), 6u);
  EXPECT_EQ(labels[0], wxT("auto"));
  EXPECT_EQ(labels[2], wxT("Deutsch"));
  EXPECT_EQ(labels[3], wxT("One letter"));
  EXPECT_EQ(labels[4], wxString(L"Fran\u00E7ais"));
  EXPECT_EQ(menu->FindItemByPosition(5)->GetId(), M(32782));
  EXPECT_TRUE(menu->IsChecked(M(32779)));
  EXPECT_FALSE(menu->IsChecked(M(32778)));
  EXPECT_EQ(GetCurrentLanguage(), L"de");
}

TEST_F(LanguageMenuTest, UnknownOrMiscasedSettingSelectsAuto) {
  for (const wchar_t *setting : {L"DE", L"auto", L"Auto", L"es", L""}) {
    menu.reset(CreateLanguageMenu());
    EXPECT_EQ(BuildLanguageMenu(menu.get(), codes, setting), 0u) << setting;
    EXPECT_TRUE(menu->IsChecked(M(32778)));
    EXPECT_EQ(GetCurrentLanguage(), L"fr"); // auto follows the system language
  }
}

TEST_F(LanguageMenuTest, NoLanguageFolderLeavesOnlyAuto) {
  setenv("VANTOREL_LANG_FOLDER", (folder.dir.path() + "/missing").c_str(), 1);
  EXPECT_EQ(BuildLanguageMenu(menu.get(), codes, L"de"), 0u);
  EXPECT_EQ(codes, std::vector<std::wstring>{L"auto"});
  EXPECT_EQ(menu->GetMenuItemCount(), 2u);
  EXPECT_EQ(GetCurrentLanguage(), L"en");
}

TEST_F(LanguageMenuTest, BuildingAgainDoesNotDuplicateEntries) {
  BuildLanguageMenu(menu.get(), codes, L"fr");
  EXPECT_EQ(BuildLanguageMenu(menu.get(), codes, L"fr"), 3u);
  EXPECT_EQ(menu->GetMenuItemCount(), 6u);
  EXPECT_EQ(codes.size(), 5u);
}

TEST_F(LanguageMenuTest, ChoosingMovesTheCheckAndSelectsTheLanguage) {
  BuildLanguageMenu(menu.get(), codes, L"de");
  EXPECT_EQ(ChooseLanguage(menu.get(), 32782, codes), L"jp");
  EXPECT_EQ(GetCurrentLanguage(), L"jp");
  EXPECT_TRUE(menu->IsChecked(M(32782)));
  EXPECT_FALSE(menu->IsChecked(M(32779)));
  EXPECT_EQ(ChooseLanguage(menu.get(), 32778, codes), L"auto");
  EXPECT_EQ(GetCurrentLanguage(), L"fr");
  EXPECT_TRUE(menu->IsChecked(M(32778)));
  // Commands that name no entry change nothing.
  EXPECT_EQ(ChooseLanguage(menu.get(), 32783, codes), L"");
  EXPECT_EQ(ChooseLanguage(menu.get(), 32777, codes), L"");
  EXPECT_TRUE(menu->IsChecked(M(32778)));
  EXPECT_EQ(GetCurrentLanguage(), L"fr");
}

TEST_F(LanguageMenuTest, AtMostOneHundredLanguagesAreOffered) {
  for (int i = 0; i < 120; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "lang_%03d.ini", i);
    folder.Write(name, "[General]\nlanguage=L" + std::to_string(i) + "\n");
  }
  BuildLanguageMenu(menu.get(), codes, L"auto");
  EXPECT_EQ(codes.size(), 101u);
  EXPECT_NE(menu->FindItem(M(32878)), nullptr);
}

TEST(LanguageFileNameTest, MatchesTheWindowsPattern) {
  const struct {
    const wchar_t *name;
    bool matches;
    const wchar_t *code;
  } cases[] = {
      {L"lang_de.ini", true, L"de"}, {L"lang_e.ini", true, L"e"},   {L"lang_chs.ini", true, L"chs"},
      {L"LANG_DE.INI", true, L"DE"}, {L"lang_.ini", false, L""},    {L"lang_abcd.ini", false, L""},
      {L"lang_de.txt", false, L""},  {L"xlang_de.ini", false, L""}, {L"lang_de.ini~", false, L""},
  };
  for (const auto &c : cases) {
    std::wstring code;
    EXPECT_EQ(IsLanguageFileName(c.name, &code), c.matches) << c.name;
    if (c.matches) {
      EXPECT_EQ(code, c.code);
    }
  }
}

} // namespace
