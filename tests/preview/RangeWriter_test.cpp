#include "RangeWriter.h"

#include "MergeRequest.h"

#include <gtest/gtest.h>

namespace {

struct Case {
  std::vector<int32_t> pages;
  int32_t count;
  const char *text;
};

TEST(RangeWriter, WritesTheShortestText) {
  const Case cases[] = {
      {{1, 3}, 5, "1, 3"},
      {{1, 2, 3, 7, 9, 10, 11, 12}, 12, "1-3, 7, 9-12"},
      {{3, 4}, 9, "3-4"},
      {{10, 11}, 20, "10-11"},
      {{5}, 5, "5"},
      {{1, 3, 5}, 5, "Odd"},
      {{1, 3}, 6, "1, 3"}, // not every odd page of six
      {{2, 4}, 5, "Even"},
      {{2, 4, 6}, 6, "Even"},
      {{1}, 2, "1"}, // one page is never a keyword
      {{2}, 3, "2"},
      {{1, 2, 3, 4}, 4, "1-4"},
      {{4, 1, 3, 1, 2}, 9, "1-4"}, // order and repeats do not matter
      {{0, 2, 3, 8}, 5, "2-3"},    // pages outside the document are left out
      {{}, 5, ""},
  };
  for (const Case &c : cases)
    EXPECT_EQ(c.text, WriteRangeText(c.pages, c.count)) << c.text;
}

TEST(RangeWriter, EverySelectionOfTwelvePagesReadsBackThroughTheEngine) {
  const int32_t n = 12;
  for (unsigned mask = 1; mask < (1u << n); ++mask) {
    std::vector<int32_t> selected;
    for (int32_t page = 1; page <= n; ++page)
      if (mask & (1u << (page - 1)))
        selected.push_back(page);
    const std::string text = WriteRangeText(selected, n);
    PageRangeReading merged;
    EXPECT_TRUE(MergerTool::ReadPageRange(text.c_str(), n, merged)) << text;
    // The engine merges exactly these pages, in order, each once.
    ASSERT_EQ(selected, merged.vecPages) << "mask " << mask << ": " << text;
  }
}

TEST(RangeWriter, ReadsWhatTheEngineWouldMerge) {
  EXPECT_EQ((std::vector<int32_t>{1, 3, 4, 9, 10, 11}), ReadRangeText(L"1, 3, 4, 9-11", 20));
  EXPECT_EQ((std::vector<int32_t>{1, 3, 5}), ReadRangeText(L"Odd", 6));
  // Repeats and order collapse; a range written downwards is its pages all the same.
  EXPECT_EQ((std::vector<int32_t>{1, 3, 4, 5}), ReadRangeText(L"3,1,3, 5-4", 5));
  // Of a text that names a page the file has not, the pages before it.
  EXPECT_EQ((std::vector<int32_t>{2}), ReadRangeText(L"2, 3-8", 5));
  EXPECT_TRUE(ReadRangeText(L"", 5).empty());
}

} // namespace
