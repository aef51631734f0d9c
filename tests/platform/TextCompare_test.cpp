#include "TextCompare.h"

#include <algorithm>
#include <clocale>
#include <vector>

#include <gtest/gtest.h>

namespace {

TEST(TextCompare, EqualsIgnoresOnlyCase) {
  EXPECT_TRUE(EqualsNoCase(std::wstring(L"FirstFileName_LastFileName"),
                           std::wstring(L"firstfilename_lastfilename")));
  EXPECT_FALSE(EqualsNoCase(std::wstring(L".pdf"), std::wstring(L".pdf ")));
  EXPECT_FALSE(EqualsNoCase(std::wstring(L".pdf"), std::wstring(L".pd")));
  EXPECT_TRUE(EqualsNoCase(std::wstring(), std::wstring()));
  EXPECT_TRUE(EqualsNoCase(std::string("Metallic"), std::string("METALLIC")));
  EXPECT_FALSE(EqualsNoCase(std::string("a"), std::string("b")));
}

TEST(TextCompare, EndsWithLooksAtTheTailOnly) {
  EXPECT_TRUE(EndsWithNoCase(std::wstring(L"/docs/Report.PDF"), std::wstring(L".pdf")));
  EXPECT_FALSE(EndsWithNoCase(std::wstring(L"/docs/Report.PDF.txt"), std::wstring(L".pdf")));
  EXPECT_FALSE(EndsWithNoCase(std::wstring(L"pdf"), std::wstring(L".pdf")));
  EXPECT_TRUE(EndsWithNoCase(std::wstring(L"x"), std::wstring()));
  EXPECT_TRUE(EndsWithNoCase(std::string("photo.JPeG"), std::string(".jpeg")));
  EXPECT_FALSE(EndsWithNoCase(std::string("photo.jpg"), std::string(".jpeg")));
}

TEST(TextCompare, NarrowTextFoldsAsciiOnly) {
  // UTF-8 bytes of "É" and "é" differ and stay different: only ASCII letters fold.
  EXPECT_FALSE(EqualsNoCase(std::string("\xC3\x89"), std::string("\xC3\xA9")));
  EXPECT_EQ(FoldCase('Z'), 'z');
  EXPECT_EQ(FoldCase('['), '[');
}

TEST(TextCompare, WideTextFoldsLettersBeyondAscii) {
  const char *previous = std::setlocale(LC_CTYPE, nullptr);
  const std::string saved = previous ? previous : "C";
  // glibc has C.UTF-8 built in.
  ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
  EXPECT_TRUE(EqualsNoCase(std::wstring(L"\u00C9t\u00C9"), std::wstring(L"\u00E9t\u00E9")));
  std::setlocale(LC_CTYPE, saved.c_str());
}

TEST(TextCompare, LessSortsWithoutRegardToCase) {
  std::vector<std::wstring> names = {L"lang_fr.ini", L"LANG_DE.ini", L"lang_en.ini",
                                     L"Lang_jp.ini"};
  std::sort(names.begin(), names.end(), LessNoCase);
  EXPECT_EQ(names, (std::vector<std::wstring>{L"LANG_DE.ini", L"lang_en.ini", L"lang_fr.ini",
                                              L"Lang_jp.ini"}));
  EXPECT_FALSE(LessNoCase(L"ABC", L"abc"));
  EXPECT_FALSE(LessNoCase(L"abc", L"ABC"));
  EXPECT_TRUE(LessNoCase(L"ab", L"ABC"));
}

} // namespace
