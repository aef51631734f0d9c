#include "LinkOpening.h"

#include <gtest/gtest.h>

TEST(LinkOpening, ErrorTableByCode) {
  const struct {
    int code;
    const wchar_t *message;
  } cases[] = {
      {0, L"The operating system is out\nof memory or resources."},
      {2, L"The specified file was not found."},
      {3, L"The specified path was not found."},
      {5, L"The operating system denied\naccess to the specified file."},
      {8, L"There was not enough memory to complete the operation."},
      {11, L"The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
      {26, L"A sharing violation occurred. "},
      {27, L"The filename association is\nincomplete or invalid."},
      {28, L"The DDE transaction could not\nbe completed because the request timed out."},
      {29, L"The DDE transaction failed."},
      {30, L"The DDE transaction could not\nbe completed because other DDE transactions\nwere "
           L"being processed."},
      {31, L"There is no application associated\nwith the given filename extension."},
      {32, L"The specified dynamic-link library was not found."},
      {4, L"Unknown Error (4) occurred."},
      {33, L"Unknown Error (33) occurred."},
      {-1, L"Unknown Error (-1) occurred."},
  };
  for (const auto &c : cases)
    EXPECT_EQ(c.message, LinkErrorMessage(c.code)) << "code " << c.code;
  EXPECT_EQ(L"Unable to open hyperlink:\n\nA sharing violation occurred. ", LinkErrorText(26));
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
