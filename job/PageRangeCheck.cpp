#include "PageRangeCheck.h"

namespace {

std::wstring TrimBlanks(const std::wstring &text) {
  const size_t first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos)
    return std::wstring();
  const size_t last = text.find_last_not_of(L" \t");
  return text.substr(first, last - first + 1);
}

// Digits only, with a value from 1 to nTotalPages. Long digit strings are compared as they
// are read, so no value overflows.
bool IsPageNumber(const std::wstring &text, int32_t nTotalPages) {
  if (text.empty())
    return false;
  int64_t value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9')
      return false;
    value = value * 10 + (c - L'0');
    if (value > nTotalPages)
      return false;
  }
  return value >= 1;
}

bool CheckPart(const std::wstring &rawPart, int32_t nTotalPages) {
  const std::wstring part = TrimBlanks(rawPart);
  const size_t dash = part.find(L'-');
  if (dash == std::wstring::npos)
    return IsPageNumber(part, nTotalPages);
  if (part.find(L'-', dash + 1) != std::wstring::npos)
    return false;
  const std::wstring left = part.substr(0, dash);
  const std::wstring right = part.substr(dash + 1);
  if (left.empty() && right.empty())
    return false;
  return (left.empty() || IsPageNumber(left, nTotalPages)) &&
         (right.empty() || IsPageNumber(right, nTotalPages));
}

} // namespace

bool CheckPageRangeText(const std::wstring &text, int32_t nTotalPages) {
  size_t start = 0;
  while (true) {
    const size_t comma = text.find(L',', start);
    const size_t end = comma == std::wstring::npos ? text.size() : comma;
    if (!CheckPart(text.substr(start, end - start), nTotalPages))
      return false;
    if (comma == std::wstring::npos)
      return true;
    start = comma + 1;
  }
}
