#pragma once
// Reads PDF syntax from bytes in memory: values, object headers and keywords. Everything it
// reads is checked against the bytes it has: nesting is bounded, strings and names end at the
// end of the data, and a malformed value is an error for the caller to handle, never a crash.

#include "PdfValue.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace engine::pdf {

bool IsPdfWhitespace(unsigned char c);
bool IsPdfDelimiter(unsigned char c);

// Where a stream's data lies, given the position just after its "stream" keyword: nLength
// bytes from after the end of line when "endstream" follows there, else everything up to the
// next "endstream" (the /Length of damaged files is often wrong). False when there is none.
// pnScanned, when given, receives how many bytes were searched for the end (work to account);
// pnNoEndFrom, when given, remembers from where on the data has no "endstream" at all, so that
// many streams without an end cost one search, not one each.
bool FindStreamData(const char *pData, size_t nSize, size_t nAfterKeyword, int64_t nLength,
                    size_t &nStart, size_t &nLen, size_t *pnScanned = nullptr,
                    size_t *pnNoEndFrom = nullptr);

// Why the bytes could not be read: what was expected there and where (a byte offset into the
// data the parser was given).
struct ParseError {
  std::string expected;
  size_t offset = 0;
  std::string Describe() const; // "expected a value at byte 120"
};

class Parser {
public:
  Parser(const char *pData, size_t nSize, size_t nPos = 0)
      : m_pData(pData), m_nSize(nSize), m_nPos(nPos) {}

  size_t Pos() const { return m_nPos; }

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

  // The last failure's reason.
  const ParseError &Error() const { return m_error; }
  // Repairs made inside arrays and dictionaries, as readers make them: a token that is no
  // value ("NaN") skipped, a dictionary or array left open closed where the object ends.
  int Repairs() const { return m_nRepairs; }
  // The first repair's reason.
  const ParseError &FirstRepair() const { return m_firstRepair; }

private:
  bool Fail(const char *pszExpected);
  void Repaired(const char *pszWhat, size_t nAt);
  // Inside an array or a dictionary, at something that is not a value: true when the object
  // ends there (the container is closed), false when a token was skipped.
  bool RepairInside();
  // After a value inside a container failed to read from nAt: the same, and true as well
  // when the data ended.
  bool RecoverInside(size_t nAt);
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
  ParseError m_error, m_firstRepair;
  int m_nRepairs = 0;
};

} // namespace engine::pdf
