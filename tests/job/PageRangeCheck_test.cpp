// The page range dialog's own check of typed page lists, and what the job then merges of each
// text it accepts.
#include "JobTestSupport.h"
#include "MergeRequest.h"
#include "MergeWorker.h"
#include "PageRangeCheck.h"

#include "AnsiText.h"

#include <gtest/gtest.h>

namespace {

// Each text against a file of pageCount pages (20 unless given).
TEST(PageRangeCheck, TableOfTexts) {
  const struct {
    const wchar_t *text;
    bool passes;
    std::vector<int32_t> pages = {}; // what the merge takes of a text that passes
    int pageCount = 20;
  } cases[] = {
      {L"1, 3, 4, 9-11, 12-15", true, {1, 3, 4, 9, 10, 11, 12, 13, 14, 15}},
      {L"0", false},
      {L"21", false},
      {L"20", true, {20}},
      {L"1", true, {1}},
      {L"3-3", true, {3}},
      {L"15-12", true, {15, 14, 13, 12}},
      {L"[1, 3, 4, 9-11, 12-15]", false},
      {L"9 - 11", false},               // inner spaces stay
      {L"  9-11  ", true, {9, 10, 11}}, // outer spaces go
      {L"\t5", true, {5}},
      {L"5\t, 6", true, {5, 6}},
      {L"1,2,", false}, // empty last part
      {L",1", false},
      {L"1,,2", false},
      {L"", false},
      {L"   ", false},
      {L"-5", true, {1, 2, 3, 4, 5}},
      {L"18-", true, {18, 19, 20}},
      {L"2,2", true, {2, 2}},
      {L"-", false},
      {L" - ", false},
      {L"1-2-3", false},
      {L"0-5", false},
      {L"5-21", false},
      {L"Odd", false},
      {L"Even", false},
      {L"+3", false},
      {L"3a", false},
      {L"007", true, {7}}, // digits with a value in range
      {L"000", false},
      {L"99999999999999999999", false}, // too large, not wrapped around
      {L"\u0663", false},               // digits of other scripts are not 0 to 9
      {L"1", true, {1}, 1},
      {L"2", false, {}, 1},
      // A row whose page count is unknown (0) accepts no number.
      {L"1", false, {}, 0},
      {L"1-", false, {}, 0},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE("'" + WideToUtf8(c.text) + "' of " + std::to_string(c.pageCount));
    EXPECT_EQ(CheckPageRangeText(c.text, c.pageCount), c.passes);
    MergeRequest request;
    std::wstring why;
    if (c.passes && AppendRowSource(request, MakeRow("doc.pdf", c.pageCount, c.text), &why)) {
      EXPECT_EQ(request.vecSources[0].vecPages, c.pages);
    }
    EXPECT_EQ(why, L"");
  }
}

} // namespace
