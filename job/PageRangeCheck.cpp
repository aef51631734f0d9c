#include "PageRangeCheck.h"

#include "AnsiText.h"
#include "MergeRequest.h"

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

// The dialog's own rules for one comma-separated part, on top of the engine's reading: spaces and
// tabs only at its two ends, none inside, and something between them.
bool PartIsWritten(const std::wstring &part) {
  const size_t first = part.find_first_not_of(L" \t");
  if (first == std::wstring::npos)
    return false;
  const size_t last = part.find_last_not_of(L" \t");
  for (size_t i = first; i <= last; ++i)
    if (IsBlank(part[i]))
      return false;
  return true;
}

} // namespace

bool CheckPageRangeText(const std::wstring &text, int32_t nTotalPages) {
  for (size_t start = 0;;) {
    const size_t comma = text.find(L',', start);
    if (!PartIsWritten(text.substr(start, comma == std::wstring::npos ? comma : comma - start)))
      return false;
    if (comma == std::wstring::npos)
      break;
    start = comma + 1;
  }
  // The engine's keywords are not typed here; everything else is read as the merge reads it.
  if (IsPageRangeKeyword(text))
    return false;
  PageRangeReading reading;
  return MergerTool::ReadPageRange(WideToUtf8(text).c_str(), nTotalPages, reading);
}

bool IsPageRangeKeyword(const std::wstring &text) {
  const size_t first = text.find_first_not_of(L" \t");
  const size_t last = text.find_last_not_of(L" \t");
  const std::wstring word =
      first == std::wstring::npos ? L"" : text.substr(first, last - first + 1);
  return word == L"Odd" || word == L"Even";
}
