#include "SourceDocument.h"

#include "Limits.h"
#include "PdfParser.h"
#include "SourceDecryption.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace engine::pdf {

namespace {

constexpr size_t kMaxWarnings = 40;

} // namespace

// Counting pages reads each object stream of the page tree once, in order: a small cache does.
SourceDocument::SourceDocument(bool bPagesOnly)
    : m_bPagesOnly(bPagesOnly), m_cache(bPagesOnly ? 64 : 1024),
      m_streams(bPagesOnly ? (1u << 20) : (1u << 20)) {}

SourceDocument::~SourceDocument() = default;

std::unique_ptr<SourceDocument> SourceDocument::Open(const std::string &strPath,
                                                     const char *pszPassword, OpenStatus &status,
                                                     std::string &strDetail, const CancelFn &cancel,
                                                     bool bPagesOnly) {
  std::unique_ptr<MappedFile> pMapped = MappedFile::Open(strPath, strDetail);
  if (pMapped == nullptr) {
    status = OpenStatus::NotReadable;
    return nullptr;
  }
  std::unique_ptr<SourceDocument> doc(new SourceDocument(bPagesOnly));
  doc->m_pData = pMapped->Data();
  doc->m_nSize = pMapped->Size();
  doc->m_strPath = strPath;
  doc->m_identity = pMapped->Identity();
  doc->m_budget = WorkBudget(doc->m_nSize);
  doc->m_pMapped = std::move(pMapped);
  doc->m_cancel = cancel;
  if (!doc->Init(pszPassword, status, strDetail))
    return nullptr;
  if (doc->Truncated()) {
    status = OpenStatus::Damaged;
    strDetail = "the file was cut short while it was read";
    return nullptr;
  }
  return doc;
}

std::unique_ptr<SourceDocument>
SourceDocument::OpenBytes(std::string bytes, const char *pszPassword, OpenStatus &status,
                          std::string &strDetail, const CancelFn &cancel) {
  std::unique_ptr<SourceDocument> doc(new SourceDocument);
  doc->m_owned = std::move(bytes);
  doc->m_pData = doc->m_owned.data();
  doc->m_nSize = doc->m_owned.size();
  doc->m_budget = WorkBudget(doc->m_nSize);
  doc->m_cancel = cancel;
  if (!doc->Init(pszPassword, status, strDetail))
    return nullptr;
  return doc;
}

bool SourceDocument::TestCancel() {
  if (!m_bCancelled && m_cancel && (++m_nCancelTick & 63) == 0)
    m_bCancelled = m_cancel();
  return m_bCancelled;
}

void SourceDocument::Warn(const std::string &text) {
  if (m_warnings.size() < kMaxWarnings) {
    for (const std::string &known : m_warnings)
      if (known == text)
        return;
    m_warnings.push_back(text);
  } else if (m_warnings.size() == kMaxWarnings) {
    m_warnings.push_back("more damage was found and left out");
  }
}

void SourceDocument::Trim() {
  m_cache.Clear();
  m_streams.Clear();
  if (m_catalog != nullptr)
    m_cache.Put(m_catalogRef.num, m_catalog, 1);
  if (m_pMapped != nullptr && !m_pMapped->Truncated()) {
    m_pMapped.reset();
    m_pData = nullptr;
  }
}

bool SourceDocument::EnsureMapped() {
  if (m_pData != nullptr)
    return true;
  if (m_bChanged)
    return false;
  std::string why;
  std::unique_ptr<MappedFile> pMapped = MappedFile::Open(m_strPath, why);
  if (pMapped == nullptr || pMapped->Identity() != m_identity) {
    m_bChanged = true;
    Warn("the file changed or went away while the merge used it; what was still to be read "
         "was left out");
    return false;
  }
  // The same bytes as before, so every offset read from them still holds.
  m_pData = pMapped->Data() + m_nShift;
  m_pMapped = std::move(pMapped);
  return true;
}

void SourceDocument::Damaged(uint32_t nNum, size_t nOffset, const std::string &what) {
  Warn("object " + std::to_string(nNum) + " at byte " + std::to_string(nOffset + m_nShift) + ": " +
       what);
}

namespace {

// Whether a cross-reference section or an object starts at the offset.
bool SectionAt(const char *pData, size_t nSize, uint64_t nOffset) {
  if (nOffset >= nSize)
    return false;
  Parser parser(pData, nSize, static_cast<size_t>(nOffset));
  uint32_t num = 0;
  uint16_t gen = 0;
  return parser.ReadKeyword("xref") || parser.ReadObjectHeader(num, gen);
}

// The offset the file's last startxref gives, or none.
bool StartXref(const char *pData, size_t nSize, uint64_t &nOffset) {
  const size_t nFrom = nSize > 65536 ? nSize - 65536 : 0;
  const char *pHit = nullptr;
  for (const char *p = pData + nFrom;;) {
    const char *pNext = static_cast<const char *>(
        memmem(p, static_cast<size_t>(pData + nSize - p), "startxref", 9));
    if (pNext == nullptr)
      break;
    pHit = pNext;
    p = pNext + 9;
  }
  if (pHit == nullptr)
    return false;
  Parser parser(pData, nSize, static_cast<size_t>(pHit - pData) + 9);
  return parser.ReadUnsigned(nOffset);
}

bool IsCatalog(const ObjectPtr &object) {
  if (object == nullptr || !object->value.IsDict())
    return false;
  const Value *pType = object->value.Get("Type");
  return object->value.Get("Pages") != nullptr || (pType != nullptr && pType->IsName("Catalog"));
}

} // namespace

bool SourceDocument::Init(const char *pszPassword, OpenStatus &status, std::string &strDetail) {
  if (m_nSize == 0) {
    status = OpenStatus::NotPdf;
    strDetail = "the file is empty";
    return false;
  }
  // The header may come after junk, as readers allow in the first kilobyte; a file without
  // one is still read when its body is a PDF.
  const size_t nHead = std::min<size_t>(m_nSize, 1024);
  const char *pHeader = static_cast<const char *>(memmem(m_pData, nHead, "%PDF-", 5));
  const bool bHeader = pHeader != nullptr;
  if (bHeader) {
    const size_t at = static_cast<size_t>(pHeader - m_pData);
    const size_t h = at + 5;
    if (h + 2 < m_nSize && m_pData[h] >= '1' && m_pData[h] <= '9' && m_pData[h + 1] == '.' &&
        m_pData[h + 2] >= '0' && m_pData[h + 2] <= '9')
      m_nVersion = (m_pData[h] - '0') * 10 + (m_pData[h + 2] - '0');
    // Offsets of a file with junk before its header count from the header when that is where
    // they lead: the junk is then not part of the document.
    uint64_t nStart = 0;
    if (at > 0 && StartXref(m_pData, m_nSize, nStart) && !SectionAt(m_pData, m_nSize, nStart) &&
        SectionAt(m_pData + at, m_nSize - at, nStart)) {
      m_nShift = at;
      m_pData += at;
      m_nSize -= at;
    }
  }
  const char *pData = m_pData;
  const size_t nSize = m_nSize;

  std::vector<std::string> xrefWarnings;
  const bool bXref = ReadXref(pData, nSize, m_xref, m_trailer, xrefWarnings);
  for (const std::string &w : xrefWarnings)
    Warn(w);
  const Value *pRoot = m_trailer.Get("Root");
  const bool bRebuild = !bXref || pRoot == nullptr || !pRoot->IsRef();
  if (bRebuild) {
    // No usable cross-reference at all: the scanned table is the table.
    Rescan();
    m_xref = m_scanned;
    if (!m_trailer.IsDict())
      m_trailer = Value(Dict());
    for (const DictEntry &entry : m_scannedTrailer.dict())
      if (!m_trailer.dict().Has(entry.key) || entry.key == "Root")
        m_trailer.dict().Set(entry.key, entry.value);
    pRoot = m_trailer.Get("Root");
  }
  if (!bHeader && m_xref.Count() == 0) {
    status = OpenStatus::NotPdf;
    strDetail = "the file does not start as a PDF does";
    return false;
  }
  if (m_bCancelled || (m_cancel && m_cancel())) {
    status = OpenStatus::Cancelled;
    return false;
  }

  // Encryption comes before any object is read: strings of every object depend on it.
  if (const Value *pEncrypt = m_trailer.Get("Encrypt")) {
    ObjectPtr holder;
    if (pEncrypt->IsRef())
      m_nEncryptNum = pEncrypt->ref().num;
    const Value *pDict = Resolve(pEncrypt, holder);
    std::string id;
    const Value *pId = m_trailer.Get("ID");
    if (pId != nullptr && pId->IsArray() && !pId->array().empty() && pId->array()[0].IsString())
      id = pId->array()[0].string().bytes;
    SourceDecryption::Status decryption = SourceDecryption::Status::Unsupported;
    std::string why;
    m_pDecryption = SourceDecryption::Open(
        pDict ? *pDict : Value(), id, pszPassword,
        [this](const Value &v) {
          ObjectPtr held;
          const Value *p = Resolve(&v, held);
          return p != nullptr ? *p : Value();
        },
        decryption, why);
    if (m_pDecryption == nullptr) {
      switch (decryption) {
      case SourceDecryption::Status::NeedsPassword:
        status = OpenStatus::NeedsPassword;
        strDetail = "needs a password";
        break;
      case SourceDecryption::Status::WrongPassword:
        status = OpenStatus::WrongPassword;
        strDetail = "wrong password";
        break;
      default:
        status = OpenStatus::BadEncryption;
        strDetail = "unsupported or damaged encryption: " + why;
        break;
      }
      return false;
    }
    m_cache.Clear(); // the encryption dictionary was read before decryption was known
  }
  if (bRebuild)
    IndexObjectStreams(); // their data may be encrypted, so only now

  if (!FindCatalog(pRoot, bRebuild)) {
    status = m_budget.Exhausted() ? OpenStatus::Damaged
             : bHeader            ? OpenStatus::Damaged
                                  : OpenStatus::NotPdf;
    strDetail = m_budget.Exhausted() ? "damaged beyond repair: " + m_budget.Reason()
                : bHeader            ? "damaged beyond repair: no document catalog"
                                     : "the file does not start as a PDF does";
    // What was found on the way is often why: an object stream that could not be read.
    for (auto it = m_warnings.rbegin(); bHeader && it != m_warnings.rend(); ++it)
      if (it->find(" at byte ") != std::string::npos) {
        strDetail += " (" + *it + ")";
        break;
      }
    return false;
  }
  if (const Value *pVersion = m_catalog->value.Get("Version"); pVersion && pVersion->IsName()) {
    const std::string &v = pVersion->name();
    if (v.size() == 3 && v[0] >= '1' && v[0] <= '9' && v[1] == '.' && v[2] >= '0' && v[2] <= '9')
      m_nVersion = std::max(m_nVersion, (v[0] - '0') * 10 + (v[2] - '0'));
  }

  ListPages();
  if (m_bCancelled) {
    status = OpenStatus::Cancelled;
    return false;
  }
  if (m_budget.Exhausted()) {
    status = OpenStatus::Damaged;
    strDetail = "damaged beyond repair: " + m_budget.Reason();
    return false;
  }
  status = OpenStatus::Ok;
  return true;
}

bool SourceDocument::FindCatalog(const Value *pRoot, bool bRebuilt) {
  ObjectPtr found;
  if (pRoot != nullptr && pRoot->IsRef()) {
    m_catalogRef = pRoot->ref();
    found = Load(m_catalogRef);
  }
  if (IsCatalog(found)) {
    m_catalog = found;
    return true;
  }
  if (!bRebuilt) {
    // The table does not lead to a catalog: it is not to be trusted for anything else either.
    // The scan's table takes its place, and the scan's catalog the trailer's.
    if (!m_bScanned)
      Rescan();
    m_xref = m_scanned;
    m_cache.Clear();
    m_streams.Clear();
    IndexObjectStreams();
    const Value *pScannedRoot = m_scannedTrailer.Get("Root");
    if (pScannedRoot != nullptr && pScannedRoot->IsRef()) {
      ObjectPtr scanned = Load(pScannedRoot->ref());
      if (IsCatalog(scanned)) {
        m_catalogRef = pScannedRoot->ref();
        m_catalog = scanned;
        Warn("the trailer does not lead to the document catalog; the one in the file was used");
        return true;
      }
    }
  }
  // A dictionary where the catalog belongs is still the best there is.
  if (found != nullptr && found->value.IsDict()) {
    m_catalog = found;
    return true;
  }
  return false;
}

void SourceDocument::Rescan() {
  m_bScanned = true;
  // Objects read as deleted before the table was found wrong are read again.
  m_cache.Clear();
  if (!EnsureMapped())
    return;
  ScanObjects(m_pData, m_nSize, m_scanned, m_scannedTrailer);
  Warn("the cross-reference table does not match the file and was rebuilt");
}

void SourceDocument::IndexObjectStreams() {
  // Objects stored in object streams are not found by the header scan: list them from every
  // object stream the scan found, without overriding objects defined directly.
  std::vector<uint32_t> streams;
  m_xref.ForEach([this, &streams](uint32_t nNum, const XrefEntry &entry) {
    if (entry.type != XrefEntry::InFile)
      return;
    Parser parser(m_pData, m_nSize, static_cast<size_t>(entry.offset));
    uint32_t num = 0;
    uint16_t gen = 0;
    Value dict;
    if (!m_budget.Spend(1) || !parser.ReadObjectHeader(num, gen))
      return;
    parser.SkipSpace();
    if (parser.Pos() + 1 >= m_nSize || m_pData[parser.Pos()] != '<' ||
        m_pData[parser.Pos() + 1] != '<')
      return; // only a dictionary can begin a stream
    const size_t nFrom = parser.Pos();
    const bool bRead = parser.ReadValue(dict);
    m_budget.Spend((parser.Pos() - nFrom) / 64);
    if (bRead) {
      const Value *pType = dict.Get("Type");
      if (pType != nullptr && pType->IsName("ObjStm"))
        streams.push_back(nNum);
    }
  });
  for (uint32_t nStream : streams) {
    if (TestCancel())
      return;
    auto stream = LoadObjectStream(nStream);
    if (stream == nullptr)
      continue;
    for (uint32_t i = 0; i < stream->offsets.size(); ++i) {
      XrefEntry entry;
      entry.type = XrefEntry::InStream;
      entry.offset = nStream;
      entry.index = i;
      m_xref.SetIfMissing(stream->offsets[i].first, entry);
    }
  }
}

void SourceDocument::DecryptStrings(Value &value, Ref ref) const {
  switch (value.kind()) {
  case Value::Kind::String:
    m_pDecryption->DecryptString(ref, value.string().bytes);
    break;
  case Value::Kind::Array:
    for (Value &item : value.array())
      DecryptStrings(item, ref);
    break;
  case Value::Kind::Dict:
    for (DictEntry &entry : value.dict())
      DecryptStrings(entry.value, ref);
    break;
  default:
    break;
  }
}

std::shared_ptr<LoadedObject> SourceDocument::ParseAt(uint64_t nOffset, uint32_t nNum) {
  if (nOffset >= m_nSize || !EnsureMapped())
    return nullptr;
  Parser parser(m_pData, m_nSize, static_cast<size_t>(nOffset));
  uint32_t num = 0;
  uint16_t gen = 0;
  if (!parser.ReadObjectHeader(num, gen) || num != nNum)
    return nullptr;
  auto object = std::make_shared<LoadedObject>();
  object->nGen = gen;
  const bool bRead = parser.ReadValue(object->value);
  // Parsing costs by the bytes it reads, so a file of huge objects read again and again pays.
  m_budget.Spend((parser.Pos() - static_cast<size_t>(nOffset)) / 64);
  if (!bRead) {
    object->value = Value();
    object->bMissing = true;
    Damaged(nNum, nOffset, parser.Error().Describe() + ", so it was left out");
    return object;
  }
  if (parser.Repairs() > 0)
    Damaged(nNum, nOffset,
            "expected " + parser.FirstRepair().expected + " at byte " +
                std::to_string(parser.FirstRepair().offset + m_nShift) +
                "; it was read as readers read it");
  if (object->value.IsDict() && parser.ReadKeyword("stream")) {
    int64_t length = -1;
    const Value *pLength = object->value.Get("Length");
    if (pLength != nullptr && pLength->IsInt()) {
      length = pLength->integer();
    } else if (pLength != nullptr && pLength->IsRef() && m_nLengthDepth == 0) {
      ++m_nLengthDepth;
      ObjectPtr lengthObject = Load(pLength->ref());
      --m_nLengthDepth;
      if (lengthObject->value.IsInt())
        length = lengthObject->value.integer();
      if (!EnsureMapped())
        return nullptr;
    }
    size_t start = 0, len = 0, scanned = 0;
    const bool bFound = FindStreamData(m_pData, m_nSize, parser.Pos(), length, start, len, &scanned,
                                       &m_nNoEndstreamFrom);
    m_budget.Spend(scanned / 64);
    if (!bFound) {
      object->value = Value();
      object->bMissing = true;
      Damaged(nNum, nOffset, "expected \"endstream\" after its stream data; it was left out");
      return object;
    }
    if (length >= 0 && static_cast<size_t>(length) != len)
      Warn("a stream length is wrong and was corrected");
    object->bStream = true;
    object->nDataStart = start;
    object->nDataLength = len;
  }
  if (m_pDecryption != nullptr && nNum != m_nEncryptNum)
    DecryptStrings(object->value, Ref{nNum, gen});
  return object;
}

std::shared_ptr<const SourceDocument::ObjectStream>
SourceDocument::LoadObjectStream(uint32_t nStream) {
  if (const auto *pCached = m_streams.Find(nStream))
    return *pCached;
  // An object stream that needs itself (directly or through another) cannot be read.
  if (!m_loadingStreams.insert(nStream).second)
    return nullptr;
  struct Done {
    std::unordered_set<uint32_t> &set;
    uint32_t n;
    ~Done() { set.erase(n); }
  } done{m_loadingStreams, nStream};

  const std::optional<XrefEntry> pEntry = m_xref.Find(nStream);
  if (!pEntry || pEntry->type != XrefEntry::InFile)
    return nullptr; // streams are never inside object streams
  ObjectPtr object = Load(Ref{nStream, pEntry->gen});
  if (!object->bStream)
    return nullptr;
  const Value *pN = object->value.Get("N");
  const Value *pFirst = object->value.Get("First");
  if (pN == nullptr || !pN->IsInt() || pFirst == nullptr || !pFirst->IsInt() || pN->integer() < 0 ||
      pN->integer() > limits::kMaxObjectsInStream || pFirst->integer() < 0)
    return nullptr;
  auto stream = std::make_shared<ObjectStream>();
  std::string why;
  if (DecodedStream(nStream, *object, stream->data, limits::kMaxDecodedStructure, &why) !=
      DecodeResult::Ok) {
    Warn("the object stream " + why + "; the objects in it were left out");
    return nullptr;
  }
  const size_t first = static_cast<size_t>(pFirst->integer());
  if (first > stream->data.size())
    return nullptr;
  Parser header(stream->data.data(), first);
  for (int64_t i = 0; i < pN->integer(); ++i) {
    uint64_t num = 0, offset = 0;
    if (!header.ReadUnsigned(num) || !header.ReadUnsigned(offset) ||
        num > limits::kMaxObjectNumber || offset > stream->data.size() - first)
      break;
    stream->offsets.emplace_back(static_cast<uint32_t>(num), first + static_cast<size_t>(offset));
  }
  m_budget.Spend(stream->offsets.size());
  m_streams.Put(nStream, stream, stream->data.size() + 16 * stream->offsets.size());
  return stream;
}

std::shared_ptr<LoadedObject> SourceDocument::FromObjectStream(uint32_t nStream, uint32_t nIndex,
                                                               uint32_t nNum) {
  auto stream = LoadObjectStream(nStream);
  if (stream == nullptr || nIndex >= stream->offsets.size() ||
      stream->offsets[nIndex].first != nNum)
    return nullptr;
  const size_t at = stream->offsets[nIndex].second;
  Parser parser(stream->data.data(), stream->data.size(), at);
  auto object = std::make_shared<LoadedObject>();
  const bool bRead = parser.ReadValue(object->value);
  m_budget.Spend((parser.Pos() - at) / 64);
  const std::string where = "object " + std::to_string(nNum) + " (in object stream " +
                            std::to_string(nStream) + ", at byte " + std::to_string(at) + ")";
  if (!bRead) {
    object->value = Value();
    object->bMissing = true;
    Warn(where + ": " + parser.Error().Describe() + ", so it was left out");
  } else if (parser.Repairs() > 0) {
    Warn(where + ": expected " + parser.FirstRepair().expected +
         "; it was read as readers read it");
  }
  return object;
}

std::shared_ptr<LoadedObject> SourceDocument::LoadUncached(uint32_t nNum) {
  auto fromEntry = [this,
                    nNum](const std::optional<XrefEntry> &pEntry) -> std::shared_ptr<LoadedObject> {
    if (!pEntry)
      return nullptr;
    if (pEntry->type == XrefEntry::InFile)
      return ParseAt(pEntry->offset, nNum);
    if (pEntry->type == XrefEntry::InStream && pEntry->offset <= limits::kMaxObjectNumber)
      return FromObjectStream(static_cast<uint32_t>(pEntry->offset), pEntry->index, nNum);
    return nullptr;
  };
  const std::optional<XrefEntry> pEntry = m_xref.Find(nNum);
  if (pEntry && pEntry->type == XrefEntry::Free) {
    // Deleted: a reference to it means null, while the table is trusted. A table found wrong
    // is not trusted to say what is deleted either: the object the file holds is read.
    return m_bScanned ? fromEntry(m_scanned.Find(nNum)) : nullptr;
  }
  if (auto object = fromEntry(pEntry))
    return object;
  if (m_bChanged)
    return nullptr;
  // Not where the table says, or not in the table: the table is wrong, the scan knows better.
  if (!m_bScanned)
    Rescan();
  const std::optional<XrefEntry> pScanned = m_scanned.Find(nNum);
  if (pScanned &&
      (!pEntry || pScanned->offset != pEntry->offset || pEntry->type != XrefEntry::InFile))
    return fromEntry(pScanned);
  return nullptr;
}

ObjectPtr SourceDocument::LoadOnce(Ref ref) {
  if (const ObjectPtr *pCached = m_cache.Find(ref.num))
    return *pCached;
  if (ref.num > limits::kMaxObjectNumber) {
    auto found = m_inline.find(ref.num);
    if (found != m_inline.end())
      return found->second;
  }
  TestCancel();
  std::shared_ptr<LoadedObject> object;
  // Once the budget is spent, every object reads as missing: the source is damaged or hostile.
  if (ref.num != 0 && m_budget.Spend(1))
    object = LoadUncached(ref.num);
  if (m_budget.Exhausted() && !m_bBudgetWarned) {
    m_bBudgetWarned = true;
    Warn(m_budget.Reason() + "; what was still to be read was left out");
  }
  if (object == nullptr) {
    object = std::make_shared<LoadedObject>();
    object->bMissing = true;
  }
  return object;
}

ObjectPtr SourceDocument::Load(Ref ref) {
  if (const ObjectPtr *pCached = m_cache.Find(ref.num))
    return *pCached;
  ObjectPtr object = LoadOnce(ref);
  if (ref.num <= limits::kMaxObjectNumber)
    m_cache.Put(ref.num, object, 1);
  return object;
}

const Value *SourceDocument::Resolve(const Value *pValue, ObjectPtr &holder) {
  for (int i = 0; pValue != nullptr && pValue->IsRef(); ++i) {
    if (i >= limits::kMaxReferenceChain)
      return nullptr;
    holder = Load(pValue->ref());
    pValue = holder->bMissing ? nullptr : &holder->value;
  }
  return pValue;
}

bool SourceDocument::StreamData(uint32_t nNum, const LoadedObject &object, std::string &storage,
                                std::string_view &view) {
  if (!object.bStream || object.nDataStart + object.nDataLength > m_nSize || !EnsureMapped())
    return false;
  view = std::string_view(m_pData + object.nDataStart, object.nDataLength);
  if (m_pDecryption == nullptr)
    return true;
  if (m_pDecryption->StreamClear(object.value))
    return true;
  storage.assign(view.data(), view.size());
  const bool bOk = m_pDecryption->DecryptStream(Ref{nNum, object.nGen}, object.value, storage);
  view = storage;
  return bOk;
}

DecodeResult SourceDocument::DecodedStream(uint32_t nNum, const LoadedObject &object,
                                           std::string &out, size_t nLimit, std::string *pstrWhy) {
  std::string storage;
  std::string_view view;
  const std::string where =
      "object " + std::to_string(nNum) + " at byte " + std::to_string(object.nDataStart + m_nShift);
  if (!StreamData(nNum, object, storage, view)) {
    if (pstrWhy != nullptr)
      *pstrWhy = where + ": its data cannot be read";
    return DecodeResult::Damaged;
  }
  DecodeOptions options;
  // This stream's bound, and never more than the source has left to decode.
  const uint64_t nOwn = nLimit != 0 ? nLimit : limits::kMaxDecodedStream;
  const bool bBudgetBound = m_budget.DecodeLeft() < nOwn;
  options.nLimit = static_cast<size_t>(std::min<uint64_t>(nOwn, m_budget.DecodeLeft()));
  const std::function<bool()> cancel = [this] {
    if (!m_bCancelled && m_cancel)
      m_bCancelled = m_cancel();
    return m_bCancelled;
  };
  options.pCancel = &cancel;
  DecodeReport report;
  const DecodeResult result =
      DecodeStream(object.value, view.data(), view.size(), out, options, &report);
  const bool bTooLarge = result == DecodeResult::TooLarge;
  if (!m_budget.SpendDecoded(bTooLarge ? options.nLimit : out.size()) ||
      (bTooLarge && bBudgetBound && !m_budget.SpendDecoded(UINT64_MAX))) {
    out.clear();
    if (pstrWhy != nullptr)
      *pstrWhy = where + ": " + m_budget.Reason();
    return DecodeResult::TooLarge;
  }
  if (result != DecodeResult::Ok && pstrWhy != nullptr)
    *pstrWhy = where + ": " + report.Describe(result);
  return result;
}

bool SourceDocument::JoinContents(const Array &parts, std::string &out, size_t nPageNumber) {
  std::unordered_set<uint32_t> seen;
  bool bAny = false, bRepeats = false;
  const std::string page = "page " + std::to_string(nPageNumber);
  for (const Value &part : parts) {
    if (TestCancel() || m_budget.Exhausted())
      break;
    if (part.IsRef() && !seen.insert(part.ref().num).second) {
      bRepeats = true;
      continue;
    }
    ObjectPtr holder;
    const Value *pPart = Resolve(&part, holder);
    std::string decoded, why;
    const size_t nRoom =
        limits::kMaxDecodedStream - std::min(out.size(), limits::kMaxDecodedStream);
    const DecodeResult result =
        pPart != nullptr && holder != nullptr && holder->bStream && part.IsRef()
            ? DecodedStream(part.ref().num, *holder, decoded, std::max<size_t>(nRoom, 1), &why)
            : DecodeResult::Damaged;
    if (result != DecodeResult::Ok) {
      Warn(page + ": a part of its content is left out" + (why.empty() ? "" : " (" + why + ")"));
      if (m_budget.Exhausted() || out.size() >= limits::kMaxDecodedStream)
        break;
      continue;
    }
    bAny = true;
    out += decoded;
    out += '\n'; // parts may split anywhere but between tokens
  }
  if (bRepeats) {
    limits::NoteHit(limits::Bound::ContentParts);
    Warn(page + ": its content names the same part more than once; it is drawn once");
  }
  return bAny;
}

} // namespace engine::pdf
