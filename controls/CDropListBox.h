#pragma once
#include <vector>

#include <wx/window.h>

#include "controls/CAdvComboBox.h"

class CDropScrollBar;

// The list of the drop-down: one row per choice with a copy of its record, a selection that
// follows the pointer (but never onto a disabled row), and a top row the scroll bar follows.
class CDropListBox : public wxWindow {
public:
  CDropListBox(CAdvComboBox *combo, wxWindow *parent, const wxRect &rect);

  // Appends a row with a copy of the choice record; returns its index.
  int AddString(const ListItemData &item);
  int GetCount() const { return static_cast<int>(m_items.size()); }
  const ListItemData *GetItemData(int index) const;
  int GetCurSel() const { return m_sel; }
  // Selects index (-1 for none), scrolling it into view; -1 for an invalid index.
  int SetCurSel(int index);
  int GetTopIndex() const { return m_top; }
  // Makes index the top row (limited to the rows); -1 for an invalid index.
  int SetTopIndex(int index);
  int GetItemHeight() const { return m_itemHeight; }
  void SetItemHeight(int height);
  int GetVisibleRows() const;
  // The row under a point of the list's client area, or -1.
  int RowAt(const wxPoint &pt) const;
  void SetScrollBar(CDropScrollBar *bar) { m_pScrollBar = bar; }
  // Text of the widest row, measured in dc.
  int WidestText(wxDC &dc) const;

  // The pointer moved over pt: hot tracking.
  void PointerMove(const wxPoint &pt);
  // The left button went up at pt: picks an enabled row.
  void PointerUp(const wxPoint &pt);

private:
  void OnPaint(wxPaintEvent &event);
  void OnMotion(wxMouseEvent &event);
  void OnLeftUp(wxMouseEvent &event);
  void OnWheel(wxMouseEvent &event);
  void SyncScrollBar();

  CAdvComboBox *m_pCombo;
  CDropScrollBar *m_pScrollBar = nullptr;
  std::vector<ListItemData> m_items;
  int m_sel = -1;
  int m_top = 0;
  int m_itemHeight = 15;
};
