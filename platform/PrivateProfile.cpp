// The file is decoded whole and then scanned line by line with no table built: the program
// reads one or two keys per call, and a scan of a language file costs microseconds.
#include "PrivateProfile.h"

#include "AnsiText.h"
#include "TextCompare.h"

#include <algorithm>
#include <cstdio>
#include <cwctype>

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// [begin, end) of text with blanks removed at both ends.
void Trim(const std::wstring &text, size_t *begin, size_t *end) {
  while (*begin < *end && IsBlank(text[*begin]))
    ++*begin;
  while (*end > *begin && IsBlank(text[*end - 1]))
    --*end;
}

std::wstring Trimmed(const std::wstring &text) {
  size_t begin = 0, end = text.size();
  Trim(text, &begin, &end);
  return text.substr(begin, end - begin);
}

// Case-insensitive comparison of text[begin, end) with name.
bool SameName(const std::wstring &text, size_t begin, size_t end, const std::wstring &name) {
  if (end - begin != name.size())
    return false;
  for (size_t i = 0; i < name.size(); ++i)
    if (FoldCase(text[begin + i]) != FoldCase(name[i]))
      return false;
  return true;
}

std::wstring DecodeUtf16(const std::string &bytes, bool bigEndian) {
  std::wstring out;
  out.reserve(bytes.size() / 2);
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    const unsigned char a = bytes[i], b = bytes[i + 1];
    const char32_t unit = bigEndian ? (a << 8 | b) : (b << 8 | a);
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
      const unsigned char c = bytes[i + 2], d = bytes[i + 3];
      const char32_t low = bigEndian ? (c << 8 | d) : (d << 8 | c);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        out += static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    out += static_cast<wchar_t>(unit >= 0xD800 && unit <= 0xDFFF ? 0xFFFD : unit);
  }
  return out;
}

bool ReadWholeFile(const std::string &path, std::string *bytes) {
  // stdio rather than streams: a folder or an unreadable file must fail quietly, not throw.
  std::FILE *file = std::fopen(path.c_str(), "rb");
  if (!file)
    return false;
  char block[16384];
  size_t got;
  while ((got = std::fread(block, 1, sizeof block, file)) > 0)
    bytes->append(block, got);
  const bool ok = !std::ferror(file);
  std::fclose(file);
  return ok;
}

// Finds the key and stores its raw value in *value; false when the key is not there.
bool FindValue(const std::wstring &text, const std::wstring &section, const std::wstring &key,
               std::wstring *value) {
  bool inSection = false;
  bool sectionSeen = false;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t lineEnd = text.find_first_of(L"\r\n", pos);
    if (lineEnd == std::wstring::npos)
      lineEnd = text.size();
    size_t begin = pos, end = lineEnd;
    pos = lineEnd + 1;
    Trim(text, &begin, &end);
    if (begin == end)
      continue;
    if (text[begin] == L'[') {
      // Only the first section of a name counts, as with Windows.
      if (inSection)
        return false;
      size_t nameBegin = begin + 1;
      size_t nameEnd = end;
      while (nameEnd > nameBegin && text[nameEnd - 1] != L']')
        --nameEnd;
      nameEnd = nameEnd > nameBegin ? nameEnd - 1 : end;
      Trim(text, &nameBegin, &nameEnd);
      inSection = !sectionSeen && SameName(text, nameBegin, nameEnd, section);
      sectionSeen = sectionSeen || inSection;
      continue;
    }
    if (!inSection)
      continue;
    // Searched within the line only, so a long file without '=' stays a linear scan.
    const size_t equals = std::find(text.begin() + begin, text.begin() + end, L'=') - text.begin();
    size_t keyEnd = equals;
    size_t keyBegin = begin;
    Trim(text, &keyBegin, &keyEnd);
    if (!SameName(text, keyBegin, keyEnd, key))
      continue;
    if (equals == end) {
      value->clear();
      return true;
    }
    size_t valueBegin = equals + 1, valueEnd = end;
    Trim(text, &valueBegin, &valueEnd);
    if (valueEnd - valueBegin >= 2) {
      const wchar_t quote = text[valueBegin];
      if ((quote == L'"' || quote == L'\'') && text[valueEnd - 1] == quote)
        ++valueBegin, --valueEnd;
    }
    value->assign(text, valueBegin, valueEnd - valueBegin);
    return true;
  }
  return false;
}

} // namespace

std::wstring DecodeProfileText(const std::string &bytes) {
  if (bytes.size() >= 2) {
    const unsigned char a = bytes[0], b = bytes[1];
    if (a == 0xFF && b == 0xFE)
      return DecodeUtf16(bytes, false);
    if (a == 0xFE && b == 0xFF)
      return DecodeUtf16(bytes, true);
  }
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
    return Utf8ToWide(bytes.substr(3));
  return Utf8ToWide(bytes);
}

std::wstring GetPrivateProfileString(const std::wstring &section, const std::wstring &key,
                                     const std::wstring &defaultValue, size_t size,
                                     const std::string &path) {
  if (size == 0)
    return std::wstring();
  std::wstring value;
  std::string bytes;
  if (!ReadWholeFile(path, &bytes) ||
      !FindValue(DecodeProfileText(bytes), Trimmed(section), Trimmed(key), &value))
    value = defaultValue;
  if (value.size() > size - 1)
    value.resize(size - 1);
  return value;
}

int GetPrivateProfileInt(const std::wstring &section, const std::wstring &key, int defaultValue,
                         const std::string &path) {
  const std::wstring text = GetPrivateProfileString(section, key, L"", 30, path);
  if (text.empty())
    return defaultValue;
  size_t i = 0;
  while (i < text.size() && text[i] <= L' ')
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
    negative = text[i++] == L'-';
  unsigned base = 10;
  if (i + 1 < text.size() && text[i] == L'0' && (text[i + 1] == L'x' || text[i + 1] == L'X'))
    base = 16, i += 2;
  unsigned long long result = 0;
  for (; i < text.size(); ++i) {
    unsigned digit;
    const wchar_t c = text[i];
    if (c >= L'0' && c <= L'9')
      digit = c - L'0';
    else if (base == 16 && c >= L'a' && c <= L'f')
      digit = c - L'a' + 10;
    else if (base == 16 && c >= L'A' && c <= L'F')
      digit = c - L'A' + 10;
    else
      break;
    // Wraps at 32 bits like the Windows conversion instead of overflowing.
    result = (result * base + digit) & 0xFFFFFFFFull;
  }
  const unsigned value = static_cast<unsigned>(result);
  return static_cast<int>(negative ? 0u - value : value);
}
