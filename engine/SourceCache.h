#pragma once
// The sources of one merge run, each distinct path read once however often it is listed. A
// PDF source stays open from its first occurrence in the list to its last; then everything
// the output needs of it has been written and it is released, so the run holds one or two
// sources at a time, not all of them.

#include "FileIdentity.h"
#include "MergeContext.h"
#include "pdf/SourceDocument.h"

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace engine {

enum SourceKind { SRC_OTHER = 0, SRC_IMAGE = 1, SRC_PDF = 2 };

// Kind from the path's extension, without regard to case.
SourceKind KindFromPath(const std::wstring &strPath);

// Why a PDF could not be opened, as the user reads it ("needs a password").
std::wstring DescribeOpenFailure(pdf::OpenStatus status, const std::string &strDetail);

struct NamedDestinations;

struct SourceEntry {
  SourceKind nKind = SRC_OTHER;
  int nRefCount = 0;
  int nLoadState = 0;      // 0 not loaded yet, 1 loaded, 2 failed
  int nLastUse = -1;       // list position of the path's last occurrence
  std::wstring strFailure; // why it could not be used
  FileStamp opened;        // the file as it was when it was opened

  // A PDF source while it is open.
  std::unique_ptr<pdf::SourceDocument> doc;
  std::unique_ptr<ObjectCopier> copier;
  std::unique_ptr<NamedDestinations> names;
  std::unordered_map<uint32_t, size_t> pageIndex; // page object -> index in the page list
  std::unordered_map<uint32_t, uint32_t> forms;   // page object -> its form
  // page object -> its content stream and resources (0 while they are given in the page), when
  // a sheet shows the page itself
  std::unordered_map<uint32_t, std::pair<uint32_t, uint32_t>> sheetContents;
  std::unordered_map<uint32_t, uint32_t> appearances;             // appearance stream -> its form
  std::map<std::pair<uint32_t, int>, uint32_t> turnedAppearances; // (stream, turn) -> form
  size_t nPageCount = 0;
  bool bOptionalContentTaken = false;

  // A picture.
  uint32_t nImage = 0;
  double dImageWidth = 0, dImageHeight = 0;
  int nOrientation = 1; // EXIF orientation 1..8

  ~SourceEntry();
};

class SourceCache {
public:
  explicit SourceCache(MergeContext &context) : m_context(context) {}

  // Counts one more occurrence of a path at list position nPosition; returns its entry.
  SourceEntry &Register(const std::wstring &strPath, int nPosition);
  // The entry of a path, loaded the first time; null when it is of no usable kind or failed to
  // load (a failed load is not tried again; strFailure says why). A file whose size or
  // modification time is not the caller's (nSize >= 0) is refused as changed.
  SourceEntry *Fetch(const std::wstring &strPath, const char *pszPassword, int64_t nSize = -1,
                     int64_t nModified = 0);
  // The path of a source that is no longer the file that was opened (rewritten, replaced or
  // removed since); empty when every source read is unchanged.
  std::wstring ChangedSource() const;
  // After the path's last occurrence: writes what is still queued and closes the source.
  void Release(SourceEntry &entry);
  // Why a path could not be used.
  std::wstring Failure(const std::wstring &strPath) const;

private:
  void LoadPdf(SourceEntry &entry, const std::wstring &strPath, const char *pszPassword);

  MergeContext &m_context;
  std::map<std::wstring, std::unique_ptr<SourceEntry>> m_entries;
};

} // namespace engine
