#include "FileListTexts.h"

#include <gtest/gtest.h>

TEST(FileListTexts, SizeText) {
  struct Case {
    uint64_t size;
    const wchar_t *text;
  };
  const Case cases[] = {
      {0, L"0KB"},
      {1000, L"1KB"},
      {1023, L"1KB"},
      {1024, L"1KB"},
      {10 * 1024 + 100, L"10KB"},
      {1048575, L"1024KB"},
      {1048576, L"1.00MB"},
      {1572864, L"1.50MB"},
      {10 * 1048576 + 5000, L"10.00MB"},
      {10 * 1048576 + 5243, L"10.01MB"},
      {4294967295ull, L"4096.00MB"},
      {5ull * 1024 * 1048576, L"5120.00MB"}, // beyond 32 bits
  };
  for (const Case &c : cases)
    EXPECT_EQ(FormatSizeText(c.size), c.text) << c.size;
}

TEST(FileListTexts, ColumnWidthsByWeight) {
  int total = 0;
  for (int w : kColumnWeights)
    total += w;
  EXPECT_EQ(total, 64);
  // W = 660 - 16 - 2 = 642.
  EXPECT_EQ(ColumnWidth(0, 660, 16), 4 * 642 / 64);
  EXPECT_EQ(ColumnWidth(1, 660, 16), 24 * 642 / 64);
  EXPECT_EQ(ColumnWidth(4, 660, 16), 22 * 642 / 64);
  EXPECT_EQ(ColumnWidth(5, 660, 16), 0);
  EXPECT_EQ(ColumnWidth(-1, 660, 16), 0);
}

TEST(FileListTexts, PageRangeTextByKindAndRange) {
  _stru_ItemData_ item;
  item.nTotalPage = 1;
  EXPECT_EQ(PageRangeText(item, false), L"All");
  EXPECT_EQ(PageRangeText(item, true), L"All(Double click to change the page range)");
  item.nTotalPage = 0;
  EXPECT_EQ(PageRangeText(item, true), L"PDF load fiailed");
  item.nTotalPage = -1;
  EXPECT_EQ(PageRangeText(item, true), L"PDF load fiailed");
  item.nTotalPage = 9;
  item.pszPageRange = std::make_shared<std::wstring>(L"1, 3-4");
  EXPECT_EQ(PageRangeText(item, true), L"1, 3-4");
  item.pszPageRange->clear(); // emptied buffer: all pages again
  EXPECT_EQ(PageRangeText(item, true), L"All(Double click to change the page range)");
}
