#pragma once
// One source PDF opened for reading. The file is read into memory once; objects are parsed
// when asked for, from the cross-reference the file gives. Every object found is checked
// against its header, and the first object that is not where the table says (or is missing
// from it) makes the reader rebuild the table by scanning the file, so a damaged table costs
// a scan instead of wrong objects. Pages are listed by one walk of the page tree.

#include "Limits.h"
#include "LruCache.h"
#include "MappedFile.h"
#include "PdfValue.h"
#include "StreamFilters.h"
#include "XrefTable.h"

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace engine::pdf {

class SourceDecryption;

struct LoadedObject {
  Value value; // a stream's dictionary for streams
  bool bStream = false;
  bool bMissing = false; // no such object, or damaged beyond reading: reads as null
  uint16_t nGen = 0;
  size_t nDataStart = 0, nDataLength = 0; // a stream's data in the file
};
using ObjectPtr = std::shared_ptr<const LoadedObject>;

using SharedValue = std::shared_ptr<const Value>;

// A page as the page tree gives it, with the attributes it inherits from its ancestors (null
// pointers for attributes neither it nor an ancestor has).
struct PageEntry {
  Ref ref;
  SharedValue resources; // a reference or a dictionary
  SharedValue mediaBox, cropBox, rotate;
};

enum class OpenStatus {
  Ok,
  NotReadable,
  NotPdf,
  Damaged,
  NeedsPassword,
  WrongPassword,
  BadEncryption,
  Cancelled
};

class SourceDocument {
public:
  using CancelFn = std::function<bool()>;

  // Opens a file; on failure returns null with a status and a reason ("the cross-reference
  // cannot be rebuilt: no document catalog"). pszPassword may be null. bPagesOnly opens it
  // only to count its pages: what pages inherit is not kept and little is cached.
  static std::unique_ptr<SourceDocument> Open(const std::string &strPath, const char *pszPassword,
                                              OpenStatus &status, std::string &strDetail,
                                              const CancelFn &cancel = {}, bool bPagesOnly = false);
  // The same for bytes already in memory.
  static std::unique_ptr<SourceDocument> OpenBytes(std::string bytes, const char *pszPassword,
                                                   OpenStatus &status, std::string &strDetail,
                                                   const CancelFn &cancel = {});
  ~SourceDocument();

  // The document catalog (a dictionary).
  const Value &Catalog() const { return m_catalog->value; }
  Ref CatalogRef() const { return m_catalogRef; }

  // An object; never null: a missing or unreadable object loads as a null value.
  ObjectPtr Load(Ref ref);
  // The same for an object read once (as when it is copied): it is not kept in the cache.
  ObjectPtr LoadOnce(Ref ref);
  // Follows references from v; the result lives as long as holder. Null for a missing value.
  const Value *Resolve(const Value *pValue, ObjectPtr &holder);
  // A stream's data as stored in the file (still encoded by its filters), decrypted; nNum is
  // the stream's object number. view points into storage or into the file's bytes.
  bool StreamData(uint32_t nNum, const LoadedObject &object, std::string &storage,
                  std::string_view &view);
  // A stream's data with its filters undone, within the source's budget; nLimit bounds this
  // one stream (0: the usual bound of a stream). A failure is told in pstrWhy when given
  // ("object 12 at byte 3400: its FlateDecode data is damaged at byte 120").
  DecodeResult DecodedStream(uint32_t nNum, const LoadedObject &object, std::string &out,
                             size_t nLimit = 0, std::string *pstrWhy = nullptr);
  // A page's content given as an array of streams, decoded and joined. Each stream is decoded
  // once however often the array names it: a repeat draws the same again, so it is left out,
  // and the joined content is held to the size of one stream. The parts that could not be
  // used are warned about with nPageNumber (1-based); false when none could.
  bool JoinContents(const Array &parts, std::string &out, size_t nPageNumber);

  const std::vector<PageEntry> &Pages() const { return m_pages; }
  // Page objects and page tree nodes: what a copy of other objects must not drag along.
  bool IsPageTreeObject(uint32_t nNum) const { return m_pageTree.count(nNum) != 0; }
  // The version the file declares, as 10 * major + minor (1.4 is 14).
  int Version() const { return m_nVersion; }
  // What was repaired or left out while reading, one sentence each.
  const std::vector<std::string> &Warnings() const { return m_warnings; }
  void Warn(const std::string &text);
  // Lets go of cached objects and of the file's mapping while the document waits for a later
  // use: a run may hold any number of documents so. The file is mapped again when next read,
  // and must not have changed meanwhile.
  void Trim();
  // Whether the file is mapped now (for tests).
  bool Mapped() const { return m_pMapped != nullptr; }
  // Lets the system take back the file's pages read so far (they are read again when needed),
  // so that the pages a long copy touched do not all stay with the program.
  void ReleasePages() {
    if (m_pMapped != nullptr)
      m_pMapped->ReleasePages();
  }
  size_t Size() const { return m_nSize; }
  // True when the file was cut short by someone else while it was read: what was read since
  // may be zeros.
  bool Truncated() const { return m_bChanged || (m_pMapped != nullptr && m_pMapped->Truncated()); }
  // True when the file was found replaced or rewritten when it was mapped again after a wait.
  bool Changed() const { return m_bChanged; }
  bool Cancelled() const { return m_bCancelled; }

private:
  explicit SourceDocument(bool bPagesOnly = false);
  bool Init(const char *pszPassword, OpenStatus &status, std::string &strDetail);
  std::shared_ptr<LoadedObject> ParseAt(uint64_t nOffset, uint32_t nNum);
  std::shared_ptr<LoadedObject> FromObjectStream(uint32_t nStream, uint32_t nIndex, uint32_t nNum);
  std::shared_ptr<LoadedObject> LoadUncached(uint32_t nNum);
  // Maps the file again after Trim; false when it changed or cannot be read.
  bool EnsureMapped();
  // The catalog from the trailer's /Root, else from a rebuilt table (bRebuilt: it already is).
  bool FindCatalog(const Value *pRoot, bool bRebuilt);
  // A page tree node or page given inline in /Kids: its number of its own.
  Ref InlineNumber(const Value &kid, const ObjectPtr &holder);
  void Damaged(uint32_t nNum, size_t nOffset, const std::string &what);
  void Rescan();
  void IndexObjectStreams();
  void DecryptStrings(Value &value, Ref ref) const;
  void ListPages();
  bool TestCancel();

  struct ObjectStream {
    std::string data;
    std::vector<std::pair<uint32_t, size_t>> offsets; // object number, offset in data
  };
  std::shared_ptr<const ObjectStream> LoadObjectStream(uint32_t nStream);

  std::unique_ptr<MappedFile> m_pMapped; // the file's bytes, or
  std::string m_strPath;
  std::string m_identity; // MappedFile::Identity when it was first read
  bool m_bChanged = false;
  size_t m_nShift = 0; // bytes of junk before the header that the file's offsets do not count
  std::string m_owned; // bytes given in memory
  const char *m_pData = nullptr;
  size_t m_nSize = 0;
  XrefTable m_xref;
  XrefTable m_scanned; // from the scan, when one was needed
  bool m_bScanned = false;
  Value m_scannedTrailer;
  Value m_trailer;
  ObjectPtr m_catalog;
  Ref m_catalogRef;
  std::unique_ptr<SourceDecryption> m_pDecryption;
  uint32_t m_nEncryptNum = 0;
  bool m_bPagesOnly;
  LruCache<ObjectPtr> m_cache;                             // objects
  LruCache<std::shared_ptr<const ObjectStream>> m_streams; // bytes of decoded streams
  std::unordered_set<uint32_t> m_loadingStreams;
  int m_nLengthDepth = 0;
  WorkBudget m_budget;
  bool m_bBudgetWarned = false;
  size_t m_nNoEndstreamFrom = SIZE_MAX;
  // Pages and nodes given inline in /Kids, by the number they were given; the objects that
  // hold them stay, so the same inline page listed again gets the same number.
  std::unordered_map<uint32_t, ObjectPtr> m_inline;
  std::unordered_map<const Value *, uint32_t> m_inlineNumbers;
  std::vector<ObjectPtr> m_inlineHolders;
  std::vector<PageEntry> m_pages;
  std::unordered_set<uint32_t> m_pageTree;
  int m_nVersion = 14;
  std::vector<std::string> m_warnings;
  CancelFn m_cancel;
  bool m_bCancelled = false;
  unsigned m_nCancelTick = 0;
};

} // namespace engine::pdf
