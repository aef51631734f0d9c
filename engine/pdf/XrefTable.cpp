// Cross-reference reading. Classic tables are read by tokens rather than by their fixed
// 20-byte layout, so tables with wrong line ends or padding still read; every number that
// comes from the file is checked before it sizes anything.

#include "XrefTable.h"

#include "Limits.h"
#include "PdfParser.h"
#include "StreamFilters.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace engine::pdf {

uint64_t XrefTable::Pack(const XrefEntry &entry) {
  constexpr uint64_t kField = (uint64_t{1} << 23) - 1, kOffset = (uint64_t{1} << 46) - 1;
  const uint64_t payload =
      entry.type == XrefEntry::InStream
          ? (std::min<uint64_t>(entry.index, kField) << 23) | std::min(entry.offset, kField)
          : std::min(entry.offset, kOffset);
  return (uint64_t{entry.type} << 62) | (uint64_t{entry.gen} << 46) | payload;
}

XrefEntry XrefTable::Unpack(uint64_t packed) {
  constexpr uint64_t kField = (uint64_t{1} << 23) - 1, kOffset = (uint64_t{1} << 46) - 1;
  XrefEntry entry;
  entry.type = static_cast<XrefEntry::Type>(packed >> 62);
  entry.gen = static_cast<uint16_t>(packed >> 46);
  if (entry.type == XrefEntry::InStream) {
    entry.index = static_cast<uint32_t>((packed >> 23) & kField);
    entry.offset = packed & kField;
  } else {
    entry.offset = packed & kOffset;
  }
  return entry;
}

std::optional<XrefEntry> XrefTable::Find(uint32_t nNum) const {
  uint64_t packed = 0;
  if (m_bSparse) {
    auto found = m_sparse.find(nNum);
    packed = found == m_sparse.end() ? 0 : found->second;
  } else if (nNum < m_dense.size()) {
    packed = m_dense[nNum];
  }
  if (packed == 0)
    return std::nullopt;
  return Unpack(packed);
}

void XrefTable::Set(uint32_t nNum, const XrefEntry &entry) {
  if (nNum > limits::kMaxObjectNumber || entry.type == XrefEntry::Missing)
    return;
  if (!m_bSparse && nNum >= m_dense.size()) {
    // Numbers far beyond the count of objects would make a dense table huge.
    if (nNum > 4 * m_nCount + 65536) {
      for (size_t i = 0; i < m_dense.size(); ++i)
        if (m_dense[i] != 0)
          m_sparse.emplace(static_cast<uint32_t>(i), m_dense[i]);
      m_dense.clear();
      m_dense.shrink_to_fit();
      m_bSparse = true;
    } else {
      m_dense.resize(std::max<size_t>(nNum + 1, m_dense.size() * 3 / 2));
    }
  }
  if (m_bSparse) {
    auto [it, inserted] = m_sparse.insert_or_assign(nNum, Pack(entry));
    (void)it;
    m_nCount += inserted ? 1 : 0;
  } else {
    m_nCount += m_dense[nNum] == 0 ? 1 : 0;
    m_dense[nNum] = Pack(entry);
  }
}

void XrefTable::Reserve(uint32_t nEnd) {
  nEnd = std::min(nEnd, limits::kMaxObjectNumber + 1);
  if (!m_bSparse && nEnd > m_dense.size())
    m_dense.resize(nEnd);
}

void XrefTable::SetIfMissing(uint32_t nNum, const XrefEntry &entry) {
  if (!Find(nNum))
    Set(nNum, entry);
}

void XrefTable::Clear() {
  m_dense.clear();
  m_sparse.clear();
  m_bSparse = false;
  m_nCount = 0;
}

namespace {

// Older trailers fill in only the keys newer ones lack.
void MergeTrailer(Value &merged, const Value &older) {
  if (!older.IsDict())
    return;
  if (!merged.IsDict())
    merged = Value(Dict());
  for (const DictEntry &entry : older.dict())
    if (!merged.dict().Has(entry.key) && entry.key != "Prev" && entry.key != "XRefStm")
      merged.dict().Set(entry.key, entry.value);
}

const char *FindLast(const char *pData, size_t nSize, const char *pszWord, size_t nWindow) {
  const size_t n = std::strlen(pszWord);
  const size_t start = nSize > nWindow ? nSize - nWindow : 0;
  for (size_t i = nSize >= n ? nSize - n + 1 : 0; i-- > start;)
    if (std::memcmp(pData + i, pszWord, n) == 0)
      return pData + i;
  return nullptr;
}

bool ReadClassic(Parser &parser, XrefTable &table, Value &trailer) {
  for (;;) {
    if (parser.ReadKeyword("trailer"))
      return parser.ReadValue(trailer) && trailer.IsDict();
    uint64_t start = 0, count = 0;
    if (!parser.ReadUnsigned(start) || !parser.ReadUnsigned(count))
      return false;
    if (start > limits::kMaxObjectNumber || count > limits::kMaxObjectNumber)
      return false;
    for (uint64_t i = 0; i < count; ++i) {
      uint64_t offset = 0, gen = 0;
      if (!parser.ReadUnsigned(offset) || !parser.ReadUnsigned(gen))
        return false;
      const bool bInUse = parser.ReadKeyword("n");
      if (!bInUse && !parser.ReadKeyword("f"))
        return false;
      const uint64_t num = start + i;
      if (num > limits::kMaxObjectNumber)
        continue;
      XrefEntry entry;
      entry.type = bInUse ? XrefEntry::InFile : XrefEntry::Free;
      entry.gen = static_cast<uint16_t>(std::min<uint64_t>(gen, 65535));
      entry.offset = offset;
      if (bInUse && offset == 0)
        entry.type = XrefEntry::Free; // "in use at offset 0" is a common way of saying deleted
      table.SetIfMissing(static_cast<uint32_t>(num), entry);
    }
  }
}

uint64_t ReadField(const unsigned char *p, int64_t width) {
  uint64_t v = 0;
  for (int64_t i = 0; i < width; ++i)
    v = (v << 8) | p[i];
  return v;
}

bool ReadXrefStream(const char *pData, size_t nSize, size_t nOffset, XrefTable &table,
                    Value &dict) {
  Parser parser(pData, nSize, nOffset);
  uint32_t num = 0;
  uint16_t gen = 0;
  if (!parser.ReadObjectHeader(num, gen) || !parser.ReadValue(dict) || !dict.IsDict() ||
      !parser.ReadKeyword("stream"))
    return false;
  const Value *pW = dict.Get("W");
  if (pW == nullptr || !pW->IsArray() || pW->array().size() != 3)
    return false;
  int64_t w[3];
  for (int i = 0; i < 3; ++i) {
    w[i] = ClampToInt64(NumberOr(&pW->array()[static_cast<size_t>(i)], -1), -1);
    if (w[i] < 0 || w[i] > 8)
      return false;
  }
  const int64_t rowSize = w[0] + w[1] + w[2];
  if (rowSize == 0)
    return false;
  const Value *pLength = dict.Get("Length");
  size_t start = 0, len = 0;
  if (!FindStreamData(pData, nSize, parser.Pos(),
                      pLength && pLength->IsInt() ? pLength->integer() : -1, start, len))
    return false;
  std::string rows;
  // Rows of five to twenty bytes for at most kMaxObjectNumber objects: structure, never more.
  if (DecodeStream(dict, pData + start, len, rows, limits::kMaxDecodedStructure) !=
      DecodeResult::Ok)
    return false;

  std::vector<std::pair<int64_t, int64_t>> ranges;
  const Value *pIndex = dict.Get("Index");
  if (pIndex != nullptr && pIndex->IsArray()) {
    const Array &index = pIndex->array();
    for (size_t i = 0; i + 1 < index.size(); i += 2)
      ranges.emplace_back(ClampToInt64(NumberOr(&index[i], -1), -1),
                          ClampToInt64(NumberOr(&index[i + 1], -1), -1));
  } else {
    ranges.emplace_back(0, ClampToInt64(NumberOr(dict.Get("Size"), 0)));
  }
  const auto *p = reinterpret_cast<const unsigned char *>(rows.data());
  size_t row = 0;
  const size_t nRows = rows.size() / static_cast<size_t>(rowSize);
  if (ranges.size() == 1 && ranges[0].first == 0 && ranges[0].second > 0)
    table.Reserve(static_cast<uint32_t>(
        std::min<int64_t>(std::min<int64_t>(ranges[0].second, static_cast<int64_t>(nRows)),
                          limits::kMaxObjectNumber + 1)));
  for (const auto &[first, count] : ranges) {
    if (first < 0 || count < 0 || first > limits::kMaxObjectNumber)
      return false;
    for (int64_t i = 0; i < count && row < nRows; ++i, ++row) {
      const unsigned char *r = p + row * static_cast<size_t>(rowSize);
      const uint64_t type = w[0] == 0 ? 1 : ReadField(r, w[0]);
      const uint64_t f2 = ReadField(r + w[0], w[1]);
      const uint64_t f3 = ReadField(r + w[0] + w[1], w[2]);
      const int64_t objNum = first + i;
      if (objNum > limits::kMaxObjectNumber)
        break;
      XrefEntry entry;
      if (type == 0) {
        entry.type = XrefEntry::Free;
      } else if (type == 1) {
        entry.type = f2 == 0 ? XrefEntry::Free : XrefEntry::InFile;
        entry.offset = f2;
        entry.gen = static_cast<uint16_t>(std::min<uint64_t>(f3, 65535));
      } else if (type == 2) {
        if (f2 > limits::kMaxObjectNumber)
          continue;
        entry.type = XrefEntry::InStream;
        entry.offset = f2;
        entry.index = static_cast<uint32_t>(std::min<uint64_t>(f3, UINT32_MAX));
      } else {
        continue; // types to come are read as absent
      }
      table.SetIfMissing(static_cast<uint32_t>(objNum), entry);
    }
  }
  return true;
}

} // namespace

bool ReadXref(const char *pData, size_t nSize, XrefTable &table, Value &trailer,
              std::vector<std::string> &warnings) {
  const char *pStart = FindLast(pData, nSize, "startxref", 65536);
  if (pStart == nullptr) {
    warnings.push_back("expected \"startxref\" in the last 64 KB of the file");
    return false;
  }
  Parser parser(pData, nSize, static_cast<size_t>(pStart - pData) + 9);
  uint64_t offset = 0;
  if (!parser.ReadUnsigned(offset))
    return false;

  std::set<uint64_t> visited;
  std::vector<uint64_t> pending{offset};
  bool bAny = false;
  while (!pending.empty()) {
    const uint64_t at = pending.back();
    pending.pop_back();
    if (at >= nSize || !visited.insert(at).second ||
        visited.size() > static_cast<size_t>(limits::kMaxXrefSections)) {
      if (!bAny) {
        warnings.push_back("startxref names byte " + std::to_string(at) + ", beyond the file");
        return false;
      }
      continue;
    }
    Value section;
    Parser here(pData, nSize, static_cast<size_t>(at));
    bool bRead = false;
    if (here.ReadKeyword("xref")) {
      bRead = ReadClassic(here, table, section);
      // A hybrid file's stream section comes before the older sections.
      const Value *pStm = section.Get("XRefStm");
      if (bRead && pStm != nullptr && pStm->IsInt() && pStm->integer() > 0) {
        Value ignored;
        ReadXrefStream(pData, nSize, static_cast<size_t>(pStm->integer()), table, ignored);
      }
    } else {
      bRead = ReadXrefStream(pData, nSize, static_cast<size_t>(at), table, section);
    }
    if (!bRead) {
      warnings.push_back((bAny ? "an older cross-reference section" : "the cross-reference") +
                         std::string(" at byte ") + std::to_string(at) +
                         " is unreadable (expected \"xref\" and its entries, or a "
                         "cross-reference stream)");
      if (!bAny)
        return false;
      continue;
    }
    bAny = true;
    MergeTrailer(trailer, section);
    const Value *pPrev = section.Get("Prev");
    if (pPrev != nullptr && pPrev->IsNumber() && pPrev->number() >= 0)
      pending.push_back(static_cast<uint64_t>(ClampToInt64(pPrev->number())));
  }
  return bAny && trailer.IsDict();
}

void ScanObjects(const char *pData, size_t nSize, XrefTable &table, Value &trailer) {
  Value lastTrailer;
  size_t nLastTrailerAt = 0;
  uint32_t nLastCatalog = 0, nLastFullCatalog = 0;
  std::set<uint32_t> fullCatalogs; // catalogs with a page tree
  size_t pos = 0;
  const char *pTrailer =
      nullptr; // the next "trailer" at or after pos, searched for again once passed
  bool bTrailerSearched = false;
  size_t nNoEndFrom = SIZE_MAX;
  size_t nParsed = 0;
  const size_t nParseBudget = 8 * nSize + (size_t{64} << 20);
  while (pos < nSize) {
    const char *pHit = static_cast<const char *>(memmem(pData + pos, nSize - pos, "obj", 3));
    if (!bTrailerSearched || (pTrailer != nullptr && pTrailer < pData + pos)) {
      pTrailer = static_cast<const char *>(memmem(pData + pos, nSize - pos, "trailer", 7));
      bTrailerSearched = true;
    }
    if (pTrailer != nullptr && (pHit == nullptr || pTrailer < pHit)) {
      Parser parser(pData, nSize, static_cast<size_t>(pTrailer - pData) + 7);
      Value dict;
      if (parser.ReadValue(dict) && dict.IsDict() && dict.Get("Root") &&
          dict.Get("Root")->IsRef()) {
        lastTrailer = std::move(dict);
        nLastTrailerAt = static_cast<size_t>(pTrailer - pData);
      }
      pos = static_cast<size_t>(pTrailer - pData) + 7;
      continue;
    }
    if (pHit == nullptr)
      break;
    const size_t hit = static_cast<size_t>(pHit - pData);
    pos = hit + 3;
    if (pos < nSize && !IsPdfWhitespace(static_cast<unsigned char>(pData[pos])) &&
        !IsPdfDelimiter(static_cast<unsigned char>(pData[pos])))
      continue;
    // Back over "num gen " to where the header starts.
    size_t b = hit;
    auto backOverSpace = [&] {
      size_t n = 0;
      while (b > 0 && IsPdfWhitespace(static_cast<unsigned char>(pData[b - 1]))) {
        --b;
        ++n;
      }
      return n;
    };
    auto backOverDigits = [&] {
      size_t n = 0;
      while (b > 0 && pData[b - 1] >= '0' && pData[b - 1] <= '9' && n < 10) {
        --b;
        ++n;
      }
      return n;
    };
    if (backOverSpace() == 0 || backOverDigits() == 0 || backOverSpace() == 0 ||
        backOverDigits() == 0)
      continue;
    if (b > 0 && !IsPdfWhitespace(static_cast<unsigned char>(pData[b - 1])) &&
        !IsPdfDelimiter(static_cast<unsigned char>(pData[b - 1])))
      continue;
    Parser parser(pData, nSize, b);
    uint32_t num = 0;
    uint16_t gen = 0;
    if (!parser.ReadObjectHeader(num, gen) || num == 0)
      continue;
    XrefEntry entry;
    entry.type = XrefEntry::InFile;
    entry.gen = gen;
    entry.offset = b;
    table.Set(num, entry); // the last definition in the file wins
    // Values are read to find catalogs and to pass over stream data. A value that never ends
    // (a string left open) reads to the end of the file: so much reading stops the reading of
    // values, and the rest of the scan only lists headers.
    if (nParsed > nParseBudget)
      continue;
    Value value;
    const bool bRead = parser.ReadValue(value);
    nParsed += parser.Pos() - b;
    if (!bRead)
      continue;
    if (value.IsDict()) {
      const Value *pType = value.Get("Type");
      if (pType != nullptr && pType->IsName("Catalog")) {
        nLastCatalog = num;
        if (value.Get("Pages") != nullptr) {
          nLastFullCatalog = num;
          fullCatalogs.insert(num);
        }
      }
      if (pType != nullptr && pType->IsName("XRef") && value.Get("Root") &&
          value.Get("Root")->IsRef() && b >= nLastTrailerAt) {
        lastTrailer = value;
        nLastTrailerAt = b;
      }
    }
    if (parser.ReadKeyword("stream")) {
      const Value *pLength = value.Get("Length");
      size_t start = 0, len = 0;
      if (FindStreamData(pData, nSize, parser.Pos(),
                         pLength && pLength->IsInt() ? pLength->integer() : -1, start, len, nullptr,
                         &nNoEndFrom))
        pos = start + len; // stream data is never read as headers
    } else {
      pos = std::max(pos, parser.Pos());
    }
  }

  trailer = Value(Dict());
  if (lastTrailer.IsDict()) {
    for (const char *pszKey : {"Root", "Info", "ID", "Encrypt"})
      if (const Value *p = lastTrailer.Get(pszKey))
        trailer.dict().Set(pszKey, *p);
  }
  // The trailer's /Root when it names a catalog the scan found, else the last catalog with a
  // page tree; a /Root the scan cannot judge (inside an object stream) is kept over a catalog
  // without pages.
  const Value *pRoot = trailer.Get("Root");
  const bool bRootKnown =
      pRoot != nullptr && pRoot->IsRef() && table.Find(pRoot->ref().num).has_value();
  uint32_t nPick = 0;
  if (bRootKnown && fullCatalogs.count(pRoot->ref().num) == 0 && nLastFullCatalog != 0)
    nPick = nLastFullCatalog;
  else if (!bRootKnown)
    nPick = nLastFullCatalog != 0 ? nLastFullCatalog : nLastCatalog;
  if (nPick != 0) {
    const std::optional<XrefEntry> pEntry = table.Find(nPick);
    trailer.dict().Set("Root", Value(Ref{nPick, pEntry ? pEntry->gen : uint16_t{0}}));
  }
}

} // namespace engine::pdf
