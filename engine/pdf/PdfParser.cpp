#include "PdfParser.h"

#include "Limits.h"

#include <cmath>
#include <cstring>

namespace engine::pdf {

bool IsPdfWhitespace(unsigned char c) {
  return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

bool IsPdfDelimiter(unsigned char c) {
  return c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '{' ||
         c == '}' || c == '/' || c == '%';
}

namespace {

bool IsRegular(unsigned char c) { return !IsPdfWhitespace(c) && !IsPdfDelimiter(c); }

int HexDigit(unsigned char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

// Words that end an object: an array or dictionary still open there was left open by mistake.
bool IsObjectEnd(std::string_view word) {
  return word == "endobj" || word == "stream" || word == "endstream" || word == "obj" ||
         word == "xref" || word == "trailer" || word == "startxref";
}

} // namespace

std::string ParseError::Describe() const {
  return "expected " + expected + " at byte " + std::to_string(offset);
}

bool Parser::Fail(const char *pszExpected) {
  m_error.expected = pszExpected;
  m_error.offset = m_nPos;
  return false;
}

void Parser::Repaired(const char *pszWhat, size_t nAt) {
  if (m_nRepairs++ == 0) {
    m_firstRepair.expected = pszWhat;
    m_firstRepair.offset = nAt;
  }
}

bool Parser::RepairInside() {
  const size_t at = m_nPos;
  if (m_nPos >= m_nSize) {
    Repaired("the end of an array or dictionary before the end of the data", at);
    return true;
  }
  const unsigned char c = static_cast<unsigned char>(m_pData[m_nPos]);
  if (!IsRegular(c)) {
    // A stray delimiter: ")", a lone ">", "{", "}".
    ++m_nPos;
    Repaired("a value where a stray delimiter stands", at);
    return false;
  }
  size_t end = m_nPos;
  while (end < m_nSize && IsRegular(static_cast<unsigned char>(m_pData[end])))
    ++end;
  const std::string_view word(m_pData + m_nPos, end - m_nPos);
  if (IsObjectEnd(word)) {
    Repaired("the end of an array or dictionary before the object ends", at);
    return true;
  }
  m_nPos = end;
  Repaired("a value where a word that is none stands", at);
  return false;
}

void Parser::SkipSpace() {
  while (m_nPos < m_nSize) {
    const unsigned char c = static_cast<unsigned char>(m_pData[m_nPos]);
    if (IsPdfWhitespace(c)) {
      ++m_nPos;
    } else if (c == '%') {
      while (m_nPos < m_nSize && m_pData[m_nPos] != '\n' && m_pData[m_nPos] != '\r')
        ++m_nPos;
    } else {
      break;
    }
  }
}

bool Parser::PeekWord(std::string_view word) const {
  if (m_nSize - m_nPos < word.size() ||
      std::memcmp(m_pData + m_nPos, word.data(), word.size()) != 0)
    return false;
  const size_t after = m_nPos + word.size();
  return after >= m_nSize || !IsRegular(static_cast<unsigned char>(m_pData[after]));
}

bool Parser::ReadKeyword(std::string_view keyword) {
  SkipSpace();
  if (!PeekWord(keyword))
    return false;
  m_nPos += keyword.size();
  return true;
}

bool Parser::ReadUnsigned(uint64_t &value) {
  SkipSpace();
  size_t i = m_nPos;
  uint64_t v = 0;
  while (i < m_nSize && m_pData[i] >= '0' && m_pData[i] <= '9') {
    if (v > (UINT64_MAX - 9) / 10)
      return false;
    v = v * 10 + static_cast<uint64_t>(m_pData[i] - '0');
    ++i;
  }
  if (i == m_nPos || (i < m_nSize && IsRegular(static_cast<unsigned char>(m_pData[i]))))
    return false;
  m_nPos = i;
  value = v;
  return true;
}

bool Parser::ReadObjectHeader(uint32_t &nNum, uint16_t &nGen) {
  const size_t start = m_nPos;
  uint64_t num = 0, gen = 0;
  if (!ReadUnsigned(num) || !ReadUnsigned(gen) || !ReadKeyword("obj") ||
      num > limits::kMaxObjectNumber || gen > 65535) {
    m_nPos = start;
    return false;
  }
  nNum = static_cast<uint32_t>(num);
  nGen = static_cast<uint16_t>(gen);
  return true;
}

bool Parser::ReadValue(Value &out) { return ReadValueAt(out, 0); }

bool Parser::ReadValueAt(Value &out, int nDepth) {
  SkipSpace();
  if (m_nPos >= m_nSize)
    return Fail("a value before the end of the data");
  const unsigned char c = static_cast<unsigned char>(m_pData[m_nPos]);
  switch (c) {
  case '/': {
    ++m_nPos;
    std::string name;
    if (!ReadName(name))
      return false;
    out = Value(pdf::Name{std::move(name)});
    return true;
  }
  case '(':
    return ReadLiteralString(out);
  case '<':
    if (m_nPos + 1 < m_nSize && m_pData[m_nPos + 1] == '<')
      return ReadDict(out, nDepth);
    return ReadHexString(out);
  case '[':
    return ReadArray(out, nDepth);
  default:
    break;
  }
  if ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.')
    return ReadNumberOrRef(out);
  if (PeekWord("true")) {
    m_nPos += 4;
    out = Value(true);
    return true;
  }
  if (PeekWord("false")) {
    m_nPos += 5;
    out = Value(false);
    return true;
  }
  if (PeekWord("null")) {
    m_nPos += 4;
    out = Value();
    return true;
  }
  return Fail("a value"); // a keyword or junk where a value belongs
}

bool Parser::ReadNumberOrRef(Value &out) {
  // Numbers are read leniently, as readers do: signs repeated, a lone dot, digits after a
  // second dot are tolerated; what cannot be read as a number at all reads as 0.
  size_t i = m_nPos;
  bool bNegative = false, bSigned = false;
  while (i < m_nSize && (m_pData[i] == '+' || m_pData[i] == '-')) {
    bNegative = bNegative != (m_pData[i] == '-');
    bSigned = true;
    ++i;
  }
  const size_t digitsStart = i;
  uint64_t intPart = 0;
  double wholeValue = 0; // the same digits as a real number, for integers past 64 bits
  bool bOverflow = false;
  while (i < m_nSize && m_pData[i] >= '0' && m_pData[i] <= '9') {
    if (intPart > (UINT64_MAX - 9) / 10)
      bOverflow = true;
    else
      intPart = intPart * 10 + static_cast<uint64_t>(m_pData[i] - '0');
    wholeValue = wholeValue * 10 + (m_pData[i] - '0');
    ++i;
  }
  const bool bHasInt = i > digitsStart;
  bool bReal = false;
  double fraction = 0, scale = 1;
  if (i < m_nSize && m_pData[i] == '.') {
    bReal = true;
    ++i;
    while (i < m_nSize && m_pData[i] >= '0' && m_pData[i] <= '9') {
      if (scale > 1e-300) {
        scale /= 10;
        fraction += (m_pData[i] - '0') * scale;
      }
      ++i;
    }
  }
  // Anything else glued to the number (a second dot, letters) belongs to the same token.
  while (i < m_nSize && IsRegular(static_cast<unsigned char>(m_pData[i])))
    ++i;
  m_nPos = i;

  if (!bReal && !bOverflow && intPart <= static_cast<uint64_t>(INT64_MAX)) {
    const int64_t value =
        bNegative ? -static_cast<int64_t>(intPart) : static_cast<int64_t>(intPart);
    // "N G R" is a reference: look ahead without consuming unless all three are there.
    if (!bSigned && bHasInt && intPart <= limits::kMaxObjectNumber) {
      const size_t after = m_nPos;
      uint64_t gen = 0;
      if (ReadUnsigned(gen) && gen <= 65535 && ReadKeyword("R")) {
        out = Value(Ref{static_cast<uint32_t>(intPart), static_cast<uint16_t>(gen)});
        return true;
      }
      m_nPos = after;
    }
    out = Value(value);
    return true;
  }
  // Past 64 bits an integer is a real number, as readers take it; so many digits that not even
  // a real holds them read as 0, like any number that cannot be read.
  double value = (bOverflow ? wholeValue : static_cast<double>(intPart)) + fraction;
  if (!std::isfinite(value))
    value = 0;
  if (bNegative)
    value = -value;
  out = Value(value);
  return true;
}

bool Parser::ReadName(std::string &out) {
  while (m_nPos < m_nSize && IsRegular(static_cast<unsigned char>(m_pData[m_nPos]))) {
    const unsigned char c = static_cast<unsigned char>(m_pData[m_nPos]);
    if (c == '#' && m_nPos + 2 < m_nSize && HexDigit(m_pData[m_nPos + 1]) >= 0 &&
        HexDigit(m_pData[m_nPos + 2]) >= 0) {
      out += static_cast<char>(HexDigit(m_pData[m_nPos + 1]) * 16 + HexDigit(m_pData[m_nPos + 2]));
      m_nPos += 3;
    } else {
      out += static_cast<char>(c);
      ++m_nPos;
    }
  }
  return true;
}

bool Parser::ReadLiteralString(Value &out) {
  ++m_nPos; // (
  std::string bytes;
  int nOpen = 1;
  while (m_nPos < m_nSize) {
    char c = m_pData[m_nPos++];
    if (c == '(') {
      ++nOpen;
    } else if (c == ')') {
      if (--nOpen == 0) {
        out = Value(pdf::String{std::move(bytes), false});
        return true;
      }
    } else if (c == '\r') {
      // An end of line inside a string reads as one line feed, whichever it was.
      if (m_nPos < m_nSize && m_pData[m_nPos] == '\n')
        ++m_nPos;
      c = '\n';
    } else if (c == '\\') {
      if (m_nPos >= m_nSize)
        break;
      const char e = m_pData[m_nPos++];
      switch (e) {
      case 'n':
        c = '\n';
        break;
      case 'r':
        c = '\r';
        break;
      case 't':
        c = '\t';
        break;
      case 'b':
        c = '\b';
        break;
      case 'f':
        c = '\f';
        break;
      case '\r':
        if (m_nPos < m_nSize && m_pData[m_nPos] == '\n')
          ++m_nPos;
        continue; // a backslash at the end of a line joins the lines
      case '\n':
        continue;
      default:
        if (e >= '0' && e <= '7') {
          int value = e - '0';
          for (int k = 0;
               k < 2 && m_nPos < m_nSize && m_pData[m_nPos] >= '0' && m_pData[m_nPos] <= '7'; ++k)
            value = value * 8 + (m_pData[m_nPos++] - '0');
          c = static_cast<char>(value & 0xFF);
        } else {
          c = e; // \( \) \\ and unknown escapes stand for the character itself
        }
      }
    }
    bytes += c;
  }
  return false; // no closing parenthesis
}

bool Parser::ReadHexString(Value &out) {
  ++m_nPos; // <
  std::string bytes;
  int nHigh = -1;
  while (m_nPos < m_nSize) {
    const unsigned char c = static_cast<unsigned char>(m_pData[m_nPos++]);
    if (c == '>') {
      if (nHigh >= 0)
        bytes += static_cast<char>(nHigh * 16);
      out = Value(pdf::String{std::move(bytes), true});
      return true;
    }
    if (IsPdfWhitespace(c))
      continue;
    const int d = HexDigit(c);
    if (d < 0)
      return false;
    if (nHigh < 0) {
      nHigh = d;
    } else {
      bytes += static_cast<char>(nHigh * 16 + d);
      nHigh = -1;
    }
  }
  return false;
}

bool Parser::RecoverInside(size_t nAt) {
  if (m_nPos >= m_nSize) {
    Repaired("the end of an array or dictionary before the end of the data", nAt);
    return true;
  }
  m_nPos = nAt;
  return RepairInside();
}

bool Parser::ReadArray(Value &out, int nDepth) {
  if (nDepth >= limits::kMaxNesting)
    return Fail("arrays and dictionaries nested less deeply");
  ++m_nPos; // [
  pdf::Array items;
  for (;;) {
    SkipSpace();
    if (m_nPos < m_nSize && m_pData[m_nPos] == ']') {
      ++m_nPos;
      break;
    }
    const size_t at = m_nPos;
    Value item;
    if (ReadValueAt(item, nDepth + 1))
      items.push_back(std::move(item));
    else if (RecoverInside(at))
      break;
  }
  out = Value(std::move(items));
  return true;
}

bool Parser::ReadDict(Value &out, int nDepth) {
  if (nDepth >= limits::kMaxNesting)
    return Fail("arrays and dictionaries nested less deeply");
  m_nPos += 2; // <<
  pdf::Dict dict;
  for (;;) {
    SkipSpace();
    if (m_nPos + 1 < m_nSize && m_pData[m_nPos] == '>' && m_pData[m_nPos + 1] == '>') {
      m_nPos += 2;
      break;
    }
    size_t at = m_nPos;
    if (m_nPos >= m_nSize || m_pData[m_nPos] != '/') {
      // Not a key: a value without one is dropped, anything else is mended.
      Value ignored;
      if (ReadValueAt(ignored, nDepth + 1))
        Repaired("a key where a value without one stands", at);
      else if (RecoverInside(at))
        break;
      continue;
    }
    ++m_nPos;
    std::string key;
    ReadName(key);
    SkipSpace();
    // A key with no value before the end reads as absent.
    if (m_nPos + 1 < m_nSize && m_pData[m_nPos] == '>' && m_pData[m_nPos + 1] == '>')
      continue;
    at = m_nPos;
    Value value;
    if (!ReadValueAt(value, nDepth + 1)) {
      // The key's value is a word that is none ("NaN"): the key reads as absent.
      if (RecoverInside(at))
        break;
      continue;
    }
    if (value.IsNull()) // a null value is the same as no entry
      continue;
    // Large dictionaries (old-style name lists) are read without the duplicate check, which
    // would make them quadratic; lookups then find the first of duplicated keys.
    if (dict.size() < 32)
      dict.Set(key, std::move(value));
    else
      dict.Append(std::move(key), std::move(value));
  }
  out = Value(std::move(dict));
  return true;
}

// The data of a stream whose dictionary has just been read: from after "stream" and its end of
// line, for /Length bytes when "endstream" follows there, else up to the next "endstream".
bool FindStreamData(const char *pData, size_t nSize, size_t nAfterKeyword, int64_t nLength,
                    size_t &nStart, size_t &nLen, size_t *pnScanned, size_t *pnNoEndFrom) {
  size_t p = nAfterKeyword;
  if (p < nSize && pData[p] == '\r')
    ++p;
  if (p < nSize && pData[p] == '\n')
    ++p;
  nStart = p;
  if (nLength >= 0 && static_cast<uint64_t>(nLength) <= nSize - p) {
    Parser after(pData, nSize, p + static_cast<size_t>(nLength));
    if (after.ReadKeyword("endstream")) {
      nLen = static_cast<size_t>(nLength);
      return true;
    }
  }
  if (pnNoEndFrom != nullptr && p >= *pnNoEndFrom)
    return false;
  const char *pEnd = static_cast<const char *>(memmem(pData + p, nSize - p, "endstream", 9));
  if (pEnd == nullptr && pnNoEndFrom != nullptr)
    *pnNoEndFrom = p;
  if (pnScanned != nullptr)
    *pnScanned = (pEnd == nullptr ? nSize : static_cast<size_t>(pEnd - pData)) - p;
  if (pEnd == nullptr)
    return false;
  size_t end = static_cast<size_t>(pEnd - pData);
  // The end of line before "endstream" is not data.
  if (end > p && pData[end - 1] == '\n')
    --end;
  if (end > p && pData[end - 1] == '\r')
    --end;
  nLen = end - p;
  return true;
}

} // namespace engine::pdf
