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

bool Cp1252ToPdfDoc(const std::string &in, std::string &out) {
  // Windows-1252 0x80..0x9F, by their PDFDocEncoding bytes; 0 where 1252 has no character.
  static const unsigned char kHigh[32] = {
      0xA0, 0,    0x91, 0x86, 0x8C, 0x83, 0x81, 0x82, 0x1A, 0x8B, 0x97, 0x88, 0x96, 0, 0x99, 0,
      0,    0x8F, 0x90, 0x8D, 0x8E, 0x80, 0x85, 0x84, 0x1F, 0x92, 0x9D, 0x89, 0x9C, 0, 0x9E, 0x98};
  out.clear();
  for (unsigned char c : in) {
    if (c >= 0x80 && c <= 0x9F) {
      if (kHigh[c - 0x80] == 0)
        return false;
      out += static_cast<char>(kHigh[c - 0x80]);
    } else if (c == 0xAD || c == 0x7F) {
      return false;
    } else {
      out += static_cast<char>(c);
    }
  }
  return true;
}

} // namespace engine
