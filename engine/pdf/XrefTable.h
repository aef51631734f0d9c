#pragma once
// Where each object of a source file is: the file's cross-reference sections read from the
// end of the file back through /Prev (newer sections win), or, when they cannot be read, a
// table rebuilt by scanning the file for "N G obj" headers, the last definition winning.

#include "PdfValue.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace engine::pdf {

struct XrefEntry {
  enum Type : uint8_t { Missing = 0, Free = 1, InFile = 2, InStream = 3 };
  Type type = Missing;
  uint16_t gen = 0;
  uint32_t index = 0;  // InStream: position inside the object stream
  uint64_t offset = 0; // InFile: byte offset; InStream: the object stream's number
};

// Entries are kept packed in eight bytes each: a table of millions costs half what the entries
// themselves would.
class XrefTable {
public:
  std::optional<XrefEntry> Find(uint32_t nNum) const;
  void Set(uint32_t nNum, const XrefEntry &entry); // replaces
  void SetIfMissing(uint32_t nNum, const XrefEntry &entry);
  // Room for numbers below nEnd, made at once: a section of millions of entries then costs
  // its table once, not the copies of a table grown step by step.
  void Reserve(uint32_t nEnd);
  size_t Count() const { return m_nCount; }
  void Clear();
  template <typename F> void ForEach(F f) const {
    if (m_bSparse) {
      for (const auto &item : m_sparse)
        f(item.first, Unpack(item.second));
    } else {
      for (size_t i = 0; i < m_dense.size(); ++i)
        if (m_dense[i] != 0)
          f(static_cast<uint32_t>(i), Unpack(m_dense[i]));
    }
  }

private:
  // Two bits of type, sixteen of generation, and forty-six of offset (in a stream: 23 bits of
  // index above 23 of the stream's number); 0 is Missing.
  static uint64_t Pack(const XrefEntry &entry);
  static XrefEntry Unpack(uint64_t packed);
  std::vector<uint64_t> m_dense;
  std::unordered_map<uint32_t, uint64_t> m_sparse;
  bool m_bSparse = false;
  size_t m_nCount = 0;
};

// Reads the cross-reference sections that the file's last startxref leads to. Fills the table
// and the merged trailer; false when no section could be read at all.
bool ReadXref(const char *pData, size_t nSize, XrefTable &table, Value &trailer,
              std::vector<std::string> &warnings);

// Rebuilds a table from the object headers in the file and finds a trailer (the last trailer
// dictionary or cross-reference stream dictionary whose /Root is an object of the file).
// Objects inside object streams are not listed; the caller adds them.
void ScanObjects(const char *pData, size_t nSize, XrefTable &table, Value &trailer);

} // namespace engine::pdf
