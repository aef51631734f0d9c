#include "LinkOpening.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

TEST(LinkOpening, TheErrorBoxSaysALinkFailedAndWhy) {
  for (int code = -1; code <= 40; ++code) {
    const std::wstring message = LinkErrorMessage(code);
    EXPECT_FALSE(message.empty()) << "code " << code;
    EXPECT_EQ(L"Unable to open hyperlink:\n\n" + message, LinkErrorText(code)) << "code " << code;
  }
}

TEST(LinkOpening, EachShellFailureHasAMessageOfItsOwn) {
  // The codes the shell reports, those that opening on this desktop gives among them (0 a
  // command that cannot start, 2 and 3 missing files and folders, 5 a browser that may not run,
  // 27 and 31 no usable handler).
  std::set<std::wstring> seen;
  for (int code : {0, 2, 3, 5, 8, 11, 26, 27, 28, 29, 30, 31, 32}) {
    const std::wstring message = LinkErrorMessage(code);
    EXPECT_EQ(message.find(L"Unknown Error"), std::wstring::npos) << "code " << code;
    EXPECT_TRUE(seen.insert(message).second) << "code " << code << " repeats another's message";
  }
  EXPECT_NE(LinkErrorMessage(2).find(L"file was not found"), std::wstring::npos);
  EXPECT_NE(LinkErrorMessage(31).find(L"no application associated"), std::wstring::npos);
}

TEST(LinkOpening, OtherCodesNameTheirNumber) {
  for (int code : {-1, 1, 4, 9, 25, 33, 1000})
    EXPECT_EQ(L"Unknown Error (" + std::to_wstring(code) + L") occurred.", LinkErrorMessage(code));
}

TEST(LinkOpening, BrowserCommandCutAtItsPlaceholder) {
  const struct {
    const wchar_t *command;
    const wchar_t *cut;
  } cases[] = {
      {L"firefox %u", L"firefox "},
      {L"chromium %U", L"chromium "},
      {L"\"C:/iexplore.exe\" -nohome \"%1\"", L"\"C:/iexplore.exe\" -nohome "},
      {L"browser -a %1 \"%u\"", L"browser -a %1 "}, // a quoted placeholder is looked for first
      {L"browser --new-window", L"browser --new-window"}, // no placeholder: the whole line
      {L"", L""},
  };
  for (const auto &c : cases)
    EXPECT_EQ(c.cut, CutCommandPlaceholder(c.command));
}
