#pragma once
// One merge job as one record, the way into the engine for callers that know what they want:
//
//   MergeRequest request;
//   request.strOutPath = "/home/me/merged.pdf";
//   request.SetPaper(PAPER_A4);
//   MergeRequestSource source;
//   source.strPath = "/home/me/report.pdf";
//   PageRangeReading reading;
//   if (!MergerTool::ReadPageRange("1-3, 7", nPageCount, reading))
//     ... // reading.nPosition and reading.strReason say what is wrong with the text
//   source.bAllPages = false;
//   source.vecPages = reading.vecPages;
//   request.vecSources.push_back(source);
//   MergerTool tool;
//   tool.SetCallBack(pUserData, OnProgress, OnCancel);
//   bool bWritten = tool.StartMerge(request, 0);
//
// Every text is UTF-8 (a path: the bytes of its name), and a selection is a list of pages, not a
// text to be read again: what the caller checked is what is merged. MergerTool's setters fill
// the same record from the older texts (Windows-1252, range texts) when StartMerge(nIndex) runs.

#include "MergerTool.h"

#include <cstdint>
#include <string>
#include <vector>

// One source, in output order.
struct MergeRequestSource {
  int32_t nIndex = 0;     // caller's identifier; per-source progress comes as nIndex - 1
  std::string strPath;    // the PDF or picture
  int32_t nPageCount = 0; // the caller's page count: bounds bAllPages (0: every page the file has)
  bool bAllPages = true;  // every page from 1 to nPageCount; otherwise vecPages
  std::vector<int32_t> vecPages; // 1-based pages in output order (repeats allowed)
  bool bHasPassword = false;
  std::string strPassword; // opens an encrypted PDF
  // The file as the caller read it (its pages counted and chosen on it): a source whose size or
  // modification time (ns since 1970) is no longer this is refused as changed. -1: not checked.
  int64_t nFileSize = -1;
  int64_t nFileModified = 0;
};

struct MergeRequest {
  std::vector<MergeRequestSource> vecSources;
  std::string strOutPath; // replaced only by a complete output that holds at least one page

  // Sheet size in points (width or height <= 0: each sheet takes its first item's size), pages
  // per sheet (0 one, 1 two, 2 four; another code fails the run), orientation (0 Auto,
  // 1 Vertical, 2 Horizontal; another code is Auto).
  int32_t nPageWidth = 595, nPageHeight = 842;
  int32_t nNUp = 0, nOrientation = 0;

  // Protection: none unless a password is on and has a text. Readers need the open password to
  // open the output; the permission password lifts what nPermissions (4 print, 8 edit, 16 copy)
  // withholds. With only the open password, it is the permission password as well.
  bool bOpenPwd = false;
  std::string strOpenPwd;
  bool bPermissionPwd = false;
  std::string strPermissionPwd;
  int32_t nPermissions = 0;
  int32_t nEncryption = ENCRYPT_AES_256;

  bool bBookmarks = true; // an outline entry per merged file, with the file's own outline
  bool bObjectStreams =
      true; // objects packed into compressed object streams (PDF 1.5); off: a classic table
  bool bFlattenForms = false;  // form fields drawn flat at one page per sheet too
  bool bSkipBadSources = true; // a source that cannot be used is left out (GetNotices says so)

  // The sheet size of a paper code (MergePaper); another code: each sheet its first item's size.
  void SetPaper(int32_t nPaper) {
    const bool bKnown = nPaper >= PAPER_A5 && nPaper <= PAPER_TABLOID;
    nPageWidth = bKnown ? kMergePaperSizes[nPaper].nWidth : -1;
    nPageHeight = bKnown ? kMergePaperSizes[nPaper].nHeight : -1;
  }
};

// What is wrong with a range text (ReadPageRange).
enum PageRangeProblem : int32_t {
  RANGE_OK = 0,
  RANGE_NOT_A_NUMBER = 1, // a character other than a digit, '-', ',' or a blank
  RANGE_NO_END = 2,       // a '-' with no page on either side
  RANGE_TWO_DASHES = 3,
  RANGE_PAGE_ZERO = 4,   // pages count from 1
  RANGE_BEYOND_LAST = 5, // a page after the document's last
  RANGE_TOO_MANY = 6,    // more pages than one job places (kMaxMergePages)
};

// The pages a range text selects, or where and why it cannot be read.
struct PageRangeReading {
  std::vector<int32_t> vecPages; // 1-based, in the text's order; on a problem, those before it
  int32_t nProblem = RANGE_OK;
  int32_t nItem = 0;      // the bad item, counting the comma-separated items from 1
  int32_t nPosition = 0;  // the fault's character in the text, counting from 0
  std::wstring strReason; // "page 8 is beyond the last page (5)"
};
