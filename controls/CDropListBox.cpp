#include "controls/CDropListBox.h"

#include <algorithm>

#include <wx/dcbuffer.h>
#include <wx/settings.h>

#include "controls/CDropScrollBar.h"
#include "controls/Colors.h"

CDropListBox::CDropListBox(CAdvComboBox *combo, wxWindow *parent, const wxRect &rect)
    : wxWindow(parent, IDC_DROPLIST, rect.GetPosition(), rect.GetSize(), wxBORDER_NONE),
      m_pCombo(combo) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  SetFont(combo->GetFont());
  Bind(wxEVT_PAINT, &CDropListBox::OnPaint, this);
  Bind(wxEVT_MOTION, &CDropListBox::OnMotion, this);
  Bind(wxEVT_LEFT_UP, &CDropListBox::OnLeftUp, this);
  Bind(wxEVT_MOUSEWHEEL, &CDropListBox::OnWheel, this);
}

int CDropListBox::AddString(const ListItemData &item) {
  m_items.push_back(item);
  return GetCount() - 1;
}

const ListItemData *CDropListBox::GetItemData(int index) const {
  return index >= 0 && index < GetCount() ? &m_items[index] : nullptr;
}

void CDropListBox::SetItemHeight(int height) {
  m_itemHeight = std::max(1, height);
  Refresh(false);
}

int CDropListBox::GetVisibleRows() const { return std::max(1, GetClientSize().y / m_itemHeight); }

int CDropListBox::SetCurSel(int index) {
  if (index < -1 || index >= GetCount())
    return -1;
  m_sel = index;
  if (index >= 0) {
    int rows = GetVisibleRows();
    if (index < m_top)
      m_top = index;
    else if (index >= m_top + rows)
      m_top = index - rows + 1;
  }
  Refresh(false);
  return index;
}

int CDropListBox::SetTopIndex(int index) {
  if (index < 0 || index >= std::max(1, GetCount()))
    return -1;
  m_top = std::clamp(index, 0, std::max(0, GetCount() - GetVisibleRows()));
  Refresh(false);
  return 0;
}

int CDropListBox::RowAt(const wxPoint &pt) const {
  if (!wxRect(GetClientSize()).Contains(pt))
    return -1;
  int row = m_top + pt.y / m_itemHeight;
  return row < GetCount() ? row : -1;
}

int CDropListBox::WidestText(wxDC &dc) const {
  int widest = 0;
  bool widen = (m_pCombo->GetBehaviour() & ADVCOMBO_WIDENCHOICES) != 0;
  for (const ListItemData &item : m_items)
    widest = std::max(widest, dc.GetTextExtent(item.strText).x + (widen ? 14 : 0));
  return widest;
}

void CDropListBox::SyncScrollBar() {
  if (m_pScrollBar)
    m_pScrollBar->SyncWithList();
}

void CDropListBox::PointerMove(const wxPoint &pt) {
  int row = RowAt(pt);
  const ListItemData *item = GetItemData(row);
  if (item && !item->bDisabled && row != m_sel) {
    m_sel = row;
    Refresh(false);
  }
  SyncScrollBar();
}

void CDropListBox::PointerUp(const wxPoint &pt) {
  int row = RowAt(pt);
  const ListItemData *item = GetItemData(row);
  if (!item || item->bDisabled)
    return;
  int sel = m_sel;
  // The pick and the close run once this handler has returned: closing destroys this list.
  CAdvComboBox *combo = m_pCombo;
  combo->CallAfter([combo, sel] { combo->PickChoice(sel); });
  combo->CallAfter([combo] { combo->CloseDropDown(); });
}

void CDropListBox::OnMotion(wxMouseEvent &event) { PointerMove(event.GetPosition()); }
void CDropListBox::OnLeftUp(wxMouseEvent &event) { PointerUp(event.GetPosition()); }
void CDropListBox::OnWheel(wxMouseEvent &event) { m_pCombo->HandleWheel(event.GetWheelRotation()); }

void CDropListBox::OnPaint(wxPaintEvent &) {
  wxAutoBufferedPaintDC dc(this);
  wxSize size = GetClientSize();
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(ToWx(GetSysColor(SysColor::Window))));
  dc.DrawRectangle(0, 0, size.x, size.y);
  dc.SetFont(GetFont());
  for (int row = m_top, y = 0; row < GetCount() && y < size.y; ++row, y += m_itemHeight) {
    const ListItemData &item = m_items[row];
    COLORREF fore = GetSysColor(item.bDisabled ? SysColor::GrayText : SysColor::WindowText);
    if (row == m_sel) {
      dc.SetBrush(wxBrush(ToWx(GetSysColor(SysColor::Highlight))));
      dc.DrawRectangle(0, y, size.x, m_itemHeight);
      fore = GetSysColor(SysColor::HighlightText);
    }
    dc.SetTextForeground(ToWx(fore));
    dc.DrawText(item.strText, 2, y + (m_itemHeight - dc.GetCharHeight()) / 2);
  }
}
