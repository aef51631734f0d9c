#include "AnsiText.h"

#include <algorithm>
#include <cstdint>

namespace {

// Code points of the Windows-1252 bytes 0x80 to 0x9F. The five bytes that the code page leaves
// unassigned map to the C1 control of the same value, as MultiByteToWideChar does.
const char32_t kHighTable[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

const wchar_t kReplacement = 0xFFFD;

// A byte that was not UTF-8, carried in wide text.
constexpr char32_t kCarriedFirst = 0xDC80, kCarriedLast = 0xDCFF;

void AppendUtf8(std::string &out, char32_t c) {
  if (c >= kCarriedFirst && c <= kCarriedLast) {
    out += static_cast<char>(c - 0xDC00);
    return;
  }
  if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
    c = kReplacement;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Length of the valid UTF-8 sequence at text[i] and its code point in *c; 0 when the bytes there
// do not form one (overlong forms, surrogates and values beyond U+10FFFF included).
size_t DecodeUtf8(std::string_view text, size_t i, char32_t *c) {
  const auto byte = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
  const uint8_t b0 = byte(i);
  size_t length;
  char32_t value;
  char32_t minimum;
  if (b0 < 0x80) {
    *c = b0;
    return 1;
  } else if ((b0 & 0xE0) == 0xC0) {
    length = 2, value = b0 & 0x1F, minimum = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    length = 3, value = b0 & 0x0F, minimum = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    length = 4, value = b0 & 0x07, minimum = 0x10000;
  } else {
    return 0;
  }
  if (i + length > text.size())
    return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80)
      return 0;
    value = (value << 6) | (byte(i + k) & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
    return 0;
  *c = value;
  return length;
}

} // namespace

void AppendCodePoint(std::string &out, char32_t c) { AppendUtf8(out, c); }

bool Utf8CodePoints(std::string_view text, std::u32string &out) {
  out.clear();
  for (size_t i = 0; i < text.size();) {
    char32_t c = 0;
    const size_t length = DecodeUtf8(text, i, &c);
    if (length == 0)
      return false;
    out += c;
    i += length;
  }
  return true;
}

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (unsigned char b : text)
    AppendUtf8(out, b >= 0x80 && b < 0xA0 ? kHighTable[b - 0x80] : b);
  return out;
}

bool Utf8ToCp1252(std::string_view utf8, std::string &out) {
  std::u32string text;
  if (!Utf8CodePoints(utf8, text))
    return false;
  out.clear();
  for (char32_t c : text) {
    const char32_t *p = std::find(kHighTable, kHighTable + 32, c);
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
      out += static_cast<char>(c);
    else if (p != kHighTable + 32)
      out += static_cast<char>(0x80 + (p - kHighTable));
    else
      return false;
  }
  return true;
}

std::string WideToUtf8(const std::wstring &text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t c : text)
    AppendUtf8(out, static_cast<char32_t>(c));
  return out;
}

std::wstring Utf8ToWide(const std::string &text) {
  std::wstring out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    char32_t c = 0;
    const size_t length = DecodeUtf8(text, i, &c);
    if (length == 0) {
      out += static_cast<wchar_t>(0xDC00 + static_cast<uint8_t>(text[i]));
      ++i;
    } else {
      out += static_cast<wchar_t>(c);
      i += length;
    }
  }
  return out;
}

std::wstring ReadableText(const std::wstring &text) {
  std::wstring out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    const auto u = static_cast<char32_t>(c);
    if (u >= kCarriedFirst && u <= kCarriedLast) {
      const uint8_t b = static_cast<uint8_t>(u - 0xDC00);
      out += static_cast<wchar_t>(b < 0xA0 ? kHighTable[b - 0x80] : b);
    } else {
      out += c;
    }
  }
  return out;
}
