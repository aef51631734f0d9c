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
    : m_bPagesOnly(bPagesOnly), m_cache(bPagesOnly ? 64 : 2048),
      m_streams(bPagesOnly ? (1u << 20) : (4u << 20)) {}

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
}

bool SourceDocument::Init(const char *pszPassword, OpenStatus &status, std::string &strDetail) {
  const char *pData = m_pData;
  const size_t nSize = m_nSize;
  const size_t nHead = std::min<size_t>(nSize, 1024);
  const char *pHeader = static_cast<const char *>(memmem(pData, nHead, "%PDF-", 5));
  if (pHeader == nullptr) {
    status = OpenStatus::NotPdf;
    strDetail = nSize == 0 ? "the file is empty" : "the file does not start as a PDF does";
    return false;
  }
  const size_t h = static_cast<size_t>(pHeader - pData) + 5;
  if (h + 2 < nSize && pData[h] >= '1' && pData[h] <= '9' && pData[h + 1] == '.' &&
      pData[h + 2] >= '0' && pData[h + 2] <= '9')
    m_nVersion = (pData[h] - '0') * 10 + (pData[h + 2] - '0');

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

  if (pRoot != nullptr && pRoot->IsRef()) {
    m_catalogRef = pRoot->ref();
    m_catalog = Load(m_catalogRef);
  }
  if (m_catalog == nullptr || !m_catalog->value.IsDict()) {
    // The trailer names something that is not a catalog: look for one in the file.
    if (!m_bScanned)
      Rescan();
    const Value *pScannedRoot = m_scannedTrailer.Get("Root");
    if (pScannedRoot != nullptr && pScannedRoot->IsRef()) {
      m_catalogRef = pScannedRoot->ref();
      m_cache.Erase(m_catalogRef.num);
      m_catalog = Load(m_catalogRef);
    }
  }
  if (m_catalog == nullptr || !m_catalog->value.IsDict()) {
    status = OpenStatus::Damaged;
    strDetail = "damaged beyond repair: no document catalog";
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
  status = OpenStatus::Ok;
  return true;
}

void SourceDocument::Rescan() {
  m_bScanned = true;
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
    if (parser.ReadObjectHeader(num, gen) && parser.ReadValue(dict)) {
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
  if (nOffset >= m_nSize)
    return nullptr;
  Parser parser(m_pData, m_nSize, static_cast<size_t>(nOffset));
  uint32_t num = 0;
  uint16_t gen = 0;
  if (!parser.ReadObjectHeader(num, gen) || num != nNum)
    return nullptr;
  auto object = std::make_shared<LoadedObject>();
  object->nGen = gen;
  if (!parser.ReadValue(object->value)) {
    object->value = Value();
    object->bMissing = true;
    Warn("object " + std::to_string(nNum) + " is damaged and was left out");
    return object;
  }
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
    }
    size_t start = 0, len = 0;
    if (!FindStreamData(m_pData, m_nSize, parser.Pos(), length, start, len)) {
      object->value = Value();
      object->bMissing = true;
      Warn("object " + std::to_string(nNum) + " is a stream without an end and was left out");
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

  const XrefEntry *pEntry = m_xref.Find(nStream);
  if (pEntry == nullptr || pEntry->type != XrefEntry::InFile)
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
  if (DecodedStream(nStream, *object, stream->data) != DecodeResult::Ok)
    return nullptr;
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
  m_streams.Put(nStream, stream, stream->data.size() + 16 * stream->offsets.size());
  return stream;
}

std::shared_ptr<LoadedObject> SourceDocument::FromObjectStream(uint32_t nStream, uint32_t nIndex,
                                                               uint32_t nNum) {
  auto stream = LoadObjectStream(nStream);
  if (stream == nullptr || nIndex >= stream->offsets.size() ||
      stream->offsets[nIndex].first != nNum)
    return nullptr;
  Parser parser(stream->data.data(), stream->data.size(), stream->offsets[nIndex].second);
  auto object = std::make_shared<LoadedObject>();
  if (!parser.ReadValue(object->value)) {
    object->value = Value();
    object->bMissing = true;
    Warn("object " + std::to_string(nNum) + " is damaged and was left out");
  }
  return object;
}

std::shared_ptr<LoadedObject> SourceDocument::LoadUncached(uint32_t nNum) {
  auto fromEntry = [this, nNum](const XrefEntry *pEntry) -> std::shared_ptr<LoadedObject> {
    if (pEntry == nullptr)
      return nullptr;
    if (pEntry->type == XrefEntry::InFile)
      return ParseAt(pEntry->offset, nNum);
    if (pEntry->type == XrefEntry::InStream && pEntry->offset <= limits::kMaxObjectNumber)
      return FromObjectStream(static_cast<uint32_t>(pEntry->offset), pEntry->index, nNum);
    return nullptr;
  };
  const XrefEntry *pEntry = m_xref.Find(nNum);
  if (pEntry != nullptr && pEntry->type == XrefEntry::Free)
    return nullptr; // deleted: a reference to it means null
  if (auto object = fromEntry(pEntry))
    return object;
  // Not where the table says, or not in the table: the table is wrong, the scan knows better.
  if (!m_bScanned)
    Rescan();
  const XrefEntry *pScanned = m_scanned.Find(nNum);
  if (pScanned != nullptr && (pEntry == nullptr || pScanned->offset != pEntry->offset ||
                              pEntry->type != XrefEntry::InFile))
    return fromEntry(pScanned);
  return nullptr;
}

ObjectPtr SourceDocument::LoadOnce(Ref ref) {
  if (const ObjectPtr *pCached = m_cache.Find(ref.num))
    return *pCached;
  TestCancel();
  std::shared_ptr<LoadedObject> object = ref.num == 0 ? nullptr : LoadUncached(ref.num);
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
  if (!object.bStream || object.nDataStart + object.nDataLength > m_nSize)
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
                                           std::string &out) {
  std::string storage;
  std::string_view view;
  if (!StreamData(nNum, object, storage, view))
    return DecodeResult::Damaged;
  return DecodeStream(object.value, view.data(), view.size(), out, limits::kMaxDecodedStream);
}

} // namespace engine::pdf
