#include "LangFormat.h"

#include <cwctype>

namespace {

// Pads text to width, with zeros after any sign when zeroPad is set, on the right when
// leftAlign is set.
std::wstring Pad(std::wstring text, size_t width, bool zeroPad, bool leftAlign) {
  if (text.size() >= width)
    return text;
  const size_t fill = width - text.size();
  if (leftAlign)
    return text + std::wstring(fill, L' ');
  if (zeroPad) {
    const size_t signLength = (!text.empty() && (text[0] == L'-' || text[0] == L'+')) ? 1 : 0;
    return text.insert(signLength, std::wstring(fill, L'0'));
  }
  return std::wstring(fill, L' ') + text;
}

} // namespace

std::wstring FormatLangText(const std::wstring &format, const std::vector<LangArg> &args) {
  std::wstring out;
  size_t next = 0;
  size_t i = 0;
  while (i < format.size()) {
    if (format[i] != L'%') {
      out += format[i++];
      continue;
    }
    if (i + 1 < format.size() && format[i + 1] == L'%') {
      out += L'%';
      i += 2;
      continue;
    }
    // Parse flags, width and length, then check the conversion character.
    size_t j = i + 1;
    bool zeroPad = false, leftAlign = false;
    while (j < format.size() && (format[j] == L'0' || format[j] == L'-')) {
      zeroPad |= format[j] == L'0';
      leftAlign |= format[j] == L'-';
      ++j;
    }
    size_t width = 0;
    while (j < format.size() && std::iswdigit(format[j]) && width < 1000)
      width = width * 10 + (format[j++] - L'0');
    while (j < format.size() && (format[j] == L'l' || format[j] == L'h'))
      ++j;
    const wchar_t conversion = j < format.size() ? format[j] : L'\0';
    const bool known =
        conversion == L's' || conversion == L'd' || conversion == L'u' || conversion == L'i';
    if (!known || next >= args.size()) {
      out += format[i++];
      continue;
    }
    const LangArg &arg = args[next++];
    const std::wstring text = arg.isNumber ? std::to_wstring(arg.number) : arg.text;
    out += Pad(text, width, zeroPad && arg.isNumber && !leftAlign, leftAlign);
    i = j + 1;
  }
  return out;
}
