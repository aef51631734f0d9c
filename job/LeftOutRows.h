#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "ItemData.h"

// Which rows of the list a merge leaves out, and why, said the same way wherever the user reads
// it: in the list's tool tips and status line, in the question Build asks, and in the progress
// dialog's report after the run.

// Why a row takes no part in a merge.
enum LeftOutReason {
  LEFT_OUT_UNREADABLE, // the reading found the file unusable
  LEFT_OUT_LOCKED,     // it opens only with a password that was not given
  LEFT_OUT_READING,    // its reading has not answered yet
  LEFT_OUT_NO_PAGES,   // its page range selects no page
};

struct LeftOutRow {
  size_t nRow; // position in the list, from 0
  LeftOutReason nReason;
};

// String identifiers of the texts said about left-out rows.
enum LeftOutTextId {
  IDS_LEFT_UNREADABLE = 271,   // "cannot be read"
  IDS_LEFT_LOCKED = 272,       // "locked: its password was not given"
  IDS_LEFT_READING = 273,      // "still being read"
  IDS_LEFT_NO_PAGES = 274,     // "its page range selects no page"
  IDS_LEFT_OUT_QUESTION = 275, // "These files will be left out of the merge:"
  IDS_BUILD_WITHOUT = 276,     // "Build without them?"
  IDS_NOTHING_USABLE = 277,    // nothing to build: no file can be used
  IDS_NOTHING_SELECTED = 278,  // nothing to build: the page ranges select no page
  IDS_LEFT_OUT_REPORT = 279,   // "Left out of the merge:", after the run
  IDS_MERGE_REPORT = 280,      // "Reported by the merge:"
  IDS_LEFT_OUT_SUMMARY = 282,  // how many are left out, for the status line
  IDS_READER_STOPPED = 283,    // the reader crashed or hung on the file
};

// The file name of path as the list and every message about a row show it: the one place where a
// name is made readable for the user (bytes that are not UTF-8 shown as Windows-1252
// characters). For showing only: it no longer names the file.
std::wstring ShownFileName(const std::wstring &path);

// Why row is left out of a merge; false when it is merged.
bool FindLeftOutReason(const _stru_ItemData_ &row, LeftOutReason *reason);
// Every row that a merge of rows leaves out, in list order.
std::vector<LeftOutRow> FindLeftOutRows(const std::vector<_stru_ItemData_> &rows);
// Why the row is left out, in the current language, followed by the reader's own reason when it
// gave one: "cannot be read: not a PDF (...)".
std::wstring DescribeLeftOutReason(const _stru_ItemData_ &row, LeftOutReason reason);
// "3. name.pdf: why", one line for every left-out row (its position counted from 1, as the list
// shows it); a long list scrolls in the message box that shows it.
std::wstring ListLeftOutRows(const std::vector<_stru_ItemData_> &rows,
                             const std::vector<LeftOutRow> &leftOut);
// When every row is left out: why nothing can be merged (no row usable, or the page ranges of
// the usable ones select nothing), with the list of rows.
std::wstring DescribeNothingToMerge(const std::vector<_stru_ItemData_> &rows,
                                    const std::vector<LeftOutRow> &leftOut);
