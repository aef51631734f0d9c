// Drawing of the extended list. Every cell is drawn by the list: colours from the cell's record
// (grey text for a disabled row), then the selection rule, then either a progress bar, a check
// box, or an image and the text. Only visible rows are drawn; the area outside them is erased
// separately so that rows are painted exactly once.
#include <algorithm>
#include <cwchar>

#include <wx/control.h>
#include <wx/dcclient.h>

#include "FocusRing.h"
#include "controls/CXListCtrl.h"

namespace {
const COLORREF kCheckFrame = RGBColor(51, 102, 153);
const COLORREF kCheckTick = RGBColor(51, 153, 51);
const COLORREF kProgressBack = RGBColor(224, 224, 224);
const COLORREF kGridLine = RGBColor(218, 218, 218);

void FillRect(wxDC &dc, const wxRect &rect, COLORREF color) {
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(ToWx(color)));
  dc.DrawRectangle(rect);
}

// A progress label format is safe when it has exactly one integer conversion and nothing else
// that reads an argument; anything else would read past the one value given.
bool IsSafeIntFormat(const wxString &fmt) {
  int conversions = 0;
  for (size_t i = 0; i < fmt.length(); ++i) {
    if (fmt[i] != '%')
      continue;
    if (++i >= fmt.length())
      return false;
    if (fmt[i] == '%')
      continue;
    while (i < fmt.length() && wxString("-+ #0123456789").Find(fmt[i]) != wxNOT_FOUND)
      ++i;
    if (i >= fmt.length() || wxString("diuxX").Find(fmt[i]) == wxNOT_FOUND)
      return false;
    ++conversions;
  }
  return conversions == 1;
}
} // namespace

// ---------------------------------------------------------------- text

int CXListCtrl::TextWidth(wxDC &dc, const wxString &text, bool bold) {
  // Measuring is most of the cost of a paint; the same texts come back at every scroll.
  auto &cache = m_textWidths[bold ? 1 : 0];
  auto found = cache.find(text);
  if (found != cache.end())
    return found->second;
  if (cache.size() > 8192)
    cache.clear();
  int width = dc.GetTextExtent(text).x;
  cache.emplace(text, width);
  return width;
}

void CXListCtrl::DrawSingleLine(wxDC &dc, wxString text, const wxRect &rect, int align, bool bold) {
  if (rect.width <= 0)
    return;
  if (text.find_first_of("\r\n") != wxString::npos) {
    text.Replace("\r", " ");
    text.Replace("\n", " ");
  }
  int width = TextWidth(dc, text, bold);
  if (m_bUseEllipsis && width > rect.width) {
    text = wxControl::Ellipsize(text, dc, wxELLIPSIZE_END, rect.width);
    width = dc.GetTextExtent(text).x;
  }
  int x = rect.x;
  if (align & wxALIGN_CENTER_HORIZONTAL)
    x = rect.x + (rect.width - width) / 2;
  else if (align & wxALIGN_RIGHT)
    x = rect.GetRight() + 1 - width;
  int y = rect.y + (rect.height - dc.GetCharHeight()) / 2;
  bool clip = width > rect.width;
  if (clip)
    dc.SetClippingRegion(rect);
  dc.DrawText(text, x, y);
  if (clip)
    dc.DestroyClippingRegion();
}

// ---------------------------------------------------------------- geometry

int CXListCtrl::HeaderHeight() const {
  return m_bHeaderIsSubclassed ? m_HeaderCtrl.GetSize().y : 0;
}

wxRect CXListCtrl::GetRowsArea() const {
  wxSize size = GetClientSize();
  int top = HeaderHeight();
  return wxRect(0, top, size.x, std::max(0, size.y - top));
}

bool CXListCtrl::GetCellRect(int row, int col, int, wxRect &rect) const {
  if (!ValidCell(row, col))
    return false;
  int y = HeaderHeight() + (row - m_top) * m_rowHeight;
  if (col == 0) {
    // Column 0 starts as the whole row and ends where the next visible column begins.
    rect = wxRect(-m_scrollX, y, m_HeaderCtrl.GetTotalWidth(), m_rowHeight);
    if (GetColumns() > 1) {
      int right = m_HeaderCtrl.GetItemLeft(1) - m_scrollX;
      for (int c = 1; c < GetColumns(); ++c) {
        if (GetColumnWidth(c) > 0) {
          right = m_HeaderCtrl.GetItemLeft(c) - m_scrollX;
          break;
        }
      }
      rect.width = right - rect.x;
    }
    return true;
  }
  rect = wxRect(m_HeaderCtrl.GetItemLeft(col) - m_scrollX, y, GetColumnWidth(col), m_rowHeight);
  return true;
}

wxRect CXListCtrl::GetCellRect(int row, int col, int area) const {
  wxRect rect;
  GetCellRect(row, col, area, rect);
  return rect;
}

int CXListCtrl::GetCountPerPage() const {
  return std::max(1, GetRowsArea().height / std::max(1, m_rowHeight));
}

void CXListCtrl::MeasureRowHeight() {
  wxClientDC dc(this);
  dc.SetFont(GetFont());
  int textHeight = dc.GetCharHeight() + 4;
  m_rowHeight = std::max(textHeight, m_imageRowHeight);
}

void CXListCtrl::SetImageList(wxImageList *images) {
  m_pImageList = images;
  m_imageRowHeight = 0;
  if (images && images->GetImageCount() > 0) {
    int w = 0, h = 0;
    images->GetSize(0, w, h);
    m_imageRowHeight = h;
  } else if (images) {
    m_imageRowHeight = images->GetSize().y;
  }
  MeasureRowHeight();
  UpdateScrollBars();
  Refresh(false);
}

void CXListCtrl::SetExtendedStyle(long style) {
  m_exStyle = style;
  Refresh(false);
}

void CXListCtrl::RefreshRow(int row) {
  if (!ValidRow(row) || row < m_top || row > m_top + GetCountPerPage())
    return;
  wxRect area = GetRowsArea();
  RefreshRect(wxRect(0, area.y + (row - m_top) * m_rowHeight, area.width, m_rowHeight), false);
}

void CXListCtrl::RefreshRowsFrom(int row) {
  wxRect area = GetRowsArea();
  int y = area.y + std::max(0, row - m_top) * m_rowHeight;
  if (y < area.GetBottom() + 1)
    RefreshRect(wxRect(0, y, area.width, area.GetBottom() + 1 - y), false);
}

void CXListCtrl::UpdateSubItem(int row, int col) {
  if (!ValidCell(row, col))
    return;
  wxRect rect = GetCellRect(row, col);
  rect.Inflate(2);
  // A cell scrolled out of view has nothing on screen to redraw.
  if (!rect.Intersects(GetRowsArea()))
    return;
  RefreshRect(rect, false);
  Update();
}

// ---------------------------------------------------------------- colours

void CXListCtrl::SelectionColors(bool selected, bool fullRowOrCol0, bool hasFocus,
                                 bool showSelAlways, COLORREF highlight, COLORREF highlightText,
                                 COLORREF windowText, COLORREF buttonFace, COLORREF &crText,
                                 COLORREF &crBkgnd) {
  if (!selected || !fullRowOrCol0)
    return;
  if (hasFocus) {
    crBkgnd = highlight;
    crText = highlightText;
  } else if (showSelAlways) {
    crText = windowText;
    crBkgnd = buttonFace;
  }
}

bool CXListCtrl::HasKeyboardFocus() const { return wxWindow::FindFocus() == this; }

void CXListCtrl::GetDrawColors(int row, int col, COLORREF &crText, COLORREF &crBkgnd) const {
  SelectionColors(IsSelected(row), (m_exStyle & LVS_EX_FULLROWSELECT) || col == 0,
                  HasKeyboardFocus(), m_bShowSelAlways, m_crHighLight, m_crHighLightText,
                  m_crWindowText, m_crBtnFace, crText, crBkgnd);
}

// ---------------------------------------------------------------- cells

void CXListCtrl::DrawSubItem(wxDC &dc, int row, int col) {
  COLORREF crText = m_crWindowText, crBkgnd = m_crWindow;
  const XListCellData *cell = GetCellData(row, col);
  if (cell) {
    crText = cell->crText;
    crBkgnd = cell->crBackground;
    if (!GetEnabled(row))
      crText = m_crGrayText;
  }
  wxRect rect = GetCellRect(row, col);
  if (cell && cell->bShowProgress) {
    DrawProgress(dc, row, col, rect, crText, crBkgnd);
  } else if (cell && cell->nCheckedState != -1) {
    DrawCheckbox(dc, row, col, rect, crText, crBkgnd);
  } else {
    int used = DrawImage(dc, row, col, rect, crText, crBkgnd);
    rect.x += used;
    rect.width -= used;
    DrawText(dc, row, col, rect, crText, crBkgnd);
  }
}

void CXListCtrl::DrawText(wxDC &dc, int row, int col, const wxRect &rect, COLORREF crText,
                          COLORREF crBkgnd) {
  if (rect.IsEmpty())
    return;
  GetDrawColors(row, col, crText, crBkgnd);
  FillRect(dc, rect, crBkgnd);
  wxString text = GetItemText(row, col);
  if (text.empty())
    return;
  const HeaderItem *column = m_HeaderCtrl.GetItem(col);
  int fmt = column ? column->fmt : HDF_LEFT;
  int align = (fmt & HDF_CENTER)  ? wxALIGN_CENTER_HORIZONTAL
              : (fmt & HDF_RIGHT) ? wxALIGN_RIGHT
                                  : wxALIGN_LEFT;
  const XListCellData *cell = GetCellData(row, col);
  wxFont oldFont = dc.GetFont();
  if (cell && cell->bBold) {
    wxFont bold = oldFont;
    bold.SetWeight(wxFONTWEIGHT_BOLD);
    dc.SetFont(bold);
  }
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  dc.SetTextForeground(ToWx(crText));
  dc.SetTextBackground(ToWx(crBkgnd));
  wxRect inner = rect;
  inner.x += m_nPadding;
  inner.width -= 2 * m_nPadding;
  DrawSingleLine(dc, text, inner, align, cell && cell->bBold);
  if (cell && cell->bBold)
    dc.SetFont(oldFont);
}

int CXListCtrl::DrawImage(wxDC &dc, int row, int col, const wxRect &rect, COLORREF crText,
                          COLORREF crBkgnd) {
  if (rect.IsEmpty())
    return 0;
  GetDrawColors(row, col, crText, crBkgnd);
  FillRect(dc, rect, crBkgnd);
  int spacing = m_HeaderCtrl.GetSpacing();
  const XListCellData *cell = GetCellData(row, col);
  if (!m_pImageList || !cell || cell->nImage == -1)
    return 0;
  int w = 0, h = 0;
  if (!m_pImageList->GetSize(cell->nImage, w, h))
    return 0;
  int x = rect.x + spacing;
  int top = (rect.GetTop() + rect.GetBottom() + 1) / 2 - h / 2;
  dc.SetClippingRegion(wxRect(x, rect.y, std::max(0, rect.width - spacing), rect.height));
  m_pImageList->Draw(cell->nImage, dc, x, top, wxIMAGELIST_DRAW_TRANSPARENT);
  dc.DestroyClippingRegion();
  return spacing + w;
}

void CXListCtrl::DrawCheckbox(wxDC &dc, int row, int col, const wxRect &rect, COLORREF crText,
                              COLORREF crBkgnd) {
  GetDrawColors(row, col, crText, crBkgnd);
  FillRect(dc, rect, crBkgnd);
  const XListCellData *cell = GetCellData(row, col);
  wxString text = GetItemText(row, col);
  int side = rect.height - 1;
  wxRect box(rect.x + 9, rect.y, side, side);
  if (text.empty())
    box.x = rect.x + (rect.width - side) / 2;
  dc.SetPen(wxPen(ToWx(kCheckFrame)));
  dc.SetBrush(wxBrush(ToWx(m_crWindow)));
  dc.DrawRectangle(box);
  if (cell && cell->nCheckedState == 1) {
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(ToWx(GetEnabled(row) ? kCheckTick : m_crGrayText)));
    int x = box.x + 9, y = box.y + 3;
    for (int i = 0; i < 4; ++i, --x, ++y)
      dc.DrawRectangle(x, y, 1, 3);
    for (int i = 0; i < 3; ++i, --x, --y)
      dc.DrawRectangle(x, y, 1, 3);
  }
  if (!text.empty()) {
    wxRect textRect(box.GetRight() + 1 + 4, rect.y, rect.GetRight() - box.GetRight() - 4,
                    rect.height);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    dc.SetTextForeground(ToWx(crText));
    DrawSingleLine(dc, text, textRect, wxALIGN_LEFT, false);
  }
}

void CXListCtrl::DrawProgress(wxDC &dc, int row, int col, const wxRect &cellRect, COLORREF crText,
                              COLORREF crBkgnd) {
  GetDrawColors(row, col, crText, crBkgnd);
  const XListCellData *cell = GetCellData(row, col);
  wxRect rect = cellRect;
  rect.height -= 1;
  rect.x += 1;
  rect.width -= 1;
  FillRect(dc, rect, kProgressBack);
  dc.SetPen(*wxBLACK_PEN);
  dc.DrawLine(rect.x, rect.y, rect.GetRight() + 1, rect.y);
  dc.DrawLine(rect.x, rect.y, rect.x, rect.GetBottom() + 1);
  dc.SetPen(wxPen(ToWx(m_crBtnShadow)));
  dc.DrawLine(rect.x, rect.GetBottom(), rect.GetRight() + 1, rect.GetBottom());
  dc.DrawLine(rect.GetRight(), rect.y, rect.GetRight(), rect.GetBottom() + 1);

  int value = cell ? cell->nProgressPercent : 0;
  // Column 4 counts values above 1000 in thousandths of a percent.
  bool thousandths = col == 4 && value > 1000;
  wxRect inside = rect;
  inside.Deflate(1);
  wxRect bar = inside;
  bar.width = 0;
  if (value > 0) {
    long long width =
        thousandths ? 1LL * inside.width * value / 100000 : 1LL * inside.width * value / 100;
    bar.width = static_cast<int>(std::min<long long>(width, inside.width));
    FillRect(dc, bar, m_crHighLight);
  }
  if (cell && cell->bShowProgressMessage) {
    wxString label;
    if (!cell->strProgressText.empty() && IsSafeIntFormat(cell->strProgressText))
      label = wxString::Format(wxString(cell->strProgressText), value);
    else
      label = wxString::Format("%.2f%%", thousandths ? value / 1000.0 : double(value));
    wxRect textRect = cellRect;
    textRect.Deflate(1);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    // Over the bar in the highlight-text colour, over the rest in the cell's text colour.
    wxRect left = textRect.Intersect(wxRect(bar.x, textRect.y, bar.width, textRect.height));
    wxRect right(bar.x + bar.width, textRect.y, textRect.GetRight() + 1 - bar.x - bar.width,
                 textRect.height);
    wxSize extent = dc.GetTextExtent(label);
    int x = textRect.x + (textRect.width - extent.x) / 2;
    int y = textRect.y + (textRect.height - extent.y) / 2;
    if (!left.IsEmpty()) {
      dc.SetClippingRegion(left);
      dc.SetTextForeground(ToWx(m_crHighLightText));
      dc.DrawText(label, x, y);
      dc.DestroyClippingRegion();
    }
    if (right.width > 0) {
      dc.SetClippingRegion(right);
      dc.SetTextForeground(ToWx(crText));
      dc.DrawText(label, x, y);
      dc.DestroyClippingRegion();
    }
  }
}

// ---------------------------------------------------------------- painting

void CXListCtrl::EraseOutsideRows(wxDC &dc, const wxRect &clip) {
  if (m_rows.empty()) {
    FillRect(dc, clip, m_crWindow);
    return;
  }
  int first = m_top;
  int last = std::min(m_top + GetCountPerPage(), GetItemCount() - 1);
  wxRect top = GetCellRect(first, 0);
  wxRect bottom = GetCellRect(last, 0);
  int rowsRight = m_HeaderCtrl.GetTotalWidth() - m_scrollX;
  if (clip.y < top.y)
    FillRect(dc, wxRect(clip.x, clip.y, clip.width, top.y - clip.y), m_crWindow);
  if (clip.GetBottom() > bottom.GetBottom())
    FillRect(
        dc,
        wxRect(clip.x, bottom.GetBottom() + 1, clip.width, clip.GetBottom() - bottom.GetBottom()),
        m_crWindow);
  if (clip.GetRight() >= rowsRight)
    FillRect(
        dc,
        wxRect(rowsRight, top.y, clip.GetRight() + 1 - rowsRight, bottom.GetBottom() + 1 - top.y),
        m_crWindow);
}

void CXListCtrl::DrawGridLines(wxDC &dc, int first, int last) {
  wxRect top = GetCellRect(first, 0), bottom = GetCellRect(last, 0);
  int right = m_HeaderCtrl.GetTotalWidth() - m_scrollX;
  dc.SetPen(wxPen(ToWx(kGridLine)));
  for (int row = first; row <= last; ++row) {
    int y = GetCellRect(row, 0).GetBottom();
    dc.DrawLine(-m_scrollX, y, right, y);
  }
  int x = -m_scrollX;
  for (int col = 0; col < GetColumns(); ++col) {
    x += GetColumnWidth(col);
    dc.DrawLine(x - 1, top.y, x - 1, bottom.GetBottom() + 1);
  }
}

void CXListCtrl::PaintRows(wxDC &dc, const wxRect &clipIn) {
  wxRect clip = clipIn.Intersect(GetRowsArea());
  if (clip.IsEmpty())
    return;
  dc.SetFont(GetFont());
  EraseOutsideRows(dc, clip);
  if (m_rows.empty()) {
    // An empty list with the keyboard focus shows it round its rows' area.
    if (HasKeyboardFocus())
      DrawFocusRing(dc, GetRowsArea().Deflate(2));
    return;
  }
  int first = std::max(m_top, m_top + (clip.y - GetRowsArea().y) / m_rowHeight);
  int last =
      std::min(GetItemCount() - 1, m_top + (clip.GetBottom() - GetRowsArea().y) / m_rowHeight);
  for (int row = first; row <= last; ++row)
    for (int col = 0; col < GetColumns(); ++col) {
      wxRect cell = GetCellRect(row, col);
      if (cell.width > 0 && cell.x <= clip.GetRight() && cell.GetRight() >= clip.x)
        DrawSubItem(dc, row, col);
    }
  if (first <= last && (m_exStyle & LVS_EX_GRIDLINES))
    DrawGridLines(dc, first, last);
  if (m_focus >= first && m_focus <= last && HasKeyboardFocus()) {
    wxRect row = GetCellRect(m_focus, 0);
    row.width = m_HeaderCtrl.GetTotalWidth();
    DrawFocusRing(dc, row);
  }
}

void CXListCtrl::OnPaint(wxPaintEvent &) {
  wxPaintDC dc(this);
  PaintRows(dc, GetUpdateRegion().GetBox());
  if (m_pEdit && m_pEdit->IsShown()) {
    // The open edit box's frame, one pixel round it, in the inactive-caption colour.
    wxRect frame = m_pEdit->GetRect();
    frame.Inflate(1);
    dc.SetPen(wxPen(ToWx(m_crInactiveCaption)));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(frame);
  }
}

void CXListCtrl::OnEraseBackground(wxEraseEvent &) {
  // The paint handler erases what lies outside the rows; the rows paint themselves.
}
