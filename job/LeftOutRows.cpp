#include "LeftOutRows.h"

#include "AnsiText.h"
#include "Localization.h"
#include "MergeRequest.h"
#include "MergerTool.h"
#include "PathText.h"

#include <algorithm>
#include <cwchar>

namespace {

// The reader's own reasons for a file it cannot open start with these words too; said once is
// enough.
const wchar_t kReaderPrefix[] = L"cannot be read: ";

// A range that reads and selects nothing ("Even" of one page, a lone comma). A range that does
// not read is no reason to leave the row out: the run stops on it and says where.
bool SelectsNoPage(const _stru_ItemData_ &row) {
  if (row.HasAllPages())
    return row.nTotalPage < 1;
  PageRangeReading reading;
  return MergerTool::ReadPageRange(WideToUtf8(*row.pszPageRange).c_str(), row.nTotalPage,
                                   reading) &&
         reading.vecPages.empty();
}

} // namespace

std::wstring ShownFileName(const std::wstring &path) {
  return ReadableText(FileNameOfPath(path, PathSeparators::kSlashOrBackslash));
}

bool FindLeftOutReason(const _stru_ItemData_ &row, LeftOutReason *reason) {
  if (row.nReadState == READ_PENDING)
    *reason = LEFT_OUT_READING;
  else if (row.nReadState == READ_NEEDS_PASSWORD)
    *reason = LEFT_OUT_LOCKED;
  else if (row.nStatus == STATUS_LOAD_FAILED || row.nTotalPage < 1)
    *reason = LEFT_OUT_UNREADABLE;
  else if (SelectsNoPage(row))
    *reason = LEFT_OUT_NO_PAGES;
  else
    return false;
  return true;
}

std::vector<LeftOutRow> FindLeftOutRows(const std::vector<_stru_ItemData_> &rows) {
  std::vector<LeftOutRow> leftOut;
  for (size_t i = 0; i < rows.size(); ++i) {
    LeftOutReason reason;
    if (FindLeftOutReason(rows[i], &reason))
      leftOut.push_back({i, reason});
  }
  return leftOut;
}

std::wstring DescribeLeftOutReason(const _stru_ItemData_ &row, LeftOutReason reason) {
  static const int kTextIds[] = {IDS_LEFT_UNREADABLE, IDS_LEFT_LOCKED, IDS_LEFT_READING,
                                 IDS_LEFT_NO_PAGES};
  std::wstring text = LoadLangString(kTextIds[reason]);
  if (reason == LEFT_OUT_UNREADABLE && !row.strReadProblem.empty()) {
    std::wstring why = row.strReadProblem;
    if (why.rfind(kReaderPrefix, 0) == 0)
      why.erase(0, std::wcslen(kReaderPrefix));
    text += L": " + why;
  }
  return text;
}

std::wstring ListLeftOutRows(const std::vector<_stru_ItemData_> &rows,
                             const std::vector<LeftOutRow> &leftOut) {
  std::wstring text;
  for (const LeftOutRow &left : leftOut) {
    const _stru_ItemData_ &row = rows[left.nRow];
    if (!text.empty())
      text += L"\n";
    text += std::to_wstring(left.nRow + 1) + L". " + ShownFileName(row.szFilePath) + L": " +
            DescribeLeftOutReason(row, left.nReason);
  }
  return text;
}

std::wstring DescribeNothingToMerge(const std::vector<_stru_ItemData_> &rows,
                                    const std::vector<LeftOutRow> &leftOut) {
  const bool onlyRanges =
      !leftOut.empty() && std::all_of(leftOut.begin(), leftOut.end(), [](const LeftOutRow &row) {
        return row.nReason == LEFT_OUT_NO_PAGES;
      });
  std::wstring text = LoadLangString(onlyRanges ? IDS_NOTHING_SELECTED : IDS_NOTHING_USABLE);
  if (!leftOut.empty())
    text += L"\n\n" + ListLeftOutRows(rows, leftOut);
  return text;
}
