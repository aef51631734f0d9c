#include "PdfText.h"

#include "AnsiText.h"

#include <cstdint>

namespace engine {

std::string PdfTextString(const std::string &strUtf8) {
  bool bPlain = true;
  for (unsigned char c : strUtf8)
    bPlain = bPlain && c >= 0x20 && c < 0x7F;
  if (bPlain)
    return strUtf8;
  // A file name that is not UTF-8 reads as its Windows-1252 characters.
  const std::wstring wide = ReadableText(Utf8ToWide(strUtf8));
  std::string out("\xFE\xFF", 2);
  for (wchar_t wc : wide) {
    uint32_t cp = static_cast<uint32_t>(wc);
    auto unit = [&out](uint32_t u) {
      out += static_cast<char>((u >> 8) & 0xFF);
      out += static_cast<char>(u & 0xFF);
    };
    if (cp >= 0x10000) {
      cp -= 0x10000;
      unit(0xD800 + (cp >> 10));
      unit(0xDC00 + (cp & 0x3FF));
    } else {
      unit(cp);
    }
  }
  return out;
}

} // namespace engine
