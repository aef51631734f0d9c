// The language files shipped beside the program: complete, and faithful to the English texts
// (every key present, every placeholder and line break kept).
#include "LangStringTable.h"
#include "Localization.h"
#include "SystemFolders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

struct Text {
  const wchar_t *section;
  const wchar_t *key;
  const wchar_t *english;
};

// Every menu entry and dialog text the program's templates hold, with their English captions.
const Text kTemplateTexts[] = {
    {L"MENU", L"32771", L"Help"},
    {L"MENU", L"32772", L"Check For Update..."},
    {L"MENU", L"32773", L"Homepage"},
    {L"MENU", L"32776", L"About"},
    {L"MENU", L"32778", L"auto"},
    {L"MENU", L"32887", L"Add Files..."},
    {L"MENU", L"32888", L"Delete"},
    {L"MENU", L"32889", L"Empty"},
    {L"MENU", L"32890", L"Open Location"},
    {L"MENU", L"32893", L"Move Up"},
    {L"MENU", L"32894", L"Move Down"},
    {L"MENU", L"32896", L"Move Last"},
    {L"MENU", L"32898", L"Move First"},
    {L"DIALOG_IDD_108", L"1011", L"Menu Bar"},
    {L"DIALOG_IDD_108", L"1010", L"Add Pdf"},
    {L"DIALOG_IDD_108", L"1013", L"Add Folder"},
    {L"DIALOG_IDD_108", L"1008", L"Advanced Setting"},
    {L"DIALOG_IDD_108", L"1007", L"Output Path:"},
    {L"DIALOG_IDD_108", L"1049", L"Output File Name:"},
    {L"DIALOG_IDD_108", L"1048", L"Output Folder:"},
    {L"DIALOG_IDD_108", L"1005", L"Open"},
    {L"DIALOG_IDD_108", L"1009", L"Convert"},
    {L"DIALOG_IDD_168", L"1062", L"Output Setting:"},
    {L"DIALOG_IDD_168", L"1063", L"LayOut"},
    {L"DIALOG_IDD_168", L"1064", L"Security"},
    {L"DIALOG_IDD_168", L"1029", L"A5"},
    {L"DIALOG_IDD_168", L"1030", L"A4"},
    {L"DIALOG_IDD_168", L"1031", L"A3"},
    {L"DIALOG_IDD_168", L"1057", L"Letter"},
    {L"DIALOG_IDD_168", L"1058", L"Legal"},
    {L"DIALOG_IDD_168", L"1059", L"Junior Legal"},
    {L"DIALOG_IDD_168", L"1060", L"Ledger"},
    {L"DIALOG_IDD_168", L"1061", L"Tabloid"},
    {L"DIALOG_IDD_168", L"1032", L"1IN1"},
    {L"DIALOG_IDD_168", L"1033", L"2IN1"},
    {L"DIALOG_IDD_168", L"1034", L"4IN1"},
    {L"DIALOG_IDD_168", L"1054", L"Auto"},
    {L"DIALOG_IDD_168", L"1056", L"Vertical"},
    {L"DIALOG_IDD_168", L"1055", L"Horizontal"},
    {L"DIALOG_IDD_168", L"1036", L"Open Password"},
    {L"DIALOG_IDD_168", L"1037", L"Permission Password"},
    {L"DIALOG_IDD_168", L"1038", L"Editing Allowed"},
    {L"DIALOG_IDD_168", L"1039", L"Copying Allowed"},
    {L"DIALOG_IDD_168", L"1040", L"Printing Allowed"},
    {L"DIALOG_IDD_169", L"title", L"Change Page Range"},
    {L"DIALOG_IDD_169", L"1046", L"Select Page Range"},
    {L"DIALOG_IDD_169", L"1042", L"All Page."},
    {L"DIALOG_IDD_169", L"1043", L"Part e.g. [1, 3, 4, 9-11, 12-15]"},
    {L"DIALOG_IDD_169", L"1055", L"Cut into small PDF per x page(s)"},
    {L"DIALOG_IDD_169", L"1062", L"x:"},
    {L"DIALOG_IDD_169", L"1", L"OK"},
    {L"DIALOG_IDD_169", L"2", L"Cancel"},
    {L"DIALOG_IDD_148", L"title", L"Check new version online..."},
    {L"DIALOG_IDD_148", L"1013", L"&Close"},
    {L"DIALOG_IDD_148", L"1015", L"Website:"},
};

const wchar_t *const kLanguages[] = {L"en", L"de", L"fr", L"jp"};

// The printf placeholders of a text, in order ("%s", "%d", "%02d", …).
std::vector<std::wstring> Placeholders(const std::wstring &text) {
  std::vector<std::wstring> found;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'%')
      continue;
    size_t j = i + 1;
    while (j < text.size() && (iswdigit(text[j]) || text[j] == L'.'))
      ++j;
    if (j < text.size())
      found.push_back(text.substr(i, j - i + 1));
    i = j;
  }
  return found;
}

size_t LineBreaks(const std::wstring &text) {
  size_t count = 0;
  for (wchar_t c : text)
    count += c == L'\n';
  return count;
}

// The shipped files, found where the program finds them: beside the executable.
class LanguageFilesTest : public ::testing::Test {
protected:
  void SetUp() override { unsetenv("VANTOREL_LANG_FOLDER"); }
  void TearDown() override { SelectLanguage(L"en"); }
};

TEST_F(LanguageFilesTest, AreCopiedBesideTheProgram) {
  EXPECT_EQ(GetLanguageFolder(), GetProgramFolder() + L"/lang_zuzoZorave");
  for (const wchar_t *code : kLanguages)
    EXPECT_TRUE(PathExists(GetLanguageFolder() + L"/lang_" + code + L".ini")) << code;
  EXPECT_TRUE(PathExists(GetLanguageFolder() + L"/language_lookup.ini"));
}

TEST_F(LanguageFilesTest, EnglishFileRepeatsTheProgramsOwnTexts) {
  SelectLanguage(L"en");
  EXPECT_EQ(LookupLangValue(L"General", L"language"), L"English");
  for (int id : BuiltInStringIds())
    EXPECT_EQ(LookupLangValue(L"STRING", std::to_wstring(id)), LoadBuiltInString(id)) << id;
  for (const Text &t : kTemplateTexts)
    EXPECT_EQ(LookupLangValue(t.section, t.key), t.english) << t.section << "/" << t.key;
}

TEST_F(LanguageFilesTest, EveryTranslationIsCompleteAndKeepsPlaceholders) {
  for (const wchar_t *code : kLanguages) {
    SelectLanguage(code);
    EXPECT_FALSE(LookupLangValue(L"General", L"language").empty()) << code;
    for (int id : BuiltInStringIds()) {
      const std::wstring english = LoadBuiltInString(id);
      const std::wstring translated = LookupLangValue(L"STRING", std::to_wstring(id));
      ASSERT_FALSE(translated.empty()) << code << " string " << id;
      EXPECT_EQ(Placeholders(translated), Placeholders(english)) << code << " string " << id;
      EXPECT_EQ(LineBreaks(translated), LineBreaks(english)) << code << " string " << id;
      // Messages are joined and status texts start below the top: the breaks stay in place.
      EXPECT_EQ(translated.front() == L'\n', english.front() == L'\n') << code << " " << id;
      EXPECT_EQ(translated.back() == L'\n', english.back() == L'\n') << code << " " << id;
    }
    for (const Text &t : kTemplateTexts)
      EXPECT_FALSE(LookupLangValue(t.section, t.key).empty())
          << code << " " << t.section << "/" << t.key;
  }
}

TEST_F(LanguageFilesTest, LookupFileMapsTheSystemLanguages) {
  const struct {
    const char *locale;
    const wchar_t *code;
  } cases[] = {{"en_US.UTF-8", L"en"}, {"en_GB.UTF-8", L"en"}, {"en_AU", L"en"},
               {"de_DE.UTF-8", L"de"}, {"de_AT.UTF-8", L"de"}, {"de_CH", L"de"},
               {"fr_FR.UTF-8", L"fr"}, {"fr_CA.UTF-8", L"fr"}, {"fr_BE", L"fr"},
               {"ja_JP.UTF-8", L"jp"}, {"es_ES.UTF-8", L"en"}, {"C", L"en"}};
  for (const auto &c : cases) {
    setenv("LC_ALL", c.locale, 1);
    EXPECT_EQ(SelectLanguage(L"auto"), c.code) << c.locale;
  }
}

} // namespace
