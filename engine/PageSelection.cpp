// Reading of page range texts. The engine accepts any text and keeps what it can read:
// numbers are read the way the C library's atoi reads them, so "1-2-3" ends its range at 2
// and a letter before a dash reads as page 0 (which later fails the merge run).

#include "MergerTool.h"

#include <climits>
#include <string>

namespace {

// atoi's reading, without its undefined behaviour on overflow (clamped instead).
int32_t ReadNumber(const std::string &text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
    ++i;
  bool bNegative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    bNegative = text[i] == '-';
    ++i;
  }
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > INT_MAX)
      value = static_cast<long long>(INT_MAX) + 1;
  }
  if (bNegative)
    value = -value;
  if (value > INT_MAX)
    return INT_MAX;
  if (value < INT_MIN)
    return INT_MIN;
  return static_cast<int32_t>(value);
}

void AppendEvery(std::vector<int32_t> &vecPages, int32_t nFirst, int32_t nPageCount) {
  for (int64_t n = nFirst; n <= nPageCount && vecPages.size() < kMaxMergePages; n += 2)
    vecPages.push_back(static_cast<int32_t>(n));
}

} // namespace

bool MergerTool::GetSelectPage(const char *pszRange, std::vector<int32_t> &vecPages,
                               int32_t nPageCount) {
  vecPages.clear();
  if (pszRange == nullptr)
    return true;
  const std::string text(pszRange);
  if (text == "Odd") {
    AppendEvery(vecPages, 1, nPageCount);
    return true;
  }
  if (text == "Even") {
    AppendEvery(vecPages, 2, nPageCount);
    return true;
  }

  bool bResult = true;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(',', start);
    if (end == std::string::npos)
      end = text.size();
    const std::string item = text.substr(start, end - start);
    start = end + 1;
    if (item.empty())
      continue;

    const size_t dash = item.find('-');
    if (dash == std::string::npos) {
      const int32_t value = ReadNumber(item);
      if (value >= 1 && value <= nPageCount) {
        if (vecPages.size() >= kMaxMergePages)
          return false;
        vecPages.push_back(value);
      }
      continue;
    }
    if (dash == 0 || dash == item.size() - 1) {
      bResult = false;
      continue;
    }
    const int32_t nLow = ReadNumber(item.substr(0, dash));
    int32_t nHigh = ReadNumber(item.substr(dash + 1));
    if (nHigh > nPageCount)
      nHigh = nPageCount;
    if (nLow > nHigh) {
      bResult = false;
      continue;
    }
    // A selection is bounded before it is expanded: past the most pages a job may place, the
    // rest of the text is not read.
    if (static_cast<int64_t>(nHigh) - nLow + 1 >
        static_cast<int64_t>(kMaxMergePages) - static_cast<int64_t>(vecPages.size()))
      return false;
    // The low end is not checked against 1: its 0 or negative pages fail the merge later.
    for (int64_t n = nLow; n <= nHigh; ++n)
      vecPages.push_back(static_cast<int32_t>(n));
  }
  return bResult;
}
