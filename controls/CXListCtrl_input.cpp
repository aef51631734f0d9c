// Keys, mouse, scrolling and tool tips of the extended list. The list's own selection model (the
// "default processing" a list view gives) comes first; the cell rules (disabled rows, check
// boxes, editors) are the steps around it.
#include <algorithm>

#include <wx/settings.h>

#include "controls/CXListCtrl.h"

namespace {
const int kToolTipMax = 79; // tool tip texts are cut to this many characters
const int kHorizontalLine = 16;
} // namespace

// ---------------------------------------------------------------- scrolling and layout

void CXListCtrl::LayoutHeader() {
  if (!m_bHeaderIsSubclassed)
    return;
  wxSize size = GetClientSize();
  // A static border widens the header's layout by two border widths.
  int extra =
      m_HeaderCtrl.GetStaticBorder() ? 2 * wxSystemSettings::GetMetric(wxSYS_BORDER_X, this) : 0;
  m_HeaderCtrl.SetSize(0, 0, size.x + std::max(0, extra), m_HeaderCtrl.GetBestHeight());
}

void CXListCtrl::UpdateScrollBars() {
  int perPage = GetCountPerPage();
  int maxTop = std::max(0, GetItemCount() - perPage);
  m_top = std::clamp(m_top, 0, maxTop);
  if (GetScrollPos(wxVERTICAL) != m_top || GetScrollRange(wxVERTICAL) != GetItemCount() ||
      GetScrollThumb(wxVERTICAL) != perPage)
    SetScrollbar(wxVERTICAL, m_top, perPage, GetItemCount());

  int total = m_HeaderCtrl.GetTotalWidth();
  int width = GetClientSize().x;
  m_scrollX = std::clamp(m_scrollX, 0, std::max(0, total - width));
  if (GetScrollPos(wxHORIZONTAL) != m_scrollX || GetScrollRange(wxHORIZONTAL) != total ||
      GetScrollThumb(wxHORIZONTAL) != width)
    SetScrollbar(wxHORIZONTAL, m_scrollX, width, total);
  m_HeaderCtrl.SetScrollOffset(m_scrollX);
}

void CXListCtrl::ScrollToRow(int top) {
  top = std::clamp(top, 0, std::max(0, GetItemCount() - GetCountPerPage()));
  if (top == m_top)
    return;
  m_top = top;
  SetScrollPos(wxVERTICAL, m_top);
  RefreshRect(GetRowsArea(), false);
}

void CXListCtrl::EnsureVisible(int row) {
  if (!ValidRow(row))
    return;
  int perPage = GetCountPerPage();
  if (row < m_top)
    ScrollToRow(row);
  else if (row >= m_top + perPage)
    ScrollToRow(row - perPage + 1);
}

void CXListCtrl::OnSize(wxSizeEvent &event) {
  LayoutHeader();
  UpdateScrollBars();
  Refresh(false);
  event.Skip();
}

void CXListCtrl::OnScroll(wxScrollWinEvent &event) {
  // A press on a scroll bar (the list's frame) ends an open edit box, as a loss of focus does.
  if (m_pEdit)
    EndEdit();
  bool vertical = event.GetOrientation() == wxVERTICAL;
  int pos = vertical ? m_top : m_scrollX;
  int line = vertical ? 1 : kHorizontalLine;
  int page = vertical ? GetCountPerPage() : GetClientSize().x;
  int max = vertical ? GetItemCount() : m_HeaderCtrl.GetTotalWidth();
  wxEventType type = event.GetEventType();
  if (type == wxEVT_SCROLLWIN_TOP)
    pos = 0;
  else if (type == wxEVT_SCROLLWIN_BOTTOM)
    pos = max;
  else if (type == wxEVT_SCROLLWIN_LINEUP)
    pos -= line;
  else if (type == wxEVT_SCROLLWIN_LINEDOWN)
    pos += line;
  else if (type == wxEVT_SCROLLWIN_PAGEUP)
    pos -= page;
  else if (type == wxEVT_SCROLLWIN_PAGEDOWN)
    pos += page;
  else if (type == wxEVT_SCROLLWIN_THUMBTRACK || type == wxEVT_SCROLLWIN_THUMBRELEASE)
    pos = event.GetPosition();
  if (vertical) {
    ScrollToRow(pos);
  } else {
    int clamped = std::clamp(pos, 0, std::max(0, max - GetClientSize().x));
    if (clamped != m_scrollX) {
      m_scrollX = clamped;
      SetScrollPos(wxHORIZONTAL, m_scrollX);
      m_HeaderCtrl.SetScrollOffset(m_scrollX);
      Refresh(false);
    }
  }
}

void CXListCtrl::OnMouseWheel(wxMouseEvent &event) {
  if (event.GetWheelAxis() != wxMOUSE_WHEEL_VERTICAL || event.GetWheelDelta() == 0) {
    event.Skip();
    return;
  }
  int lines =
      -event.GetWheelRotation() * std::max(1, event.GetLinesPerAction()) / event.GetWheelDelta();
  if (lines == 0)
    lines = event.GetWheelRotation() > 0 ? -1 : 1;
  ScrollToRow(m_top + lines);
}

// ---------------------------------------------------------------- hit testing and tool tips

int CXListCtrl::HitTest(const wxPoint &pt, int *col) const {
  if (col)
    *col = -1;
  wxRect area = GetRowsArea();
  if (!area.Contains(pt) || m_rowHeight <= 0)
    return -1;
  int row = m_top + (pt.y - area.y) / m_rowHeight;
  int x = pt.x + m_scrollX;
  if (!ValidRow(row) || x < 0 || x >= m_HeaderCtrl.GetTotalWidth())
    return -1;
  if (col) {
    for (int c = 0; c < GetColumns(); ++c)
      if (GetCellRect(row, c).Contains(pt)) {
        *col = c;
        break;
      }
  }
  return row;
}

int CXListCtrl::OnToolHitTest(const wxPoint &pt) const {
  int col = -1;
  int row = HitTest(pt, &col);
  if (row < 0)
    return -1;
  return row * 1000 + col + 1;
}

wxString CXListCtrl::GetToolTipTextAt(const wxPoint &pt) const {
  int col = -1;
  int row = HitTest(pt, &col);
  const XListCellData *cell = GetCellData(row, col);
  if (!cell)
    return wxString();
  return wxString(cell->strToolTip).Left(kToolTipMax);
}

void CXListCtrl::OnMotion(wxMouseEvent &event) {
  int id = OnToolHitTest(event.GetPosition());
  if (id != m_toolId) {
    // A new cell: a new tool, whose text is fetched again.
    m_toolId = id;
    wxString text = id > 0 ? GetToolTipTextAt(event.GetPosition()) : wxString();
    if (text.empty())
      UnsetToolTip();
    else
      SetToolTip(text);
  }
  event.Skip();
}

// ---------------------------------------------------------------- mouse

void CXListCtrl::ClickRow(int row, bool ctrl, bool shift) {
  if (shift && ValidRow(m_anchor)) {
    int from = std::min(m_anchor, row), to = std::max(m_anchor, row);
    for (int r = 0; r < GetItemCount(); ++r) {
      bool inRange = r >= from && r <= to;
      if (inRange)
        SetSelectedState(r, true);
      else if (!ctrl)
        SetSelectedState(r, false);
    }
  } else if (ctrl) {
    SetSelectedState(row, !m_rows[row].selected);
    m_anchor = row;
  } else {
    for (int r = 0; r < GetItemCount(); ++r)
      if (r != row)
        SetSelectedState(r, false);
    SetSelectedState(row, true);
    m_anchor = row;
  }
  SetFocusedItem(row);
  EnsureVisible(row);
}

void CXListCtrl::OnLeftDown(wxMouseEvent &event) {
  SetFocus();
  int col = -1;
  int row = HitTest(event.GetPosition(), &col);
  bool ctrl = event.ControlDown() || event.CmdDown(), shift = event.ShiftDown();
  if (row < 0 || col < 0) {
    if (m_pCombo)
      m_closeComboTimer.StartOnce(kEditorDelayMs);
    // Off the rows: a plain click clears the selection, as a list view does.
    if (!ctrl && !shift)
      DeselectAll();
    return;
  }
  if (!RowUsable(row))
    return; // disabled rows and rows without records take no clicks
  XListCellData *cell = GetCellData(row, col);
  if (!cell || cell->nCheckedState == -1) {
    ClickRow(row, ctrl, shift);
    if (cell && cell->bCombo) {
      ComboSubItem(row, col);
    } else if (cell && cell->bEdit) {
      EditSubItem(row, col);
    }
    return;
  }
  cell->bModified = true;
  m_bListModified = true;
  cell->nCheckedState = cell->nCheckedState == 0 ? 1 : 0;
  UpdateSubItem(row, col);
  SendToParent(wxEVT_XLISTCTRL_CHECKBOX_CLICKED, row, col);
  if (GetHeaderCheckedState(col) > 0) {
    int withBox = 0;
    for (int r = 0; r < GetItemCount(); ++r)
      if (const XListCellData *c = GetCellData(r, col))
        withBox += c->nCheckedState == 1;
    SetHeaderCheckedState(col, withBox == GetItemCount() ? 2 : 1);
  }
  ClickRow(row, ctrl, shift);
}

void CXListCtrl::OnLeftDClick(wxMouseEvent &event) {
  // The second press of a double click arrives here instead of as a press.
  OnLeftDown(event);
  int col = -1;
  int row = HitTest(event.GetPosition(), &col);
  // As a list view's double-click notification: for any row, the parent decides.
  if (row >= 0)
    SendListEvent(wxEVT_LIST_ITEM_ACTIVATED, row, col);
}

void CXListCtrl::OnRightDown(wxMouseEvent &event) {
  SetFocus();
  int col = -1;
  int row = HitTest(event.GetPosition(), &col);
  if (row >= 0 && !RowUsable(row))
    return;
  if (row >= 0 && !m_rows[row].selected)
    ClickRow(row, false, false);
  SendListEvent(wxEVT_LIST_ITEM_RIGHT_CLICK, row, col);
  event.Skip(); // lets a context-menu event follow
}

void CXListCtrl::OnColumnClick(int col) {
  int state = GetHeaderCheckedState(col);
  if (state == 1 || state == 2) {
    int newState = state == 1 ? 2 : 1;
    SetHeaderCheckedState(col, newState);
    for (int row = 0; row < GetItemCount(); ++row) {
      XListCellData *cell = GetCellData(row, col);
      if (!cell || cell->nCheckedState == -1)
        continue;
      cell->bModified = true;
      cell->nCheckedState = newState == 2 ? 1 : 0;
      RefreshRow(row);
    }
    m_bListModified = true;
  }
  SendListEvent(wxEVT_LIST_COL_CLICK, -1, col);
}

void CXListCtrl::OnFocusChange(wxFocusEvent &event) {
  // Coming in by the keyboard onto rows none of which has the focus yet, the first selected row
  // (or the first row) takes it, so that the focus shows and the arrow keys start there.
  if (event.GetEventType() == wxEVT_SET_FOCUS && !ValidRow(m_focus) && GetItemCount() > 0) {
    const int selected = GetCurSel();
    m_focus = selected >= 0 ? selected : 0;
  }
  // Selected rows change colour with the focus.
  RefreshRect(GetRowsArea(), false);
  event.Skip();
}

void CXListCtrl::OnSysColourChanged(wxSysColourChangedEvent &event) {
  event.Skip();
  SysColorChange();
  Refresh(false);
}

// ---------------------------------------------------------------- keyboard

int CXListCtrl::PageDownTarget() const {
  int perPage = GetCountPerPage();
  int bottom = m_top + perPage - 1;
  return m_focus < bottom ? bottom : m_focus + perPage - 1;
}

int CXListCtrl::PageUpTarget() const {
  int perPage = GetCountPerPage();
  return m_focus > m_top ? m_top : m_focus - (perPage - 1);
}

void CXListCtrl::MoveFocusByKey(int newFocus, bool ctrl, bool shift) {
  if (m_rows.empty())
    return;
  newFocus = std::clamp(newFocus, 0, GetItemCount() - 1);
  if (shift) {
    if (!ValidRow(m_anchor))
      m_anchor = ValidRow(m_focus) ? m_focus : newFocus;
    int from = std::min(m_anchor, newFocus), to = std::max(m_anchor, newFocus);
    for (int r = 0; r < GetItemCount(); ++r) {
      if (r >= from && r <= to)
        SetSelectedState(r, true);
      else if (!ctrl)
        SetSelectedState(r, false);
    }
  } else if (!ctrl) {
    for (int r = 0; r < GetItemCount(); ++r)
      if (r != newFocus)
        SetSelectedState(r, false);
    SetSelectedState(newFocus, true);
    m_anchor = newFocus;
  }
  SetFocusedItem(newFocus);
  EnsureVisible(newFocus);
}

void CXListCtrl::AfterKey(int selectedBefore, int keyCode, bool ctrl) {
  int first = GetCurSel();
  if (first < 0)
    return;
  // Ctrl with an arrow moves only the focus; pulling it back to the selection would undo that.
  if (ctrl && ValidRow(m_focus) && !IsSelected(m_focus))
    return;
  // The row the key moved to: the focused row when it is selected (so that Shift extends
  // from where it is), else the first selected row.
  int row = IsSelected(m_focus) ? m_focus : first;
  int target = selectedBefore;
  if (GetEnabled(row)) {
    target = row;
  } else {
    int found = -1;
    if (keyCode == WXK_PAGEUP || keyCode == WXK_UP) {
      for (int r = row - 1; r >= 0 && found < 0; --r)
        if (GetEnabled(r))
          found = r;
      for (int r = 1; r < GetItemCount() && found < 0; ++r)
        if (GetEnabled(r))
          found = r;
    } else if (keyCode == WXK_PAGEDOWN || keyCode == WXK_DOWN) {
      for (int r = row + 1; r < GetItemCount() && found < 0; ++r)
        if (GetEnabled(r))
          found = r;
      for (int r = GetItemCount() - 1; r >= 0 && found < 0; --r)
        if (GetEnabled(r))
          found = r;
    }
    if (found >= 0)
      target = found;
  }
  if (!ValidRow(target))
    return;
  if (!GetEnabled(row) && target != row)
    SetSelectedState(row, false);
  SetSelectedState(target, true);
  SetFocusedItem(target);
  EnsureVisible(target);
}

void CXListCtrl::OnKeyDown(wxKeyEvent &event) {
  int key = event.GetKeyCode();
  wxListEvent notify(wxEVT_LIST_KEY_DOWN, GetId());
  notify.SetEventObject(this);
  notify.SetKeyCode(key);
  notify.SetIndex(m_focus);
  GetEventHandler()->ProcessEvent(notify);
  if (IsBeingDeleted())
    return;

  int selectedBefore = GetCurSel();
  bool ctrl = event.ControlDown() || event.CmdDown(), shift = event.ShiftDown();
  int focus = ValidRow(m_focus) ? m_focus : -1;
  switch (key) {
  case WXK_UP:
  case WXK_NUMPAD_UP:
    MoveFocusByKey(focus < 0 ? 0 : focus - 1, ctrl, shift);
    key = WXK_UP;
    break;
  case WXK_DOWN:
  case WXK_NUMPAD_DOWN:
    MoveFocusByKey(focus < 0 ? 0 : focus + 1, ctrl, shift);
    key = WXK_DOWN;
    break;
  case WXK_HOME:
  case WXK_NUMPAD_HOME:
    MoveFocusByKey(0, ctrl, shift);
    break;
  case WXK_END:
  case WXK_NUMPAD_END:
    MoveFocusByKey(GetItemCount() - 1, ctrl, shift);
    break;
  case WXK_PAGEDOWN:
  case WXK_NUMPAD_PAGEDOWN:
    MoveFocusByKey(focus < 0 ? 0 : PageDownTarget(), ctrl, shift);
    key = WXK_PAGEDOWN;
    break;
  case WXK_PAGEUP:
  case WXK_NUMPAD_PAGEUP:
    MoveFocusByKey(focus < 0 ? 0 : PageUpTarget(), ctrl, shift);
    key = WXK_PAGEUP;
    break;
  case WXK_SPACE:
    if (focus >= 0) {
      if (ctrl)
        SetSelectedState(focus, !m_rows[focus].selected);
      else
        MoveFocusByKey(focus, false, shift);
    }
    break;
  case 'A':
    if (ctrl && !shift) {
      SelectAll();
      break;
    }
    event.Skip();
    return;
  case WXK_TAB:
    Navigate(shift ? wxNavigationKeyEvent::IsBackward : wxNavigationKeyEvent::IsForward);
    return;
  default:
    event.Skip();
    break;
  }
  AfterKey(selectedBefore, key, ctrl);
}
