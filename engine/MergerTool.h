#pragma once
// The merge engine: one MergerTool describes one merge job (sources, sheet layout,
// protection, output path, callbacks) and runs it with StartMerge. Exported for other
// programs; underneath it needs no window code (its ciphers are OpenSSL's).

#include "MergerExport.h"

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

// Progress callback: (user data, index, message number 1226, percent 5..100).
typedef void (*MergeProcessFn)(void *pUserData, int32_t nIndex, uint32_t nMessage,
                               int32_t nPercent);
// Cancel query: true when the job is to stop. Polled often from the merging thread.
typedef bool (*MergeCancelFn)(void *pUserData);

// The window message number that progress reports carry (WM_USER + 202).
constexpr uint32_t WM_MERGE_PROGRESS = 0x0400 + 202;

// Paper codes of the three-argument SetLayout.
enum MergePaper : int32_t {
  PAPER_A5 = 0,
  PAPER_A4 = 1,
  PAPER_A3 = 2,
  PAPER_LETTER = 3,
  PAPER_LEGAL = 4,
  PAPER_JUNIOR_LEGAL = 5,
  PAPER_LEDGER = 6,
  PAPER_TABLOID = 7,
};

// Sheet sizes of the paper codes in points, in code order. The program's own sizes, which differ
// slightly from the standard ones (Letter is 790 high, not 792).
struct MergePaperSize {
  int32_t nWidth, nHeight;
};
inline constexpr MergePaperSize kMergePaperSizes[] = {
    {420, 595},  // A5
    {595, 842},  // A4
    {842, 1190}, // A3
    {612, 790},  // Letter
    {612, 1009}, // Legal
    {575, 360},  // Junior Legal
    {1224, 790}, // Ledger
    {790, 1224}, // Tabloid
};

// Encryption of a protected output. AES-256 unless a caller asks otherwise; RC4 with a 40-bit
// key is broken in minutes and stays only for readers that know nothing newer.
enum MergeEncryption : int32_t {
  ENCRYPT_RC4_40 = 0,
  ENCRYPT_RC4_128 = 1,
  ENCRYPT_AES_128 = 2,
  ENCRYPT_AES_256 = 3,
};

// The most pages one job places (and one page selection holds): a job that selects more is
// refused, so that no selection can ask for more memory than there is.
constexpr int32_t kMaxMergePages = 10 * 1000 * 1000;

// Why a run failed (GetFailureCode).
enum MergeFailure : int32_t {
  MERGE_FAILURE_NONE = 0,
  MERGE_FAILURE_CANCELLED = 1,
  MERGE_FAILURE_PAGE = 2,     // a selected page is not in its file
  MERGE_FAILURE_OUTPUT = 3,   // the output cannot be written
  MERGE_FAILURE_PASSWORD = 4, // a password cannot be encoded for the chosen encryption
  MERGE_FAILURE_INTERNAL = 5,
  MERGE_FAILURE_SOURCE = 6,  // a source changed while it was read, or could not be used
  MERGE_FAILURE_EMPTY = 7,   // nothing to merge: no page selected, or no source usable
  MERGE_FAILURE_REQUEST = 8, // a request the engine cannot run (a pages per sheet code it lacks)
};

// What a run repaired in a source or left out of the output (GetNotices).
struct MergeSourceNote {
  int32_t nSource = -1;  // position of the source in the list, from 0
  std::wstring strPath;  // the source's path
  int32_t nPage = 0;     // 1-based page of that source, or 0 for the whole source
  bool bSkipped = false; // the source was left out of the output
  std::wstring strText;  // what happened ("damaged beyond repair: no document catalog")
};

// What a probe found (ProbeSource).
enum ProbeStatus : int32_t {
  PROBE_OK = 0,
  PROBE_UNREADABLE = 1,  // missing, a folder, or no permission
  PROBE_UNSUPPORTED = 2, // neither a PDF nor a picture by its name
  PROBE_NOT_PDF = 3,
  PROBE_DAMAGED = 4, // damaged beyond repair
  PROBE_NEEDS_PASSWORD = 5,
  PROBE_WRONG_PASSWORD = 6,
  PROBE_BAD_ENCRYPTION = 7, // encryption that is damaged or of an unknown kind
  PROBE_BAD_PICTURE = 8,    // not a readable picture
  PROBE_TOO_LARGE = 9,      // a picture larger than the engine decodes
  PROBE_CANCELLED = 10,     // the caller's cancel callback stopped the reading
};

struct MergeRequest;     // MergeRequest.h: a whole job as one record
struct PageRangeReading; // MergeRequest.h: the pages of a range text, or why it does not read

// One appended source. Owned by the MergerTool that appended it.
struct MergeSrc {
  int32_t nIndex = 0;                // caller's identifier of the source
  std::wstring strPath;              // full path of the PDF or picture
  int32_t nPageCount = 0;            // caller's page count (1 for a picture)
  bool bAllPages = false;            // no range text: pages 1..nPageCount
  std::vector<int32_t> vecPages;     // selected 1-based pages in output order
  const char *pszPassword = nullptr; // not copied: the caller keeps it alive
  int64_t nFileSize = -1;            // size when the caller read the file; -1 not known
  int64_t nFileModified = 0;         // its modification time then, ns since 1970
};

class MERGERTOOL_API MergerTool {
public:
  MergerTool();
  // Copies share nothing: the sources are copied record by record.
  MergerTool(const MergerTool &other);
  MergerTool &operator=(const MergerTool &other);
  virtual ~MergerTool();

  // Page count of a PDF, or -1 when it cannot be opened without a password or read at all.
  static int32_t GetPdfInfo(const wchar_t *pszPath);
  // Page count of a source as the merge will see it (a picture counts 1), opened with a
  // password when one is given (null: none); -1 when it cannot be used, with the reason as a
  // ProbeStatus and as a sentence when the pointers are not null.
  static int32_t ProbeSource(const wchar_t *pszPath, const char *pszPassword, int32_t *pnStatus,
                             std::wstring *pstrReason);
  // The same, also giving the file as it was read (size, and modification time in ns since 1970,
  // taken before reading; -1 and 0 when there is no file) for AppendMergeSrc or
  // MergeRequestSource, and stopping with PROBE_CANCELLED soon after pfnCancel(pUserData) says so
  // (null: never). Any of the pointers may be null.
  static int32_t ProbeSource(const wchar_t *pszPath, const char *pszPassword, int32_t *pnStatus,
                             std::wstring *pstrReason, int64_t *pnFileSize, int64_t *pnFileModified,
                             MergeCancelFn pfnCancel, void *pUserData);
  // True when the picture at the path is one the engine can place (JPEG, PNG, BMP, TIFF with a
  // readable header; a JPEG also complete); its upright size in pixels goes to the pointers.
  static bool GetImageInfo(const wchar_t *pszPath, int32_t *pnWidth, int32_t *pnHeight);
  // The pages a range text (UTF-8) selects of a document of nPageCount pages, in the text's
  // order: comma-separated items "N", "A-B" (A down to B when A is greater), "A-" (A to the last
  // page), "-B" (1 to B), blanks around numbers and empty items allowed; or the whole text "Odd"
  // or "Even". False at the first item that names no page of the document or does not read,
  // with its number, its position and the reason in reading.
  static bool ReadPageRange(const char *pszText, int32_t nPageCount, PageRangeReading &reading);
  // Fills vecPages with the pages of a range text (Windows-1252) as ReadPageRange reads it, but
  // leaves out what it cannot use instead of stopping: items that do not read (the result is then
  // false), pages outside 1 .. nPageCount (false when a range keeps none of its pages).
  static bool GetSelectPage(const char *pszRange, std::vector<int32_t> &vecPages,
                            int32_t nPageCount);

  void SetCallBack(void *pUserData, MergeProcessFn pfnProcess, MergeCancelFn pfnCancel);
  // Sheet size in points (width or height <= 0: each sheet takes its first item's size).
  // False when the size or the N-up code was refused; the valid parts are applied anyway.
  bool SetLayout(int32_t nWidth, int32_t nHeight, int32_t nNUp, int32_t nOrientation);
  // Paper code 0..7 (other codes: size from each sheet's first item). False for a bad N-up code.
  bool SetLayout(int32_t nPaper, int32_t nNUp, int32_t nOrientation);
  void SetOutPDFPath(const wchar_t *pszPath);
  void SetProcessPath(const wchar_t *pszPath);
  // Appends one source; rangeText null means all pages. False for a negative index or null path.
  bool AppendMergeSrc(int32_t nIndex, const wchar_t *pszPath, int32_t nPageCount,
                      const char *pszRange, const char *pszPassword);
  // The same for a file the caller has read (counted its pages): when the merge opens it, a file
  // whose size or modification time (ns since 1970) is no longer this is refused as changed.
  bool AppendMergeSrc(int32_t nIndex, const wchar_t *pszPath, int32_t nPageCount,
                      const char *pszRange, const char *pszPassword, int64_t nFileSize,
                      int64_t nFileModified);
  void ClearMergeData();
  // How the passwords of this job (SetOpenPwd, SetPemissionPwd, AppendMergeSrc) are read when
  // it runs: Windows-1252 text (the default, as older callers give them) or UTF-8.
  void SetPasswordsUtf8(bool bUtf8);
  // The byte forms a source's password (UTF-8) may have been written in, likeliest first:
  // for readers that take a password as bytes and try one at a time.
  static std::vector<std::string> GetPasswordForms(const char *pszPassword);
  void SetOpenPwd(const char *pszPassword);
  // Call after SetOpenPwd: without a text the permission password defaults to the open one.
  void SetPemissionPwd(const char *pszPassword, bool bEdit, bool bCopy, bool bPrint);
  // The algorithm used when a password is set (default ENCRYPT_AES_256). False for an unknown
  // code, which leaves the choice unchanged.
  bool SetEncryption(int32_t nEncryption);
  // Whether the output gets an outline: one entry per merged file with the file's own outline
  // below it (default on). Links of the sources are carried over either way.
  void SetBookmarks(bool bBookmarks);
  // Whether the output packs its objects into compressed object streams with a cross-reference
  // stream (default on, PDF 1.5); off writes a classic table for older readers.
  void SetObjectStreams(bool bObjectStreams);
  // Whether form fields are drawn flat even at one page per sheet (default off: there they stay
  // fillable; at two or four per sheet they are always drawn flat).
  void SetFlattenForms(bool bFlattenForms);
  // Whether a source that cannot be used is left out and named in GetNotices (default), or
  // fails the run before anything is written.
  void SetSkipBadSources(bool bSkip);
  // Runs the job: nIndex >= 0 reports all progress under nIndex, -1 per source.
  // True when the output file was written; false when cancelled or failed. An existing
  // file at the output path is replaced only by a completely written output that holds at least
  // one page; an output path that names one of the sources is refused before anything is read.
  bool StartMerge(int32_t nIndex);
  // Runs the job the request describes, with this tool's callbacks (SetCallBack), as
  // StartMerge(nIndex) runs its own: the sources and settings set on the tool are neither used nor
  // changed. GetFailureCode, GetFailureText and GetNotices then tell of this run.
  bool StartMerge(const MergeRequest &request, int32_t nIndex);
  // Why the last StartMerge returned false (MERGE_FAILURE_NONE after a success), and the same
  // as a sentence that names the source, the page or the system's error.
  int32_t GetFailureCode() const;
  const std::wstring &GetFailureText() const;
  // What the last StartMerge repaired or left out: sources skipped (bSkipped), damage mended.
  const std::vector<MergeSourceNote> &GetNotices() const;

protected:
  void NotifyProcess(int32_t nIndex, int32_t nPercent);
  bool TestCancel();

  MergeProcessFn m_pfnProcess;
  MergeCancelFn m_pfnCancel;
  void *m_pUserData;
  bool m_bOpenPwd;
  std::string m_strOpenPwd;
  bool m_bPermissionPwd;
  std::string m_strPermissionPwd;
  int32_t m_nPermissions;
  int32_t m_nPageWidth;
  int32_t m_nPageHeight;
  int32_t m_nNUp;
  int32_t m_nOrientation;
  int32_t m_nTotalPages;
  std::wstring m_strOutPath;
  std::wstring m_strProcessPath;
  std::list<std::unique_ptr<MergeSrc>> m_lstSrc;
  int32_t m_nEncryption;
  bool m_bBookmarks;
  bool m_bObjectStreams;
  bool m_bFlattenForms;
  bool m_bPasswordsUtf8;
  bool m_bSkipBadSources;
  int32_t m_nFailure;
  std::wstring m_strFailure;
  std::vector<MergeSourceNote> m_vecNotices;

private:
  MERGERTOOL_LOCAL void CopyFrom(const MergerTool &other);
};
