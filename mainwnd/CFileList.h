#pragma once
#include <memory>
#include <string>
#include <vector>

#include <wx/imaglist.h>
#include <wx/weakref.h>

#include "ItemData.h"
#include "controls/CXListCtrl.h"

// The main window's file list: five columns over a CXListCtrl, one _stru_ItemData_ per row. The
// records are owned here; each row's item data points at its record. Rows are added, moved and
// deleted only through this class, and every change renumbers column 0 so that it shows each
// row's 1-based position. The main window calls Retranslate on WM_LANGUAGE_CHANGED.
//
// A row is listed at once and read afterwards, a picture as much as a PDF (a file named .jpg
// need not be a picture): AppendFile hands its record to the reader function, whose answer comes
// back, maybe much later, through TakeReadAnswer with the record's nItemID (the row may have
// moved or gone meanwhile). A row that a merge would leave out says why in the tool tips of its
// page count and page range cells.
class CFileList {
public:
  // Background colours of the two kinds of row (text is black).
  static constexpr COLORREF kPictureColor = RGBColor(200, 251, 221);
  static constexpr COLORREF kPdfColor = RGBColor(245, 205, 223);

  // Asks for a row's reading; the answer goes to TakeReadAnswer.
  using ReadRequest = std::function<void(const _stru_ItemData_ &record)>;

  // Works on list, which must outlive nothing: the records are released when this object
  // goes. read asks for the reading of every new row; without it files are read at once, on
  // this thread.
  explicit CFileList(CXListCtrl *list, ReadRequest read = ReadRequest());
  ~CFileList();
  CFileList(const CFileList &) = delete;
  CFileList &operator=(const CFileList &) = delete;

  // Sets up the list: the five columns sized to its width, full-row selection, grid lines,
  // tool tips and 30-pixel rows.
  void SetupColumns();
  // Sizes the columns by their weights to the list's current width.
  void LayoutColumns();

  // Appends a row for path when its extension is supported: fills its record and its five cells;
  // the file is shown as being read and its reading asked for. Returns the new row, or -1 when
  // the extension is not supported (nothing is added).
  int AppendFile(const std::wstring &path);
  // Takes a reading's answer for the row whose record has itemId (page count, whether only a
  // password was missing, why the file is unusable, the file as it was read) and shows it. False
  // when no row has that record any more.
  bool TakeReadAnswer(int32_t itemId, int32_t pages, bool needsPassword,
                      const std::wstring &problem = std::wstring(), int64_t readSize = -1,
                      int64_t readModified = 0);
  // The row whose record has itemId, -1 for none.
  int FindRow(int32_t itemId) const;
  // How many rows are still being read.
  int GetReadingCount() const;

  int GetCount() const;
  // The record of a row, or null outside 0 .. count - 1 or for a row without one.
  _stru_ItemData_ *GetItemData(int row) const;

  // Releases the row's record, deletes the row and renumbers the rows after it.
  bool DeleteRow(int row);
  // Releases every record and row, last row first.
  void RemoveAll();
  // Moves row from to the insertion position to, counted before the move (from + 2 moves it one
  // down, the row count to the end), keeping its record and selection, and renumbers. False when
  // nothing moves: equal or neighbouring positions, or a position outside the list.
  bool MoveRow(int from, int to);
  // Sets column 0 of rows from .. end to their positions.
  void Renumber(int from = 0);
  // Writes every cell of a row again from its record (kind colours, texts, tool tip).
  void ShowRecord(int row);

  // A custom range for a row's PDF, shown in column 4. False for an invalid row.
  bool SetPageRange(int row, const std::wstring &range);
  // Back to all pages: the range buffer, when there is one, is kept and emptied.
  bool SetAllPages(int row);

  // Texts of the current language: the page range cells of rows without a custom range and
  // the five column headers.
  void Retranslate();

  CXListCtrl *GetListCtrl() const { return m_list.get(); }

private:
  void SetCell(int row, int col, const std::wstring &text, bool isPdf);
  // The page range cell and the tool tips that say why the row is left out of a merge.
  void ShowPageRange(int row);
  // Takes the row out of the list and hands its record over (null for a row without one).
  std::unique_ptr<_stru_ItemData_> TakeRow(int row);
  // Inserts a row at position row for record, which it then owns, and shows it; the new row, or
  // -1 (the record is released) when the list refused it.
  int InsertRow(int row, std::unique_ptr<_stru_ItemData_> record);

  wxWeakRef<CXListCtrl> m_list;
  std::vector<std::unique_ptr<_stru_ItemData_>> m_records; // one per row, in no particular order
  ReadRequest m_read;
  wxImageList m_rowHeightImages; // empty 1 x 30 list: it sets the row height
};
