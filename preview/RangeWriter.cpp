#include "RangeWriter.h"

#include "AnsiText.h"
#include "MergeRequest.h"

#include <algorithm>

namespace {

std::vector<int32_t> Normalised(std::vector<int32_t> pages, int32_t nPageCount) {
  pages.erase(std::remove_if(pages.begin(), pages.end(),
                             [nPageCount](int32_t p) { return p < 1 || p > nPageCount; }),
              pages.end());
  std::sort(pages.begin(), pages.end());
  pages.erase(std::unique(pages.begin(), pages.end()), pages.end());
  return pages;
}

// True when pages are exactly the pages of 1 .. nPageCount with the parity of the first one.
bool IsEveryOther(const std::vector<int32_t> &pages, int32_t first, int32_t nPageCount) {
  const size_t expected = static_cast<size_t>((nPageCount - first) / 2 + 1);
  if (nPageCount < first || pages.size() != expected)
    return false;
  for (size_t i = 0; i < pages.size(); ++i)
    if (pages[i] != first + 2 * static_cast<int32_t>(i))
      return false;
  return true;
}

} // namespace

std::string WriteRangeText(const std::vector<int32_t> &selection, int32_t nPageCount) {
  const std::vector<int32_t> pages = Normalised(selection, nPageCount);
  if (pages.size() >= 2 && IsEveryOther(pages, 1, nPageCount))
    return "Odd";
  if (pages.size() >= 2 && IsEveryOther(pages, 2, nPageCount))
    return "Even";
  std::string text;
  for (size_t i = 0; i < pages.size();) {
    size_t end = i;
    while (end + 1 < pages.size() && pages[end + 1] == pages[end] + 1)
      ++end;
    if (!text.empty())
      text += ", ";
    text += std::to_string(pages[i]);
    // Two pages in a row are shorter as "3-4" than as "3, 4".
    if (end > i)
      text += "-" + std::to_string(pages[end]);
    i = end + 1;
  }
  return text;
}

std::vector<int32_t> ReadRangeText(const std::wstring &text, int32_t nPageCount) {
  PageRangeReading reading;
  MergerTool::ReadPageRange(WideToUtf8(text).c_str(), nPageCount, reading);
  return Normalised(std::move(reading.vecPages), nPageCount);
}
