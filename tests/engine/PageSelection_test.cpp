// Range texts as users and the page range dialog write them, and the odd readings the engine
// keeps for compatibility.
#include "MergerTool.h"

#include <gtest/gtest.h>

namespace {

struct RangeCase {
  const char *text;
  int pageCount;
  std::vector<int32_t> pages;
  bool result;
};

void PrintTo(const RangeCase &c, std::ostream *out) { *out << "'" << c.text << "' of " << c.pageCount; }

class PageSelection : public ::testing::TestWithParam<RangeCase> {};

TEST_P(PageSelection, ReadsTheRangeText) {
  const RangeCase &c = GetParam();
  std::vector<int32_t> pages = {99}; // emptied first
  EXPECT_EQ(MergerTool::GetSelectPage(c.text, pages, c.pageCount), c.result) << c.text;
  EXPECT_EQ(pages, c.pages) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PageSelection,
    ::testing::Values(
        RangeCase{"Odd", 5, {1, 3, 5}, true}, RangeCase{"Even", 5, {2, 4}, true},
        RangeCase{"Odd", 0, {}, true}, RangeCase{"odd", 5, {}, true},
        RangeCase{"1, 3, 4, 9-11, 12-15", 20, {1, 3, 4, 9, 10, 11, 12, 13, 14, 15}, true},
        RangeCase{"[1, 3, 4, 9-11, 12-15]", 20, {3, 4, 9, 10, 11, 12, 13, 14, 15}, true},
        RangeCase{"5-3", 10, {}, false}, RangeCase{"-3", 10, {}, false},
        RangeCase{"3-", 10, {}, false}, RangeCase{"2-8", 5, {2, 3, 4, 5}, true},
        RangeCase{"7-9", 5, {}, false}, RangeCase{"8", 5, {}, true},
        RangeCase{"3,1,3", 5, {3, 1, 3}, true}, RangeCase{"1-3,2", 5, {1, 2, 3, 2}, true},
        RangeCase{",,2,,", 5, {2}, true}, RangeCase{"", 5, {}, true},
        RangeCase{" 9 - 11 ", 20, {9, 10, 11}, true}, RangeCase{"a-2", 5, {0, 1, 2}, true},
        RangeCase{"1-2-3", 5, {1, 2}, true}, RangeCase{"1--3", 5, {}, false},
        RangeCase{"2, 5-3, 4", 5, {2, 4}, false},
        // Numbers too large for 32 bits are clamped, never wrapped into valid pages.
        RangeCase{"4294967297", 5, {}, true}, RangeCase{"1-99999999999", 3, {1, 2, 3}, true}));

TEST(PageSelectionNull, NullTextSelectsNothing) {
  std::vector<int32_t> pages = {1};
  EXPECT_TRUE(MergerTool::GetSelectPage(nullptr, pages, 5));
  EXPECT_TRUE(pages.empty());
}

} // namespace
