// Range texts as users and the page range dialog write them: what each selects, or where and why
// it does not read; and how GetSelectPage, for older callers, leaves out what it cannot use.
#include "MergeRequest.h"

#include <gtest/gtest.h>

namespace {

// What GetSelectPage selects of each text, and whether it read all of it.
TEST(PageSelection, ReadsTheRangeText) {
  const struct {
    const char *text;
    int pageCount;
    std::vector<int32_t> pages;
    bool result;
  } cases[] = {
      {"Odd", 5, {1, 3, 5}, true},
      {"Even", 5, {2, 4}, true},
      {"Odd", 0, {}, true},
      {"odd", 5, {}, false},
      {"1, 3, 4, 9-11, 12-15", 20, {1, 3, 4, 9, 10, 11, 12, 13, 14, 15}, true},
      {"[1, 3, 4, 9-11, 12-15]", 20, {3, 4, 9, 10, 11}, false},
      {"5-3", 10, {5, 4, 3}, true},
      {"-3", 10, {1, 2, 3}, true},
      {"3-", 5, {3, 4, 5}, true},
      {"2-8", 5, {2, 3, 4, 5}, true},
      {"7-9", 5, {}, false},
      {"8", 5, {}, true},
      {"3,1,3", 5, {3, 1, 3}, true},
      {"1-3,2", 5, {1, 2, 3, 2}, true},
      {",,2,,", 5, {2}, true},
      {"", 5, {}, true},
      {nullptr, 5, {}, true},
      {" 9 - 11 ", 20, {9, 10, 11}, true},
      {"a-2", 5, {}, false},
      {"1-2-3", 5, {}, false},
      {"1--3", 5, {}, false},
      {"2, 5-3, 4", 5, {2, 5, 4, 3, 4}, true},
      {"0-2", 5, {1, 2}, true},
      // Numbers too large for 32 bits are clamped, never wrapped into valid pages.
      {"4294967297", 5, {}, true},
      {"1-99999999999", 3, {1, 2, 3}, true},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(std::string("'") + (c.text ? c.text : "(null)") + "' of " +
                 std::to_string(c.pageCount));
    std::vector<int32_t> pages = {99}; // emptied first
    EXPECT_EQ(MergerTool::GetSelectPage(c.text, pages, c.pageCount), c.result);
    EXPECT_EQ(pages, c.pages);
  }
}

// The grammar every layer reads range texts with: each text with what it selects, or the item,
// the character and the problem where it stops (pages before it kept).
TEST(ReadPageRange, PagesOrWhereAndWhy) {
  const struct {
    const char *text;
    int pageCount;
    std::vector<int32_t> pages;
    int problem, item, position;
    const wchar_t *reason;
  } cases[] = {
      {"1, 3, 4, 9-11, 12-15", 20, {1, 3, 4, 9, 10, 11, 12, 13, 14, 15}, RANGE_OK, 0, 0, L""},
      {"5-", 8, {5, 6, 7, 8}, RANGE_OK, 0, 0, L""},
      {"-3", 8, {1, 2, 3}, RANGE_OK, 0, 0, L""},
      {"15-12", 20, {15, 14, 13, 12}, RANGE_OK, 0, 0, L""},
      {" 9 - 11 ,, 3-3,", 20, {9, 10, 11, 3}, RANGE_OK, 0, 0, L""},
      {" Even ", 5, {2, 4}, RANGE_OK, 0, 0, L""},
      {"", 5, {}, RANGE_OK, 0, 0, L""},
      {"2, 9", 5, {2}, RANGE_BEYOND_LAST, 2, 3, L"page 9 is beyond the last page (5)"},
      {"7-", 5, {}, RANGE_BEYOND_LAST, 1, 0, L"page 7"},
      {"1, -99999999999", 5, {1}, RANGE_BEYOND_LAST, 2, 4, L"beyond the last page"},
      {"0", 5, {}, RANGE_PAGE_ZERO, 1, 0, L"pages count from 1"},
      {"2,  -0", 5, {2}, RANGE_PAGE_ZERO, 2, 5, L"pages count from 1"},
      {"1, -", 5, {1}, RANGE_NO_END, 2, 3, L"no page on either side"},
      {"1-2-3", 5, {}, RANGE_TWO_DASHES, 1, 3, L"a second '-'"},
      {"[1, 3]", 5, {}, RANGE_NOT_A_NUMBER, 1, 0, L"'[' is not a digit, '-' or ','"},
      {"1 2", 5, {}, RANGE_NOT_A_NUMBER, 1, 2, L"two numbers"},
      {"odd", 5, {}, RANGE_NOT_A_NUMBER, 1, 0, L"'o'"},
      {"\xc3\xa9t\xc3\xa9, 1", 5, {}, RANGE_NOT_A_NUMBER, 1, 0, L"'\u00e9'"},
      {"2, \xe6\x97\xa5", 5, {2}, RANGE_NOT_A_NUMBER, 2, 3, L"'\u65e5'"}, // characters, not bytes
      {"1-", kMaxMergePages + 1, {}, RANGE_TOO_MANY, 1, 0, L"at most 10000000"},
  };
  for (const auto &c : cases) {
    PageRangeReading reading;
    EXPECT_EQ(MergerTool::ReadPageRange(c.text, c.pageCount, reading), c.problem == RANGE_OK)
        << c.text;
    EXPECT_EQ(reading.vecPages, c.pages) << c.text;
    EXPECT_EQ(reading.nProblem, c.problem) << c.text;
    EXPECT_EQ(reading.nItem, c.item) << c.text;
    EXPECT_EQ(reading.nPosition, c.position) << c.text;
    EXPECT_NE(reading.strReason.find(c.reason), std::wstring::npos) << c.text;
  }
}

} // namespace
