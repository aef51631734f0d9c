// The header paints itself completely: the platform's header look is not used, so the columns
// look the same on every desktop. Painting goes through CMemDC (one blit per paint).
#include "controls/CXHeaderCtrl.h"

#include <algorithm>

#include <wx/dcclient.h>
#include <wx/settings.h>

#include "controls/CMemDC.h"
#include "controls/CXListCtrl.h"

namespace {
const COLORREF kCheckFrame = RGBColor(51, 102, 153);
const COLORREF kCheckTick = RGBColor(51, 153, 51);
const int kDividerGrip = 4; // pixels either side of a divider that start a resize
} // namespace

// clang-format off
wxBEGIN_EVENT_TABLE(CXHeaderCtrl, wxWindow)
  EVT_PAINT(CXHeaderCtrl::OnPaint)
  EVT_ERASE_BACKGROUND(CXHeaderCtrl::OnEraseBackground)
  EVT_SYS_COLOUR_CHANGED(CXHeaderCtrl::OnSysColourChanged)
  EVT_LEFT_DOWN(CXHeaderCtrl::OnLeftDown)
  EVT_LEFT_DCLICK(CXHeaderCtrl::OnLeftDClick)
  EVT_LEFT_UP(CXHeaderCtrl::OnLeftUp)
  EVT_MOTION(CXHeaderCtrl::OnMotion)
  EVT_MOUSE_CAPTURE_LOST(CXHeaderCtrl::OnCaptureLost)
wxEND_EVENT_TABLE()
// clang-format on

CXHeaderCtrl::CXHeaderCtrl()
    : m_crText(GetSysColor(SysColor::ButtonText)) {
  SysColorChange();
}

bool CXHeaderCtrl::Create(CXListCtrl *list, wxWindowID id) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  if (!wxWindow::Create(list, id, wxDefaultPosition, wxDefaultSize,
                        wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE))
    return false;
  m_pListCtrl = list;
  return true;
}

void CXHeaderCtrl::SysColorChange() {
  m_cr3DHighLight = GetSysColor(SysColor::ButtonHighlight);
  m_cr3DShadow = GetSysColor(SysColor::ButtonShadow);
  m_cr3DFace = GetSysColor(SysColor::ButtonFace);
  m_crBtnText = GetSysColor(SysColor::ButtonText);
}

int CXHeaderCtrl::InsertItem(int index, const HeaderItem &item) {
  if (index < 0)
    return -1;
  index = std::min(index, GetItemCount());
  m_items.insert(m_items.begin() + index, item);
  Refresh(false);
  return index;
}

bool CXHeaderCtrl::DeleteItem(int index) {
  if (index < 0 || index >= GetItemCount())
    return false;
  m_items.erase(m_items.begin() + index);
  Refresh(false);
  return true;
}

const HeaderItem *CXHeaderCtrl::GetItem(int index) const {
  return index >= 0 && index < GetItemCount() ? &m_items[index] : nullptr;
}

bool CXHeaderCtrl::SetItem(int index, const HeaderItem &item) {
  if (!GetItem(index))
    return false;
  m_items[index] = item;
  Refresh(false);
  return true;
}

bool CXHeaderCtrl::SetItemText(int index, const wxString &text) {
  if (!GetItem(index))
    return false;
  m_items[index].text = text;
  Refresh(false);
  return true;
}

bool CXHeaderCtrl::SetItemWidth(int index, int width) {
  if (!GetItem(index))
    return false;
  m_items[index].width = std::max(0, width);
  Refresh(false);
  return true;
}

bool CXHeaderCtrl::SetItemImage(int index, int image) {
  if (!GetItem(index))
    return false;
  m_items[index].image = image;
  Refresh(false);
  return true;
}

int CXHeaderCtrl::GetItemLeft(int index) const {
  if (!GetItem(index))
    return -1;
  int x = 0;
  for (int i = 0; i < index; ++i)
    x += m_items[i].width;
  return x;
}

int CXHeaderCtrl::GetTotalWidth() const {
  int x = 0;
  for (const HeaderItem &item : m_items)
    x += item.width;
  return x;
}

wxRect CXHeaderCtrl::GetItemRect(int index) const {
  if (!GetItem(index))
    return wxRect();
  return wxRect(GetItemLeft(index) - m_scrollX, 0, m_items[index].width, GetClientSize().y);
}

int CXHeaderCtrl::HitTestItem(const wxPoint &pt) const {
  int x = -m_scrollX;
  for (int i = 0; i < GetItemCount(); ++i) {
    if (pt.x >= x && pt.x < x + m_items[i].width)
      return i;
    x += m_items[i].width;
  }
  return -1;
}

int CXHeaderCtrl::HitTestDivider(const wxPoint &pt) const {
  int x = -m_scrollX;
  int found = -1;
  for (int i = 0; i < GetItemCount(); ++i) {
    x += m_items[i].width;
    // The last divider within reach wins, so zero-width columns can be pulled open again.
    if (pt.x >= x - kDividerGrip && pt.x <= x + kDividerGrip)
      found = i;
  }
  return found;
}

void CXHeaderCtrl::SetScrollOffset(int x) {
  if (x != m_scrollX) {
    m_scrollX = x;
    Refresh(false);
  }
}

void CXHeaderCtrl::SetImageList(wxImageList *images) {
  m_pImageList = images;
  m_iconWidth = m_iconHeight = 0;
  if (images && images->GetImageCount() > 0)
    images->GetSize(0, m_iconWidth, m_iconHeight);
  Refresh(false);
}

int CXHeaderCtrl::GetBestHeight() const {
  wxClientDC dc(const_cast<CXHeaderCtrl *>(this));
  dc.SetFont(GetFont());
  return std::max(dc.GetCharHeight() + 10, 20);
}

void CXHeaderCtrl::DrawOwnerItem(wxDC &, int, const wxRect &) {}

void CXHeaderCtrl::DrawCheck(wxDC &dc, const wxRect &box, bool checked) {
  dc.SetPen(wxPen(ToWx(kCheckFrame)));
  dc.SetBrush(wxBrush(ToWx(GetSysColor(SysColor::Window))));
  dc.DrawRectangle(box);
  if (checked) {
    // The tick: 1-pixel strokes of 3 pixels going down-left, then up-left.
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(ToWx(kCheckTick)));
    int x = box.x + 9, y = box.y + 3;
    for (int i = 0; i < 4; ++i, --x, ++y)
      dc.DrawRectangle(x, y, 1, 3);
    for (int i = 0; i < 3; ++i, --x, --y)
      dc.DrawRectangle(x, y, 1, 3);
  }
}

void CXHeaderCtrl::DrawItem(wxDC &dc, const HeaderItem &item, wxRect rect) {
  wxSize bitmapSize;
  if ((item.fmt & HDF_BITMAP) && item.bitmap.IsOk())
    bitmapSize = item.bitmap.GetSize();

  int width = 0;
  if (item.image != 0) {
    if (m_pImageList) {
      int top = (rect.GetTop() + rect.GetBottom() + 1) / 2 - (m_iconHeight + 1) / 2;
      dc.SetClippingRegion(rect.x, rect.y, std::min(m_iconWidth, rect.width), rect.height);
      m_pImageList->Draw(item.image, dc, rect.x, top, wxIMAGELIST_DRAW_TRANSPARENT);
      dc.DestroyClippingRegion();
      width = m_iconWidth;
    } else if (!rect.IsEmpty()) {
      wxRect box(rect.x, rect.y + (rect.height - 13) / 2, 13, 13);
      DrawCheck(dc, box, item.image == 2);
      width = 13;
    }
    if (width)
      width += m_nSpacing;
  }
  rect.x += width;
  rect.width -= width;

  if (bitmapSize.x > 0 && rect.width >= bitmapSize.x) {
    dc.DrawBitmap(item.bitmap, rect.GetRight() + 1 - bitmapSize.x,
                  rect.y + (rect.height - bitmapSize.y) / 2, true);
    rect.width -= bitmapSize.x + m_nSpacing;
  }

  if (rect.width > 0 && !item.text.empty() && (item.fmt & HDF_STRING)) {
    dc.SetTextForeground(ToWx(m_crText));
    int fmt = m_nFormat != -1 ? m_nFormat : item.fmt;
    int align = wxALIGN_CENTER_VERTICAL;
    if (fmt & HDF_CENTER)
      align |= wxALIGN_CENTER_HORIZONTAL;
    else if (fmt & HDF_RIGHT)
      align |= wxALIGN_RIGHT;
    wxString text = wxControl::Ellipsize(item.text, dc, wxELLIPSIZE_END, rect.width);
    dc.SetClippingRegion(rect);
    dc.DrawLabel(text, rect, align);
    dc.DestroyClippingRegion();
  }
}

void CXHeaderCtrl::DrawHeader(wxDC &dc, const wxRect &clip) {
  if (clip.IsEmpty())
    return;
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(ToWx(m_cr3DFace)));
  dc.DrawRectangle(clip);

  wxPen penHighLight(ToWx(m_cr3DHighLight));
  wxPen penShadow(ToWx(m_cr3DShadow));
  dc.SetFont(GetFont());
  dc.SetTextBackground(ToWx(m_cr3DFace));
  dc.SetTextForeground(ToWx(m_crText));
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);

  int total = 0;
  for (int i = 0; i < GetItemCount(); ++i) {
    int index = OrderToIndex(i);
    const HeaderItem &item = m_items[index];
    wxRect rect = GetItemRect(index);
    if (item.fmt & HDF_OWNERDRAW) {
      DrawOwnerItem(dc, index, rect);
    } else {
      wxRect inner = rect;
      inner.x += m_nSpacing;
      inner.width -= 2 * m_nSpacing;
      DrawItem(dc, item, inner);
    }
    if (i < GetItemCount() - 1 && m_bDividerLines) {
      int right = rect.GetRight() + 1;
      dc.SetPen(penShadow);
      dc.DrawLine(right - 1, rect.y + 2, right - 1, rect.GetBottom() - 1);
      dc.SetPen(penHighLight);
      dc.DrawLine(right, rect.y + 2, right, rect.GetBottom() - 1);
    }
    total += item.width;
  }

  if (total > 0) {
    wxSize size = GetClientSize();
    int right = std::min(size.x, total - m_scrollX) - 1;
    int bottom = size.y - 1;
    dc.SetPen(penHighLight);
    dc.DrawLine(0, 0, right, 0);
    dc.DrawLine(0, 0, 0, bottom);
    dc.SetPen(penShadow);
    dc.DrawLine(0, bottom, right + 1, bottom);
    dc.DrawLine(right, 0, right, bottom);
  }
  dc.SetPen(wxNullPen);
  dc.SetBrush(wxNullBrush);
}

void CXHeaderCtrl::OnPaint(wxPaintEvent &) {
  wxPaintDC paint(this);
  wxRect clip = GetUpdateRegion().GetBox();
  if (m_bDoubleBuffer) {
    CMemDC memDC(paint, clip);
    DrawHeader(memDC.GetDC(), clip);
  } else {
    DrawHeader(paint, clip);
  }
}

void CXHeaderCtrl::OnEraseBackground(wxEraseEvent &) {
  // Painting covers everything; erasing first would only flicker.
}

void CXHeaderCtrl::OnSysColourChanged(wxSysColourChangedEvent &event) {
  SysColorChange();
  event.Skip();
}

void CXHeaderCtrl::OnLeftDown(wxMouseEvent &event) {
  int divider = HitTestDivider(event.GetPosition());
  if (divider >= 0) {
    m_dragItem = divider;
    m_dragStartX = event.GetX();
    m_dragStartWidth = m_items[divider].width;
    CaptureMouse();
    return;
  }
  int item = HitTestItem(event.GetPosition());
  if (item >= 0 && m_pListCtrl)
    m_pListCtrl->OnColumnClick(item);
}

void CXHeaderCtrl::OnLeftDClick(wxMouseEvent &event) {
  // A double click acts as a second press.
  OnLeftDown(event);
}

void CXHeaderCtrl::OnLeftUp(wxMouseEvent &) {
  if (m_dragItem >= 0) {
    m_dragItem = -1;
    if (HasCapture())
      ReleaseMouse();
  }
}

void CXHeaderCtrl::OnMotion(wxMouseEvent &event) {
  if (m_dragItem >= 0) {
    int width = std::max(0, m_dragStartWidth + event.GetX() - m_dragStartX);
    if (width != m_items[m_dragItem].width) {
      m_items[m_dragItem].width = width;
      Refresh(false);
      if (m_pListCtrl)
        m_pListCtrl->OnColumnWidthsChanged();
    }
    return;
  }
  bool onDivider = HitTestDivider(event.GetPosition()) >= 0;
  SetCursor(onDivider ? wxCursor(wxCURSOR_SIZEWE) : wxNullCursor);
}

void CXHeaderCtrl::OnCaptureLost(wxMouseCaptureLostEvent &) { m_dragItem = -1; }
