#include "Localization.h"

#include "AnsiText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// A language folder of the test's own, found through VANTOREL_LANG_FOLDER, and a system
// language set through LC_ALL.
class LocalizationTest : public ::testing::Test {
protected:
  void SetUp() override {
    setenv("VANTOREL_LANG_FOLDER", dir.path().c_str(), 1);
    setenv("LC_ALL", "de_DE.UTF-8", 1);
    SelectLanguage(L"en");
  }
  void TearDown() override { unsetenv("VANTOREL_LANG_FOLDER"); }
  void WriteLang(const std::string &code, const std::string &text) {
    WriteFileBytes(dir.file("lang_" + code + ".ini"), text);
  }
  void WriteLookup(const std::string &text) {
    WriteFileBytes(dir.file("language_lookup.ini"), text);
  }
  TempDir dir;
};

TEST_F(LocalizationTest, NoLanguageFolderMeansBuiltInEnglish) {
  setenv("VANTOREL_LANG_FOLDER", (dir.path() + "/missing").c_str(), 1);
  EXPECT_FALSE(LookupSystemLanguage());
  EXPECT_EQ(SelectLanguage(L"auto"), L"en");
  EXPECT_EQ(LoadLangString(138), L"Add Files");
  EXPECT_EQ(LoadLangString(99999), L"");
  EXPECT_EQ(LookupLangValue(L"STRING", L"138"), L"");
  EXPECT_EQ(TranslateByDictionary(L"OK"), L"OK");
}

TEST_F(LocalizationTest, AutoFollowsTheSystemLanguageThroughTheLookupFile) {
  WriteLookup("[LANGUAGE]\n0x0409=en\n0x0407=de\n0x040c=fr\n0x0411=\n");
  EXPECT_EQ(SelectLanguage(L"auto"), L"de");
  EXPECT_EQ(GetCurrentLanguage(), L"de");
  setenv("LC_ALL", "fr_FR.UTF-8", 1); // the key is written upper case, the file's lower: a match
  EXPECT_EQ(SelectLanguage(L"auto"), L"fr");
  setenv("LC_ALL", "ja_JP.UTF-8", 1); // an empty entry is no entry
  EXPECT_FALSE(LookupSystemLanguage());
  EXPECT_EQ(GetCurrentLanguage(), L"fr");
  EXPECT_EQ(SelectLanguage(L"auto"), L"en");
  setenv("LC_ALL", "de_AT.UTF-8", 1); // 0x0C07 is not listed
  EXPECT_EQ(SelectLanguage(L"auto"), L"en");
}

TEST_F(LocalizationTest, AnyOtherSettingIsTakenAsTheCode) {
  WriteLookup("[LANGUAGE]\n0x0407=de\n");
  EXPECT_EQ(SelectLanguage(L"Auto"), L"Auto"); // case matters
  EXPECT_EQ(GetLanguageFilePath(), Utf8ToWide(dir.path()) + L"/lang_Auto.ini");
  EXPECT_EQ(SelectLanguage(L"xx"), L"xx"); // no file needed
  EXPECT_EQ(LoadLangString(139), L"Build");
}

TEST_F(LocalizationTest, StringsComeFromTheFileWithEnglishAsFallback) {
  WriteLang("de", "[STRING]\n138=Dateien hinzuf\xC3\xBCgen\n139=\n141=\"  \"\n");
  SelectLanguage(L"de");
  EXPECT_EQ(LoadLangString(138), L"Dateien hinzuf\u00FCgen");
  EXPECT_EQ(LoadLangString(139), L"Build"); // empty value: no translation
  EXPECT_EQ(LoadLangString(141), L"  ");    // quotes keep blanks, which are a translation
  EXPECT_EQ(LoadLangString(180), L"Down");
}

TEST_F(LocalizationTest, EscapesDependOnTheService) {
  WriteLang("de", "[STRING]\n150=one\\ntwo\\tthree\\\\n\n[MENU]\n32771=Hi\\tlfe\n"
                  "[DIALOG_IDD_148]\ntitle=T\\nx\\ty\n"
                  "[DICTIONARY]\nOK=Gut\\nso\\t!\n");
  SelectLanguage(L"de");
  EXPECT_EQ(LoadLangString(150), L"one\ntwo\tthree\\\n");
  EXPECT_EQ(LookupLangValue(L"MENU", L"32771"), L"Hi\tlfe");
  EXPECT_EQ(LookupLangValue(L"DIALOG_IDD_148", L"title"), L"T\nx\ty");
  EXPECT_EQ(TranslateByDictionary(L"OK"), L"Gut\\nso\\t!");
  EXPECT_EQ(ConvertLangEscapes(L"a\\nb\\tc\\", false), L"a\nb\\tc\\");
}

TEST_F(LocalizationTest, LongValuesAreCutTo1022Characters) {
  WriteLang("de", "[STRING]\n138=" + std::string(1500, 'x') + "\n");
  SelectLanguage(L"de");
  EXPECT_EQ(LoadLangString(138), std::wstring(1022, L'x'));
}

TEST_F(LocalizationTest, EveryLookupReadsTheFileAnew) {
  SelectLanguage(L"de");
  EXPECT_EQ(LoadLangString(138), L"Add Files");
  WriteLang("de", "[STRING]\n138=Dateien\n");
  EXPECT_EQ(LoadLangString(138), L"Dateien");
  WriteLang("de", "[STRING]\n138=Neu\n");
  EXPECT_EQ(LoadLangString(138), L"Neu");
  SelectLanguage(L"en");
  EXPECT_EQ(LoadLangString(138), L"Add Files");
}

TEST_F(LocalizationTest, DictionaryTranslatesWholeTextsOnly) {
  WriteLang("fr", "[DICTIONARY]\nCancel=Annuler\nEmpty=\n");
  SelectLanguage(L"fr");
  EXPECT_EQ(TranslateByDictionary(L"Cancel"), L"Annuler");
  EXPECT_EQ(TranslateByDictionary(L"cancel"), L"Annuler"); // keys ignore case
  EXPECT_EQ(TranslateByDictionary(L"Cancel now"), L"Cancel now");
  EXPECT_EQ(TranslateByDictionary(L"Empty"), L"Empty");
  EXPECT_EQ(TranslateByDictionary(L""), L"");
}

TEST_F(LocalizationTest, BrokenLanguageFilesFallBackQuietly) {
  WriteLang("de", std::string("\xFF\xFE\x00", 3)); // UTF-16 mark, then half a character
  SelectLanguage(L"de");
  EXPECT_EQ(LoadLangString(138), L"Add Files");
  WriteLang("de", std::string(100000, '[') + "\n\x80\x81\xFE\n[STRING]\n138=ok\n");
  EXPECT_EQ(LoadLangString(138), L"ok");
  WriteLookup(std::string("\0\0\0\0", 4));
  EXPECT_EQ(SelectLanguage(L"auto"), L"en");
}

} // namespace
