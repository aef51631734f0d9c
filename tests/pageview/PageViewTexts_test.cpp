// The new windows' texts in every language file: each key of the English file present, with the
// same placeholders; English when a language lacks one.
#include "PageViewTexts.h"

#include "Localization.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

std::wstring Placeholders(const std::wstring &text) {
  std::wstring out;
  for (size_t i = 0; i + 1 < text.size(); ++i)
    if (text[i] == L'%') {
      out += text.substr(i, 2);
      ++i;
    }
  return out;
}

struct Key {
  const wchar_t *section, *key;
};
const Key kWindowKeys[] = {
    {L"MENU", L"32901"},           {L"MENU", L"32902"},           {L"DIALOG_IDD_230", L"title"},
    {L"DIALOG_IDD_230", L"1203"},  {L"DIALOG_IDD_230", L"1204"},  {L"DIALOG_IDD_230", L"1205"},
    {L"DIALOG_IDD_230", L"1206"},  {L"DIALOG_IDD_230", L"1"},     {L"DIALOG_IDD_230", L"2"},
    {L"DIALOG_IDD_231", L"title"}, {L"DIALOG_IDD_231", L"1216"},  {L"DIALOG_IDD_231", L"1217"},
    {L"DIALOG_IDD_231", L"1218"},  {L"DIALOG_IDD_231", L"2"},
};

class PageViewTextsTest : public ::testing::Test {
protected:
  // The files copied beside the test program, as beside the program.
  void SetUp() override { unsetenv("VANTOREL_LANG_FOLDER"); }
  void TearDown() override { SelectLanguage(L"en"); }
};

TEST_F(PageViewTextsTest, EveryLanguageHasEveryTextWithItsPlaceholders) {
  SelectLanguage(L"en");
  for (auto e = PageViewTextsBegin(); e != PageViewTextsEnd(); ++e)
    EXPECT_EQ(e->english, LookupLangValue(L"STRING", std::to_wstring(e->id))) << e->id;
  for (const wchar_t *code : {L"de", L"fr", L"jp"}) {
    SelectLanguage(code);
    for (auto e = PageViewTextsBegin(); e != PageViewTextsEnd(); ++e) {
      const std::wstring text = PageViewText(e->id);
      EXPECT_NE(e->english, text) << e->id; // translated
      EXPECT_EQ(Placeholders(e->english), Placeholders(text)) << e->id;
    }
    for (const Key &k : kWindowKeys)
      EXPECT_FALSE(LookupLangValue(k.section, k.key).empty()) << k.section << " " << k.key;
    // The menu entries keep their shortcut after the tab.
    EXPECT_NE(std::wstring::npos, LookupLangValue(L"MENU", L"32901").find(L"\tCtrl+T"));
  }
}

TEST_F(PageViewTextsTest, EnglishIsTheFallback) {
  SelectLanguage(L"xx"); // no such file
  EXPECT_EQ(L"Sheet %d of %d", PageViewText(IDS_SHEET_COUNTER));
  EXPECT_TRUE(PageViewText(1).empty());
}

} // namespace
