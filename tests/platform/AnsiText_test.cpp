#include "AnsiText.h"

#include <gtest/gtest.h>

namespace {

struct AnsiCase {
  std::wstring wide;
  std::string ansi;
};

// Windows-1252 bytes and the characters they stand for.
const AnsiCase kRoundTrip[] = {
    {L"", ""},
    {L"plain ASCII 0-9 ~", "plain ASCII 0-9 ~"},
    {L"M\u00FCller \u00E9t\u00E9 \u00DF", "M\xFCller \xE9t\xE9 \xDF"},
    {L"\u00A0\u00FF", "\xA0\xFF"},
    {L"\u20AC 5", "\x80 5"},
    {L"\u201Cquoted\u201D \u2013 \u2014 \u2026", "\x93quoted\x94 \x96 \x97 \x85"},
    {L"\u0160\u0161\u017D\u017E\u0178\u0152\u0153\u0192\u02C6\u02DC\u2122",
     "\x8A\x9A\x8E\x9E\x9F\x8C\x9C\x83\x88\x98\x99"},
    {L"\u0081\u008D\u008F\u0090\u009D", "\x81\x8D\x8F\x90\x9D"},
};

// Bytes of a name that are not UTF-8 are shown as the Windows-1252 characters they were meant as.
TEST(AnsiTextTest, CarriedBytesReadAsWindows1252) {
  for (const auto &c : kRoundTrip)
    EXPECT_EQ(ReadableText(Utf8ToWide(c.ansi)), c.wide);
}

TEST(AnsiTextTest, Utf8RoundTrip) {
  const std::wstring samples[] = {L"",
                                  L"ascii",
                                  L"\u00E9\u00DF",
                                  L"\u65E5\u672C\u8A9E",
                                  L"\U0001F600 smile",
                                  L"\uFFFD\uFFFF\u0000x"};
  for (const auto &s : samples)
    EXPECT_EQ(Utf8ToWide(WideToUtf8(s)), s);
  EXPECT_EQ(WideToUtf8(L"\u00E9\u20AC\U0001F600"), "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
}

// Names are bytes: what is not UTF-8 is carried as U+DC80..U+DCFF and comes back unchanged.
TEST(AnsiTextTest, BytesThatAreNotUtf8SurviveTheRoundTrip) {
  const struct {
    std::string utf8;
    std::wstring wide;
  } cases[] = {
      {"caf\xE9.pdf", L"caf\xDCE9.pdf"},                 // Latin-1
      {"\xC3", L"\xDCC3"},                               // cut short at the end
      {"\xE2\x82", L"\xDCE2\xDC82"},                     // cut short: each byte carried
      {"\xC0\xAF", L"\xDCC0\xDCAF"},                     // overlong slash
      {"\xED\xB2\x80", L"\xDCED\xDCB2\xDC80"},           // an encoded carrier
      {"\xF4\x90\x80\x80", L"\xDCF4\xDC90\xDC80\xDC80"}, // beyond U+10FFFF
      {"\x80z", L"\xDC80z"},                             // lone continuation byte
      {"\xC3\xA9\xC3", L"\u00E9\xDCC3"},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(Utf8ToWide(c.utf8), c.wide) << c.utf8;
    EXPECT_EQ(WideToUtf8(c.wide), c.utf8) << c.utf8;
  }
  EXPECT_EQ(ReadableText(L"caf\xDCE9 \xDC80"), L"caf\u00E9 \u20AC"); // shown as Windows-1252
}

TEST(AnsiTextTest, UnencodableWideCharactersBecomeReplacementInUtf8) {
  std::wstring lone;
  lone += static_cast<wchar_t>(0xD800);
  EXPECT_EQ(WideToUtf8(lone), "\xEF\xBF\xBD");
  std::wstring huge;
  huge += static_cast<wchar_t>(0x110000);
  EXPECT_EQ(WideToUtf8(huge), "\xEF\xBF\xBD");
}

} // namespace
