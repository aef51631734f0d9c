#include "TextCompare.h"

#include <algorithm>
#include <cwctype>

namespace {

template <typename Text> bool Equal(const Text &a, const Text &b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](auto x, auto y) {
           return FoldCase(x) == FoldCase(y);
         });
}

template <typename Text> bool EndsWith(const Text &text, const Text &suffix) {
  return text.size() >= suffix.size() &&
         std::equal(suffix.begin(), suffix.end(), text.end() - suffix.size(),
                    [](auto x, auto y) { return FoldCase(x) == FoldCase(y); });
}

} // namespace

wchar_t FoldCase(wchar_t c) {
  if (c < 0x80)
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + (L'a' - L'A')) : c;
  return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
}

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }

bool EqualsNoCase(const std::wstring &a, const std::wstring &b) { return Equal(a, b); }
bool EqualsNoCase(const std::string &a, const std::string &b) { return Equal(a, b); }

bool EndsWithNoCase(const std::wstring &text, const std::wstring &suffix) {
  return EndsWith(text, suffix);
}
bool EndsWithNoCase(const std::string &text, const std::string &suffix) {
  return EndsWith(text, suffix);
}

bool LessNoCase(const std::wstring &a, const std::wstring &b) {
  return std::lexicographical_compare(
      a.begin(), a.end(), b.begin(), b.end(),
      [](wchar_t x, wchar_t y) { return FoldCase(x) < FoldCase(y); });
}
