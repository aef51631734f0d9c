#pragma once
#include <string>

#include <wx/imaglist.h>
#include <wx/weakref.h>

#include "ItemData.h"
#include "controls/CXListCtrl.h"

// The main window's file list: five columns over a CXListCtrl whose rows each own one
// _stru_ItemData_ (kept as the row's item data). Every change renumbers column 0 so that it
// shows each row's 1-based position. The main window calls Retranslate on WM_LANGUAGE_CHANGED.
class CFileList {
public:
  // Background colours of the two kinds of row (text is black).
  static constexpr COLORREF kPictureColor = RGBColor(200, 251, 221);
  static constexpr COLORREF kPdfColor = RGBColor(245, 205, 223);

  // Works on list, which must outlive nothing: the records are released when this object
  // goes. probe reads PDF page counts (MergerTool::GetPdfInfo unless a test gives another).
  explicit CFileList(CXListCtrl *list, PdfProbe probe = PdfProbe());
  ~CFileList();
  CFileList(const CFileList &) = delete;
  CFileList &operator=(const CFileList &) = delete;

  // Sets up the list: the five columns sized to its width, full-row selection, grid lines,
  // tool tips and 30-pixel rows.
  void SetupColumns();
  // Sizes the columns by their weights to the list's current width.
  void LayoutColumns();

  // Appends a row for path when its extension is supported: fills its record (the page count
  // of a PDF by the probe) and its five cells. Returns the new row, or -1 when the extension is
  // not supported (nothing is added).
  int AppendFile(const std::wstring &path);

  int GetCount() const;
  // The record of a row, or null outside 0 .. count - 1 or for a row without one.
  _stru_ItemData_ *GetItemData(int row) const;

  // Releases the row's record, deletes the row and renumbers the rows after it.
  bool DeleteRow(int row);
  // Releases every record and row, last row first.
  void RemoveAll();
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

  wxWeakRef<CXListCtrl> m_list;
  PdfProbe m_probe;
  wxImageList m_rowHeightImages; // empty 1 x 30 list: it sets the row height
};
