#pragma once
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include <wx/imaglist.h>
#include <wx/timer.h>
#include <wx/window.h>

#include "controls/CXHeaderCtrl.h"
#include "controls/Colors.h"
#include "controls/XListCellData.h"
#include "controls/XListEvents.h"

// Extended styles of the list.
enum : long {
  LVS_EX_GRIDLINES = 0x0001,
  LVS_EX_FULLROWSELECT = 0x0020,
  LVS_EX_INFOTIP = 0x0400,
};
// Areas of GetCellRect.
enum { LVIR_BOUNDS = 0, LVIR_ICON = 1, LVIR_LABEL = 2 };
// Special widths of SetColumnWidth: fit the contents, or the contents and the header text.
enum { LVSCW_AUTOSIZE = -1, LVSCW_AUTOSIZE_USEHEADER = -2 };

// A report list that draws every cell itself and keeps an extra record per cell (colours, tool
// tip, user data, check box, progress bar, bold, image, editor flags), with its own painted
// header. Rows and columns are 0-based; every operation tests its indexes and answers 0 (or -1
// where an index is returned) for invalid ones.
//
// Besides the cell rules it behaves as users expect a list to: single, Ctrl and Shift
// selection, arrow keys, Home/End, Page Up/Down, wheel and scroll bars, right and double click.
// It notifies its parent with wxListEvents: wxEVT_LIST_ITEM_SELECTED / _DESELECTED when a row's
// selected state changes, wxEVT_LIST_ITEM_ACTIVATED on a double click on a row,
// wxEVT_LIST_ITEM_RIGHT_CLICK on a right click (index -1 below the rows), wxEVT_LIST_KEY_DOWN
// for each key, wxEVT_LIST_COL_CLICK for a header click, and the wxEVT_XLISTCTRL_* events.
class CXEdit;
class CXCombo;

class CXListCtrl : public wxWindow {
public:
  CXListCtrl();
  CXListCtrl(wxWindow *parent, wxWindowID id, const wxPoint &pos = wxDefaultPosition,
             const wxSize &size = wxDefaultSize);
  ~CXListCtrl() override;
  bool Create(wxWindow *parent, wxWindowID id, const wxPoint &pos = wxDefaultPosition,
              const wxSize &size = wxDefaultSize);

  // --- columns
  // Inserts a column; returns its index or -1.
  int InsertColumn(int col, const wxString &heading, int format = HDF_LEFT, int width = 80);
  // The header's item count.
  int GetColumns() const;
  // Sets the width, reads back the width chosen (so the automatic values work) and sets it
  // again plus twice the header's spacing.
  virtual bool SetColumnWidth(int col, int width);
  int GetColumnWidth(int col) const;
  CXHeaderCtrl *GetHeaderCtrl() { return &m_HeaderCtrl; }

  // --- rows
  int GetItemCount() const { return static_cast<int>(m_rows.size()); }
  // Inserts a row with the text in column 0 in the given colours; returns its index or -1.
  int InsertItem(int row, const wxString &text, COLORREF crText, COLORREF crBackground);
  int InsertItem(int row, const wxString &text);
  bool DeleteItem(int row);
  bool DeleteAllItems();
  wxString GetItemText(int row, int col = 0) const;
  int SetItemText(int row, int col, const wxString &text);
  // A null text keeps the text; a colour of -1 is the control's window-text / window colour.
  int SetItemText(int row, int col, const wchar_t *text, COLORREF crText, COLORREF crBackground);
  int SetItemToolTipText(int row, int col, const wxString &text);
  wxString GetItemToolTipText(int row, int col) const;
  std::uintptr_t GetItemData(int row) const;
  int SetItemData(int row, std::uintptr_t data);
  // The record of a cell, or null for an invalid cell or a row without records.
  XListCellData *GetCellData(int row, int col);
  const XListCellData *GetCellData(int row, int col) const;
  void DeleteProgress(int row, int col);
  int GetEnabled(int row) const;
  int SetEnabled(int row, bool enabled);
  int SetBold(int row, int col, bool bold);
  int SetCheckbox(int row, int col, int checkedState);
  int GetCheckbox(int row, int col) const;
  int SetProgress(int row, int col, int percent, const wxString &format = wxString());
  int SetItemImage(int row, int col, int image);
  int CountCheckedItems(int col) const;
  int GetHeaderCheckedState(int col) const;
  int SetHeaderCheckedState(int col, int state);
  bool GetModified() const { return m_bListModified; }
  void SetModified(bool modified) { m_bListModified = modified; }

  // --- selection and focus
  int GetCurSel() const;
  bool SetCurSel(int row, bool ensureVisible = false);
  bool IsSelected(int row) const;
  // Selects or deselects one row, with its notification.
  void Select(int row, bool select = true);
  void SelectAll();
  void DeselectAll();
  int GetSelectedCount() const;
  std::vector<int> GetSelectedItems() const;
  int GetFocusedItem() const { return m_focus; }
  void SetFocusedItem(int row);

  // --- geometry
  bool GetCellRect(int row, int col, int area, wxRect &rect) const;
  wxRect GetCellRect(int row, int col, int area = LVIR_BOUNDS) const;
  // The row under a point of the list's client area, or -1; *col gets the column (or -1).
  int HitTest(const wxPoint &pt, int *col = nullptr) const;
  int GetTopItem() const { return m_top; }
  // Rows that fit fully in the visible area (at least 1).
  int GetCountPerPage() const;
  void EnsureVisible(int row);
  void ScrollToRow(int top);
  int GetRowHeight() const { return m_rowHeight; }
  // The area below the header where the rows are drawn.
  wxRect GetRowsArea() const;

  // --- look
  void SetExtendedStyle(long style);
  long GetExtendedStyle() const { return m_exStyle; }
  void SetShowSelectionAlways(bool show) { m_bShowSelAlways = show; }
  bool GetShowSelectionAlways() const { return m_bShowSelAlways; }
  // A small image list sets the row height (at least the image's height); not owned.
  void SetImageList(wxImageList *images);
  wxImageList *GetImageList() const { return m_pImageList; }
  void SetEllipsis(bool use) { m_bUseEllipsis = use; }
  // Re-reads the fourteen system colours.
  void SysColorChange();
  bool SetFont(const wxFont &font) override;

  // Redraws one cell: its rectangle grown by 2 pixels, at once.
  void UpdateSubItem(int row, int col);

  // --- in-cell editors
  // Registers an edit box (a window that is a wxTextEntry) opened over a cell: an edit box
  // already open is ended first, as when it loses the focus. The list then acts on the box's
  // wxEVT_XEDIT_KILL_FOCUS and wxEVT_XEDIT_VK_ESCAPE and destroys it.
  void BeginEdit(wxWindow *edit, int row, int col);
  // Registers a combo box (a window that is a wxItemContainerImmutable) opened over a cell; the
  // list's drawing is frozen until 50 ms later. The list acts on wxEVT_XCOMBOLIST_COMPLETE and
  // wxEVT_XCOMBOLIST_VK_ESCAPE, each 50 ms later, and destroys the combo.
  void BeginCombo(wxWindow *combo, int row, int col);
  wxWindow *GetEditWindow() const { return m_pEdit; }
  // Opens the edit box over a cell (valid, wider than 4 pixels, an enabled row with records),
  // scrolling it into view; ends an edit box already open first. Null when it cannot open.
  CXEdit *StartEdit(int row, int col);
  // Opens the drop-down list over a cell with the cell's choices, selecting its text (or the
  // cell's nInitialComboSel, once; else choice 0). Null when it cannot open.
  CXCombo *StartComboEdit(int row, int col);
  wxWindow *GetComboWindow() const { return m_pCombo; }

  // Tool tip id of a point: row * 1000 + column + 1, or -1 off the rows.
  int OnToolHitTest(const wxPoint &pt) const;
  // The tool tip text for a point (cut to 79 characters); empty when none.
  wxString GetToolTipTextAt(const wxPoint &pt) const;
  int GetCurrentToolId() const { return m_toolId; }

  // Paints the rows area clipped to clip onto dc (used by the paint handler and by tests).
  void PaintRows(wxDC &dc, const wxRect &clip);
  // The colours of a cell after the selection rule, from its own colours.
  void GetDrawColors(int row, int col, COLORREF &crText, COLORREF &crBkgnd) const;

  // The selection rule on its own: the colours of a cell of a selected row.
  static void SelectionColors(bool selected, bool fullRowOrCol0, bool hasFocus, bool showSelAlways,
                              COLORREF highlight, COLORREF highlightText, COLORREF windowText,
                              COLORREF buttonFace, COLORREF &crText, COLORREF &crBkgnd);

protected:
  // Opening of the in-cell editors from a click on a cell with bEdit or bCombo: StartEdit and
  // StartComboEdit.
  virtual void EditSubItem(int row, int col);
  virtual void ComboSubItem(int row, int col);
  // Makes the in-cell combo (not yet created).
  virtual CXCombo *NewCombo();
  // Whether the list has the keyboard focus (selected rows are drawn in highlight colours).
  virtual bool HasKeyboardFocus() const;

  // The colours read from the system, in this order.
  COLORREF m_cr3DFace, m_cr3DHighLight, m_cr3DShadow, m_crActiveCaption, m_crBtnFace, m_crBtnShadow,
      m_crBtnText, m_crGrayText, m_crHighLight, m_crHighLightText, m_crInactiveCaption,
      m_crInactiveCaptionText, m_crWindow, m_crWindowText;

private:
  friend class CXHeaderCtrl;
  struct Row {
    std::vector<wxString> texts;
    std::vector<XListCellData> cells; // empty: a row without records
    bool selected = false;
  };

  bool ValidRow(int row) const { return row >= 0 && row < GetItemCount(); }
  bool ValidCell(int row, int col) const { return ValidRow(row) && col >= 0 && col < GetColumns(); }
  bool RowUsable(int row) const; // has records and is enabled
  int HeaderHeight() const;
  void UpdateScrollBars();
  void LayoutHeader();
  void SetSelectedState(int row, bool selected);
  void SendListEvent(wxEventType type, int row, int col);
  void SendToParent(wxEventType type, int row, int col);
  void MeasureRowHeight();
  void RefreshRow(int row);
  void RefreshRowsFrom(int row);

  int TextWidth(wxDC &dc, const wxString &text, bool bold);
  void DrawSingleLine(wxDC &dc, wxString text, const wxRect &rect, int align, bool bold);
  void DrawSubItem(wxDC &dc, int row, int col);
  void DrawText(wxDC &dc, int row, int col, const wxRect &rect, COLORREF crText, COLORREF crBkgnd);
  int DrawImage(wxDC &dc, int row, int col, const wxRect &rect, COLORREF crText, COLORREF crBkgnd);
  void DrawCheckbox(wxDC &dc, int row, int col, const wxRect &rect, COLORREF crText,
                    COLORREF crBkgnd);
  void DrawProgress(wxDC &dc, int row, int col, const wxRect &rect, COLORREF crText,
                    COLORREF crBkgnd);
  void EraseOutsideRows(wxDC &dc, const wxRect &clip);
  void DrawGridLines(wxDC &dc, int first, int last);

  // Reactions shared by the mouse and the header.
  void OnColumnClick(int col);
  void OnColumnWidthsChanged();
  void ClickRow(int row, bool ctrl, bool shift);
  void MoveFocusByKey(int newFocus, bool ctrl, bool shift);
  int PageDownTarget() const;
  int PageUpTarget() const;
  void AfterKey(int selectedBefore, int keyCode, bool ctrl);

  void OnPaint(wxPaintEvent &event);
  void OnEraseBackground(wxEraseEvent &event);
  void OnSize(wxSizeEvent &event);
  void OnSysColourChanged(wxSysColourChangedEvent &event);
  void OnKeyDown(wxKeyEvent &event);
  void OnLeftDown(wxMouseEvent &event);
  void OnLeftDClick(wxMouseEvent &event);
  void OnRightDown(wxMouseEvent &event);
  void OnMotion(wxMouseEvent &event);
  void OnMouseWheel(wxMouseEvent &event);
  void OnScroll(wxScrollWinEvent &event);
  void OnFocusChange(wxFocusEvent &event);
  void OnTimer(wxTimerEvent &event);
  void OnXEditKillFocus(wxCommandEvent &event);
  void OnXEditEscape(wxCommandEvent &event);
  void OnXComboComplete(wxCommandEvent &event);
  void OnXComboEscape(wxCommandEvent &event);
  void EndEdit();
  void DiscardEdit();
  // Scrolls the rows sideways by dx pixels as far as they go; returns the distance scrolled.
  int ScrollHorizontally(int dx);
  void CompleteCombo();
  void CloseCombo();

  CXHeaderCtrl m_HeaderCtrl;
  bool m_bHeaderIsSubclassed = false;
  wxImageList *m_pImageList = nullptr;
  bool m_bUseEllipsis = true;
  bool m_bListModified = false;
  int m_nPadding = 5; // horizontal text inset
  wxString m_strInitialString;
  int m_nEditItem = -1, m_nEditSubItem = -1;
  int m_nComboItem = -1, m_nComboSubItem = -1;
  wxWindow *m_pEdit = nullptr;
  wxWindow *m_pCombo = nullptr;
  wxFont m_boldFont;
  // The in-cell combo's steps run a moment after the event that asks for them, once the event
  // that opened, picked or left the combo is over.
  static constexpr int kEditorDelayMs = 50;
  enum EditorTimer { kUnfreezeTimer = 1, kCloseComboTimer, kTakeChoiceTimer };
  wxTimer m_unfreezeTimer;   // unfreezes drawing after a combo opened
  wxTimer m_closeComboTimer; // closes the combo
  wxTimer m_takeChoiceTimer; // takes the combo's choice

  std::vector<Row> m_rows;
  std::unordered_map<wxString, int> m_textWidths[2]; // measured widths, normal and bold
  long m_exStyle = 0;
  bool m_bShowSelAlways = true;
  int m_rowHeight = 17;
  int m_imageRowHeight = 0;
  int m_top = 0;     // first visible row
  int m_scrollX = 0; // horizontal scroll, pixels
  int m_focus = -1;
  int m_anchor = -1; // start of a Shift selection
  int m_toolId = -1;

  wxDECLARE_EVENT_TABLE();
};
