#pragma once
// Reads PDF syntax from bytes in memory: values, object headers and keywords. Everything it
// reads is checked against the bytes it has: nesting is bounded, strings and names end at the
// end of the data, and a malformed value is an error for the caller to handle, never a crash.

#include "PdfValue.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace engine::pdf {

bool IsPdfWhitespace(unsigned char c);
bool IsPdfDelimiter(unsigned char c);

// Where a stream's data lies, given the position just after its "stream" keyword: nLength
// bytes from after the end of line when "endstream" follows there, else everything up to the
// next "endstream" (the /Length of damaged files is often wrong). False when there is none.
bool FindStreamData(const char *pData, size_t nSize, size_t nAfterKeyword, int64_t nLength,
                    size_t &nStart, size_t &nLen);

class Parser {
public:
  Parser(const char *pData, size_t nSize, size_t nPos = 0)
      : m_pData(pData), m_nSize(nSize), m_nPos(nPos) {}

  size_t Pos() const { return m_nPos; }
  void Seek(size_t nPos) { m_nPos = nPos < m_nSize ? nPos : m_nSize; }
  bool AtEnd() const { return m_nPos >= m_nSize; }

  // Skips white space and comments.
  void SkipSpace();
  // One value; false when the bytes are not a well-formed value (nothing is consumed then
  // beyond the point of failure).
  bool ReadValue(Value &out);
  // "N G obj"; false when the bytes there are not an object header.
  bool ReadObjectHeader(uint32_t &nNum, uint16_t &nGen);
  // The keyword at the position (after white space), consumed when it matches and is not
  // the start of a longer word.
  bool ReadKeyword(std::string_view keyword);
  // A non-negative integer (after white space).
  bool ReadUnsigned(uint64_t &value);

private:
  bool ReadValueAt(Value &out, int nDepth);
  bool ReadNumberOrRef(Value &out);
  bool ReadLiteralString(Value &out);
  bool ReadHexString(Value &out);
  bool ReadName(std::string &out);
  bool ReadArray(Value &out, int nDepth);
  bool ReadDict(Value &out, int nDepth);
  bool PeekWord(std::string_view word) const;

  const char *m_pData;
  size_t m_nSize;
  size_t m_nPos;
};

} // namespace engine::pdf
