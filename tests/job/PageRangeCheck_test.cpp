// The page range dialog's own check of typed page lists.
#include "PageRangeCheck.h"

#include <gtest/gtest.h>

namespace {

TEST(PageRangeCheck, TableForTwentyPages) {
  const struct {
    const wchar_t *text;
    bool passes;
  } cases[] = {
      {L"1, 3, 4, 9-11, 12-15", true},
      {L"0", false},
      {L"21", false},
      {L"20", true},
      {L"1", true},
      {L"3-3", true},
      {L"15-12", true}, // the engine ignores it later, the dialog lets it pass
      {L"[1, 3, 4, 9-11, 12-15]", false},
      {L"9 - 11", false},  // inner spaces stay
      {L"  9-11  ", true}, // outer spaces go
      {L"\t5", true},
      {L"5\t, 6", true},
      {L"1,2,", false}, // empty last part
      {L",1", false},
      {L"1,,2", false},
      {L"", false},
      {L"   ", false},
      {L"-5", true},
      {L"5-", true},
      {L"-", false},
      {L" - ", false},
      {L"1-2-3", false},
      {L"0-5", false},
      {L"5-21", false},
      {L"Odd", false},
      {L"Even", false},
      {L"+3", false},
      {L"3a", false},
      {L"007", true}, // digits with a value in range
      {L"000", false},
      {L"99999999999999999999", false}, // too large, not wrapped around
      {L"\u0663", false},               // digits of other scripts are not 0 to 9
  };
  for (const auto &c : cases)
    EXPECT_EQ(CheckPageRangeText(c.text, 20), c.passes) << std::wstring(c.text).c_str();
}

TEST(PageRangeCheck, BoundIsThePageCount) {
  EXPECT_TRUE(CheckPageRangeText(L"1", 1));
  EXPECT_FALSE(CheckPageRangeText(L"2", 1));
  // A row whose page count is unknown (0) accepts no number.
  EXPECT_FALSE(CheckPageRangeText(L"1", 0));
  EXPECT_FALSE(CheckPageRangeText(L"1-", 0));
}

} // namespace
