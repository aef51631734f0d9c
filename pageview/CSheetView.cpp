#include "CSheetView.h"

#include "PageImage.h"

#include <cstring>

#include <wx/dcbuffer.h>
#include <wx/image.h>

CSheetView::CSheetView(wxWindow *parent, wxWindowID id)
    : wxWindow(parent, id, wxDefaultPosition, wxDefaultSize, wxBORDER_THEME) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  SetBackgroundColour(wxColour(128, 128, 128));
  Bind(wxEVT_PAINT, &CSheetView::OnPaint, this);
}

void CSheetView::SetImage(const std::shared_ptr<const PageImage> &image) {
  if (image && image->width > 0) {
    wxImage converted(image->width, image->height, false);
    std::memcpy(converted.GetData(), image->rgb.data(), image->rgb.size());
    m_bitmap = wxBitmap(converted);
  } else {
    m_bitmap = wxBitmap();
  }
  Refresh();
}

void CSheetView::OnPaint(wxPaintEvent &) {
  wxAutoBufferedPaintDC dc(this);
  dc.SetBackground(wxBrush(GetBackgroundColour()));
  dc.Clear();
  if (!m_bitmap.IsOk())
    return;
  const wxSize size = GetClientSize();
  const int x = (size.x - m_bitmap.GetWidth()) / 2, y = (size.y - m_bitmap.GetHeight()) / 2;
  dc.SetPen(wxPen(wxColour(60, 60, 60)));
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  dc.DrawRectangle(x - 1, y - 1, m_bitmap.GetWidth() + 2, m_bitmap.GetHeight() + 2);
  dc.DrawBitmap(m_bitmap, x, y);
}
