#include "LangFormat.h"

#include <gtest/gtest.h>

TEST(LangFormat, FillsTheStringTableFormats) {
  EXPECT_EQ(L"Download remote file http://h/v.ini failed, error code: HTTP 404!",
            FormatLangText(L"Download remote file %s failed, error code: HTTP %d!",
                           {L"http://h/v.ini", 404}));
  EXPECT_EQ(
      L"A new version is available.\nVersion:2.05\nBuild:1234\n",
      FormatLangText(L"A new version is available.\nVersion:%d.%02d\nBuild:%d\n", {2, 5, 1234}));
  EXPECT_EQ(L"\n\nChecking new version of ZOZ Avar Izaded online, please waiting...",
            FormatLangText(L"\n\nChecking new version of %s online, please waiting...",
                           {L"ZOZ Avar Izaded"}));
  // A format without a placeholder ignores its argument.
  EXPECT_EQ(L"Check new version online...",
            FormatLangText(L"Check new version online...", {L"ZOZ Avar Izaded"}));
}

TEST(LangFormat, HostileTranslationsNeverReachPrintf) {
  const struct {
    const wchar_t *format;
    const wchar_t *expected;
  } cases[] = {
      {L"%s %s %s", L"a 7 %s"},             // more conversions than arguments stay as written
      {L"%n%p%x", L"%n%p%x"},               // conversions we do not know stay as written
      {L"%d and %s", L"a and 7"},           // a text where a number is asked is shown as text
      {L"100%% %ls", L"100% a"},            // %% and a length modifier
      {L"%5d|%-3s|", L"    a|7  |"},        // widths
      {L"%", L"%"},                         // a lone percent at the end
      {L"%99999999999d", L"%99999999999d"}, // absurd widths are not honoured
  };
  for (const auto &c : cases)
    EXPECT_EQ(c.expected, FormatLangText(c.format, {L"a", 7}));
}

TEST(LangFormat, ZeroPaddingKeepsTheSignFirst) {
  EXPECT_EQ(L"-05", FormatLangText(L"%03d", {-5}));
  EXPECT_EQ(L"123", FormatLangText(L"%02d", {123}));
}
