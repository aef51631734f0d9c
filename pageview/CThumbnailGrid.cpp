// The grid lays its cells out in as many columns as fit the window's width, one row of cells
// after another; only the rows on screen are drawn, and only their pages are asked of the
// queue, so the cost of a paint does not grow with the document.
#include "CThumbnailGrid.h"

#include "FocusRing.h"
#include "ThumbnailQueue.h"

#include <algorithm>
#include <cstring>

#include <wx/dcbuffer.h>
#include <wx/image.h>
#include <wx/settings.h>

wxDEFINE_EVENT(wxEVT_THUMBNAIL_SELECTION, wxCommandEvent);

namespace {
const int kMarginX = 10, kMarginY = 8, kLabelHeight = 20;
const int kCellWidth = CThumbnailGrid::kThumbWidth + 2 * kMarginX;
const int kCellHeight = CThumbnailGrid::kThumbHeight + kLabelHeight + 2 * kMarginY;
const int kScrollStep = 20;

wxBitmap ToBitmap(const PageImage &image) {
  wxImage converted(image.width, image.height, false);
  std::memcpy(converted.GetData(), image.rgb.data(), image.rgb.size());
  return wxBitmap(converted);
}
} // namespace

CThumbnailGrid::CThumbnailGrid(wxWindow *parent, wxWindowID id, int pageCount, bool multiple)
    : wxScrolledCanvas(parent, id, wxDefaultPosition, wxDefaultSize,
                       wxVSCROLL | wxWANTS_CHARS | wxBORDER_THEME),
      m_selection(pageCount), m_bMultiple(multiple) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  SetScrollRate(0, kScrollStep);
  UpdateVirtualSize();
  Bind(wxEVT_PAINT, &CThumbnailGrid::OnPaint, this);
  Bind(wxEVT_SIZE, &CThumbnailGrid::OnSize, this);
  Bind(wxEVT_LEFT_DOWN, &CThumbnailGrid::OnLeftDown, this);
  Bind(wxEVT_LEFT_DCLICK, &CThumbnailGrid::OnLeftDown, this);
  Bind(wxEVT_KEY_DOWN, &CThumbnailGrid::OnKeyDown, this);
  Bind(wxEVT_SET_FOCUS, &CThumbnailGrid::OnFocus, this);
  Bind(wxEVT_KILL_FOCUS, &CThumbnailGrid::OnFocus, this);
  Bind(wxEVT_SCROLLWIN_TOP, &CThumbnailGrid::OnScroll, this);
  Bind(wxEVT_SCROLLWIN_BOTTOM, &CThumbnailGrid::OnScroll, this);
  Bind(wxEVT_SCROLLWIN_LINEUP, &CThumbnailGrid::OnScroll, this);
  Bind(wxEVT_SCROLLWIN_LINEDOWN, &CThumbnailGrid::OnScroll, this);
  Bind(wxEVT_SCROLLWIN_PAGEUP, &CThumbnailGrid::OnScroll, this);
  Bind(wxEVT_SCROLLWIN_PAGEDOWN, &CThumbnailGrid::OnScroll, this);
  Bind(wxEVT_SCROLLWIN_THUMBTRACK, &CThumbnailGrid::OnScroll, this);
  Bind(wxEVT_SCROLLWIN_THUMBRELEASE, &CThumbnailGrid::OnScroll, this);
}

void CThumbnailGrid::SetQueue(ThumbnailQueue *queue) {
  m_pQueue = queue;
  m_nToldFirst = m_nToldLast = -2;
  m_bitmaps.clear();
  TellQueue();
  Refresh();
}

void CThumbnailGrid::SetPageCount(int pageCount) {
  m_selection = GridSelection(pageCount);
  m_bitmaps.clear();
  m_nToldFirst = m_nToldLast = -2;
  UpdateVirtualSize();
  Scroll(0, 0);
  TellQueue();
  Refresh();
}

int CThumbnailGrid::GetColumns() const { return std::max(1, GetClientSize().x / kCellWidth); }

wxRect CThumbnailGrid::CellRect(int index) const {
  const int columns = GetColumns();
  const int left = std::max(0, (GetClientSize().x - columns * kCellWidth) / 2);
  return wxRect(left + (index % columns) * kCellWidth, (index / columns) * kCellHeight, kCellWidth,
                kCellHeight);
}

int CThumbnailGrid::HitTest(const wxPoint &clientPoint) const {
  const wxPoint at = CalcUnscrolledPosition(clientPoint);
  const int columns = GetColumns();
  const int left = std::max(0, (GetClientSize().x - columns * kCellWidth) / 2);
  if (at.x < left || at.x >= left + columns * kCellWidth || at.y < 0)
    return -1;
  const int index = (at.y / kCellHeight) * columns + (at.x - left) / kCellWidth;
  return index < m_selection.Count() ? index : -1;
}

bool CThumbnailGrid::GetVisibleRange(int *first, int *last) const {
  const int count = m_selection.Count();
  const int height = GetClientSize().y;
  if (count == 0 || height <= 0)
    return false;
  const int columns = GetColumns();
  const int top = CalcUnscrolledPosition(wxPoint(0, 0)).y;
  *first = std::min(count - 1, (top / kCellHeight) * columns);
  *last = std::min(count - 1, ((top + height - 1) / kCellHeight + 1) * columns - 1);
  return true;
}

void CThumbnailGrid::EnsureVisible(int index) {
  if (index < 0 || index >= m_selection.Count())
    return;
  const wxRect cell = CellRect(index);
  const int top = CalcUnscrolledPosition(wxPoint(0, 0)).y;
  const int height = GetClientSize().y;
  int y = top;
  if (cell.GetTop() < top)
    y = cell.GetTop();
  else if (cell.GetBottom() >= top + height)
    y = cell.GetBottom() + 1 - height;
  if (y != top)
    Scroll(0, (y + kScrollStep - 1) / kScrollStep);
  TellQueue();
}

void CThumbnailGrid::ThumbnailArrived(int page) {
  int first = 0, last = -1;
  if (GetVisibleRange(&first, &last) && page >= first && page <= last) {
    wxRect cell = CellRect(page);
    cell.SetPosition(CalcScrolledPosition(cell.GetPosition()));
    RefreshRect(cell, false);
  }
}

void CThumbnailGrid::SelectionChanged() {
  EnsureVisible(m_selection.Focus());
  Refresh();
}

void CThumbnailGrid::UpdateVirtualSize() {
  const int columns = GetColumns();
  const int rows = (m_selection.Count() + columns - 1) / columns;
  SetVirtualSize(columns * kCellWidth, rows * kCellHeight);
}

void CThumbnailGrid::TellQueue() {
  int first = 0, last = -1;
  if (!m_pQueue || !GetVisibleRange(&first, &last))
    return;
  if (first == m_nToldFirst && last == m_nToldLast)
    return;
  m_nToldFirst = first;
  m_nToldLast = last;
  m_pQueue->SetVisible(first, last);
}

void CThumbnailGrid::Notify() {
  wxCommandEvent event(wxEVT_THUMBNAIL_SELECTION, GetId());
  event.SetEventObject(this);
  event.SetInt(m_selection.Focus());
  ProcessWindowEvent(event);
}

void CThumbnailGrid::DrawCell(wxDC &dc, int index, const wxRect &cell) {
  const bool selected = m_selection.IsSelected(index);
  if (selected) {
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT)));
    dc.DrawRoundedRectangle(wxRect(cell).Deflate(3), 4);
  }
  const wxRect box(cell.x + kMarginX, cell.y + kMarginY, kThumbWidth, kThumbHeight);
  wxBitmap bitmap;
  const auto cached = m_bitmaps.find(index);
  if (cached != m_bitmaps.end()) {
    bitmap = cached->second;
  } else if (m_pQueue) {
    if (const auto image = m_pQueue->Thumbnail(index); image && image->width > 0) {
      bitmap = ToBitmap(*image);
      m_bitmaps[index] = bitmap;
    }
  }
  if (bitmap.IsOk()) {
    const int x = box.x + (box.width - bitmap.GetWidth()) / 2;
    const int y = box.y + (box.height - bitmap.GetHeight()) / 2;
    dc.DrawBitmap(bitmap, x, y);
    dc.SetPen(wxPen(wxColour(160, 160, 160)));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(x - 1, y - 1, bitmap.GetWidth() + 2, bitmap.GetHeight() + 2);
  } else {
    // Not rendered yet: a card of the page's usual shape.
    dc.SetPen(wxPen(wxColour(200, 200, 200)));
    dc.SetBrush(wxBrush(wxColour(236, 236, 236)));
    dc.DrawRectangle(box.Deflate(box.width / 8, 0));
  }
  dc.SetTextForeground(selected ? wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHTTEXT)
                                : GetForegroundColour());
  const wxRect label(cell.x, box.GetBottom() + 1, cell.width, kLabelHeight);
  dc.DrawLabel(wxString::Format("%d", index + 1), label, wxALIGN_CENTRE);
  if (index == m_selection.Focus() && HasFocus())
    DrawFocusRing(dc, wxRect(cell).Deflate(1));
}

void CThumbnailGrid::OnPaint(wxPaintEvent &) {
  wxAutoBufferedPaintDC dc(this);
  PaintTo(dc);
}

void CThumbnailGrid::PaintTo(wxDC &dc) {
  DoPrepareDC(dc);
  dc.SetBackground(wxBrush(GetBackgroundColour()));
  dc.Clear();
  dc.SetFont(GetFont());
  int first = 0, last = -1;
  if (!GetVisibleRange(&first, &last))
    return;
  // Converted bitmaps are kept only a screen's worth around the screen.
  const int keep = last - first + 1;
  for (auto it = m_bitmaps.begin(); it != m_bitmaps.end();)
    it =
        (it->first < first - keep || it->first > last + keep) ? m_bitmaps.erase(it) : std::next(it);
  for (int index = first; index <= last; ++index)
    DrawCell(dc, index, CellRect(index));
  TellQueue();
}

void CThumbnailGrid::OnSize(wxSizeEvent &event) {
  UpdateVirtualSize();
  TellQueue();
  Refresh();
  event.Skip();
}

void CThumbnailGrid::OnScroll(wxScrollWinEvent &event) {
  event.Skip(); // the window scrolls first; the queue hears of it at the next paint
  CallAfter([this] { TellQueue(); });
}

void CThumbnailGrid::OnFocus(wxFocusEvent &event) {
  Refresh();
  event.Skip();
}

void CThumbnailGrid::OnLeftDown(wxMouseEvent &event) {
  SetFocus();
  const int index = HitTest(event.GetPosition());
  if (index < 0)
    return;
  if (m_bMultiple)
    m_selection.Click(index, event.ShiftDown(), event.ControlDown());
  else
    m_selection.Click(index, false, false);
  Refresh();
  Notify();
}

void CThumbnailGrid::OnKeyDown(wxKeyEvent &event) {
  const int count = m_selection.Count();
  const int columns = GetColumns();
  const int focus = m_selection.Focus();
  const int screen = std::max(1, GetClientSize().y / kCellHeight) * columns;
  const bool shift = m_bMultiple && event.ShiftDown();
  const bool ctrl = m_bMultiple && event.ControlDown();
  int target = -1;
  switch (event.GetKeyCode()) {
  case WXK_LEFT:
    target = focus - 1;
    break;
  case WXK_RIGHT:
    target = focus + 1;
    break;
  case WXK_UP:
    target = focus - columns;
    break;
  case WXK_DOWN:
    target = focus + columns;
    break;
  case WXK_HOME:
    target = 0;
    break;
  case WXK_END:
    target = count - 1;
    break;
  case WXK_PAGEUP:
    target = focus - screen;
    break;
  case WXK_PAGEDOWN:
    target = focus + screen;
    break;
  case WXK_SPACE:
    if (!m_bMultiple || count == 0)
      return;
    m_selection.ToggleFocus();
    Refresh();
    Notify();
    return;
  case 'A':
    if (m_bMultiple && event.ControlDown()) {
      m_selection.SelectAll();
      Refresh();
      Notify();
      return;
    }
    event.Skip();
    return;
  default:
    event.Skip(); // Tab, Enter and Escape go on to the dialog
    return;
  }
  if (count == 0)
    return;
  m_selection.MoveFocus(std::clamp(target, 0, count - 1), shift, ctrl);
  SelectionChanged();
  Notify();
}
