#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// The file list's row record and what row creation needs to fill one.

// Status of a row. Only STATUS_READY and STATUS_LOAD_FAILED occur in the main window's rows;
// the merge job sets the others on its own copies.
enum ItemStatus : int32_t {
  STATUS_READY = 0,
  STATUS_WORKING = 1,
  STATUS_SUCCESS = 2,
  STATUS_FAILED = 3,
  STATUS_LOAD_FAILED = 4, // the PDF could not be probed; the merge skips it
};

// How far a listed PDF has been read. The window reads PDFs in the background: a row is listed at
// once and takes its page count when the reading is done.
enum ItemReadState : int32_t {
  READ_DONE = 0,
  READ_PENDING = 1,        // being read; the row is not merged meanwhile
  READ_NEEDS_PASSWORD = 2, // readable only with a password the user has not given yet
};

// One listed source. Plain data: copying it (as the merge job does) shares the two buffers
// between the row and the copy, so the job's output path shows in the row it came from.
struct _stru_ItemData_ {
  int32_t nItemID = 0;     // from g_nItemCounter; the engine's identifier of the source
  std::wstring szFilePath; // full path as added; any length the file system allows
  std::shared_ptr<std::wstring> pszOutPath; // written by the merge job; never null in a row
  // Size in bytes; 0 when it could not be read. 64-bit, so files of 4 GB and more show their
  // real size.
  uint64_t nFileSize = 0;
  int32_t nTotalPage = 0; // 1 for a picture; the probe's answer for a PDF (0 when it threw)
  // Custom page range text; null or empty means all pages. Made on the first custom range and
  // kept (emptied) when the user goes back to all pages.
  std::shared_ptr<std::wstring> pszPageRange;
  int32_t nStatus = STATUS_READY;
  int32_t nReadState = READ_DONE;
  // The password the user gave for this source, in UTF-8 as the engine takes it. Kept in
  // memory only, for this row; the merge hands it to the engine with this source.
  std::string strPassword;
  // Why the reading found the PDF unusable, as the engine said it; empty when it said nothing
  // (or the reader itself crashed or hung on the file).
  std::wstring strReadProblem;
  // The file as its page count was read (a picture: as it was listed): size in bytes and
  // modification time in ns since 1970; -1 when not known. The merge refuses a file that is no
  // longer this one. For this run only, like the whole list.
  int64_t nReadSize = -1;
  int64_t nReadModified = 0;

  // True when the page range is all pages (no buffer, or an empty one).
  bool HasAllPages() const { return !pszPageRange || pszPageRange->empty(); }
};

// Sequence number of the last created row. Never decreases, so identifiers are unique in a run.
extern int32_t g_nItemCounter;

// The listed kinds, compared without regard to case; entry 0 is the only PDF kind.
extern const wchar_t *const kSupportedExtensions[7];
constexpr int kSupportedExtensionCount = 7;

// Index into kSupportedExtensions of the path's extension (from its last "." to the end; the
// whole path when it has none), or -1 when it is not supported.
int FindSupportedExtension(const std::wstring &path);

// True when the last four characters of the path are ".pdf" in any case.
bool EndsWithPdf(const std::wstring &path);

// Page count of a PDF: > 0 usable, <= 0 not; may throw.
using PdfProbe = std::function<int32_t(const wchar_t *path)>;

// A new record for a path, numbered from g_nItemCounter: a picture has one page and the file's
// identity as it is now; a PDF gets the probe's page count, and the load-failed status when that
// is not positive or the probe throws (page count 0 then). The size is not read here (see
// ReadFileSize).
std::unique_ptr<_stru_ItemData_> CreateItemData(const std::wstring &path, bool isPdf,
                                                const PdfProbe &probe);

// The record of a PDF that is still to be read: no page count yet, and the load-failed status,
// so that nothing merges it before its answer came.
std::unique_ptr<_stru_ItemData_> CreateUnreadItemData(const std::wstring &path);
// Takes a reading's answer: the page count (usable when positive), whether only a password
// was missing, the reason given for an unusable file, and the file as it was read.
void TakeProbeAnswer(_stru_ItemData_ &item, int32_t pages, bool needsPassword,
                     const std::wstring &problem = std::wstring(), int64_t readSize = -1,
                     int64_t readModified = 0);

// Size in bytes of the file at path, 0 when it cannot be read.
uint64_t ReadFileSize(const std::wstring &path);
