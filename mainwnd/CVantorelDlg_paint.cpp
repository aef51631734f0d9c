// The main window's look: the nine-piece skin, the icon and the title, the rounded outline, and
// moving the window by dragging its surface (it has no caption bar to grab).
#include "CVantorelDlg.h"

#include <wx/dcbuffer.h>
#include <wx/dcmemory.h>
#include <wx/region.h>

namespace {

struct SkinPiece {
  wxRect source;
  // Destination: x, y from the right or bottom edge when negative (W + x, H + y); width and
  // height 0 mean the source's, negative ones W + w, H + h.
  int x, y, width, height;
};

// Bitmap 140 is 900 x 730: corners unscaled, edges and centre stretched.
const SkinPiece kSkinPieces[9] = {
    {{0, 0, 30, 60}, 0, 0, 0, 0},           {{30, 0, 860, 60}, 30, 0, -40, 60},
    {{890, 0, 10, 60}, -10, 0, 0, 0},       {{0, 60, 30, 640}, 0, 60, 30, -90},
    {{30, 60, 860, 640}, 30, 60, -40, -90}, {{890, 60, 10, 640}, -10, 60, 10, -90},
    {{0, 700, 30, 30}, 0, -30, 0, 0},       {{30, 700, 860, 30}, 30, -30, -40, 30},
    {{890, 700, 10, 30}, -10, -30, 0, 0},
};

int Resolve(int value, int extent) { return value < 0 ? extent + value : value; }

} // namespace

void CVantorelDlg::DrawWindow(wxDC &dc, const wxSize &size) {
  const int W = size.x, H = size.y;
  if (IsIconized()) {
    dc.SetBackground(wxBrush(GetBackgroundColour()));
    dc.Clear();
    if (!m_icons.IsEmpty())
      dc.DrawIcon(m_icons.GetIconOfExactSize(wxSize(32, 32)).IsOk()
                      ? m_icons.GetIconOfExactSize(wxSize(32, 32))
                      : m_icons.GetIcon(wxSize(32, 32)),
                  (W - 32) / 2, (H - 32) / 2);
    return;
  }
  if (m_skin.IsOk()) {
    wxMemoryDC skin(m_skin);
    for (const SkinPiece &piece : kSkinPieces) {
      const int w = piece.width == 0 ? piece.source.width : Resolve(piece.width, W);
      const int h = piece.height == 0 ? piece.source.height : Resolve(piece.height, H);
      dc.StretchBlit(Resolve(piece.x, W), Resolve(piece.y, H), w, h, &skin, piece.source.x,
                     piece.source.y, piece.source.width, piece.source.height);
    }
  } else {
    dc.SetBackground(wxBrush(GetBackgroundColour()));
    dc.Clear();
  }
  if (!m_icons.IsEmpty()) {
    const wxIcon icon = m_icons.GetIcon(wxSize(24, 24));
    if (icon.IsOk()) {
      wxBitmap bitmap(icon);
      if (bitmap.GetWidth() != 24 || bitmap.GetHeight() != 24)
        bitmap = wxBitmap(bitmap.ConvertToImage().Scale(24, 24, wxIMAGE_QUALITY_HIGH));
      dc.DrawBitmap(bitmap, 8, 6, true);
    }
  }
  // "MS Sans Serif" 17 pixels bold, as this desktop has it.
  wxFont font(wxFontInfo(wxSize(0, 17)).FaceName("Liberation Sans").Bold());
  dc.SetFont(font);
  dc.SetTextForeground(wxColour(125, 125, 125));
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  const wxString title = GetTitle().empty() ? wxString(kTitle) : GetTitle();
  dc.DrawText(title, 40, 10);
}

void CVantorelDlg::OnPaint(wxPaintEvent &) {
  wxAutoBufferedPaintDC dc(this);
  DrawWindow(dc, GetClientSize());
}

void CVantorelDlg::OnSize(wxSizeEvent &event) {
  event.Skip();
  UpdateWindowShape();
  Refresh();
}

void CVantorelDlg::UpdateWindowShape() {
  // A rounded rectangle from (0, 0) to (width + 1, height + 1) with 9 x 9 corner ellipses.
  const wxSize size = GetSize();
  if (size.x <= 0 || size.y <= 0)
    return;
  wxBitmap mask(size.x + 1, size.y + 1, 24);
  {
    wxMemoryDC dc(mask);
    dc.SetBackground(*wxBLACK_BRUSH);
    dc.Clear();
    dc.SetBrush(*wxWHITE_BRUSH);
    dc.SetPen(*wxWHITE_PEN);
    dc.DrawRoundedRectangle(0, 0, size.x + 1, size.y + 1, 4.5);
  }
  SetShape(wxRegion(mask, *wxBLACK));
}

void CVantorelDlg::OnLeftDown(wxMouseEvent &event) {
  // Only presses on the window's own surface arrive here; child controls keep theirs.
  m_dragOffset = event.GetPosition();
  m_dragging = true;
  CaptureMouse();
}

void CVantorelDlg::OnMotion(wxMouseEvent &event) {
  if (!m_dragging || !event.LeftIsDown()) {
    event.Skip();
    return;
  }
  Move(ClientToScreen(event.GetPosition()) - m_dragOffset);
}

void CVantorelDlg::OnLeftUp(wxMouseEvent &event) {
  event.Skip();
  if (m_dragging) {
    m_dragging = false;
    if (HasCapture())
      ReleaseMouse();
  }
}

void CVantorelDlg::OnCaptureLost(wxMouseCaptureLostEvent &) { m_dragging = false; }
