// The face of the advanced combo box: frame, drop button and, in the drop-down-list style, the
// current text, in the classic frames.
#include <wx/dcbuffer.h>
#include <wx/settings.h>

#include "controls/CAdvComboBox.h"
#include "controls/CAdvComboEdit.h"
#include "controls/ClassicParts.h"
#include "controls/Colors.h"

wxRect CAdvComboBox::GetButtonRect() const {
  wxSize size = GetClientSize();
  int arrow = wxSystemSettings::GetMetric(wxSYS_HSCROLL_ARROW_X, this);
  if (arrow <= 0)
    arrow = 16;
  return wxRect(size.x - arrow, 0, arrow, size.y);
}

void CAdvComboBox::OnSize(wxSizeEvent &event) {
  event.Skip();
  if (m_pEdit) {
    wxRect rect(wxPoint(0, 0), GetClientSize());
    rect.width -= GetButtonRect().width;
    if (m_dwACBStyle & ADVCOMBO_INSETEDIT) {
      rect.Deflate(2);
      rect.Offset(1, 2);
    }
    m_pEdit->SetSize(rect);
  }
  Refresh(false);
}

namespace {
void Fill(wxDC &dc, const wxRect &rect, COLORREF color) {
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(ToWx(color)));
  dc.DrawRectangle(rect);
}
void Line(wxDC &dc, COLORREF color, int x1, int y1, int x2, int y2) {
  dc.SetPen(wxPen(ToWx(color)));
  dc.DrawLine(x1, y1, x2, y2);
}
// A frame whose top and left are in tl and bottom and right in br.
void Frame3D(wxDC &dc, const wxRect &r, COLORREF tl, COLORREF br) {
  Line(dc, tl, r.x, r.y, r.GetRight(), r.y);
  Line(dc, tl, r.x, r.y, r.x, r.GetBottom());
  Line(dc, br, r.x, r.GetBottom(), r.GetRight() + 1, r.GetBottom());
  Line(dc, br, r.GetRight(), r.y, r.GetRight(), r.GetBottom());
}
} // namespace

void CAdvComboBox::OnPaint(wxPaintEvent &) {
  wxAutoBufferedPaintDC dc(this);
  // The current text follows the selection; the edit box is refreshed once.
  SetTextFromSelection();
  if (m_bFirstPaint && m_pEdit) {
    SetEditText(m_strEdit);
    m_pEdit->Enable(IsEnabled());
    m_bFirstPaint = false;
  }
  bool enabled = IsEnabled();
  wxRect client(wxPoint(0, 0), GetClientSize());
  wxRect button = GetButtonRect();
  wxRect text = client;
  text.width -= button.width + 1;
  Fill(dc, client, GetSysColor(enabled ? SysColor::Window : SysColor::ButtonFace));

  // The classic look: two nested sunken frames, then the button inside them. (Windows' visual
  // styles library, which drew the themed look, does not exist on this platform.)
  Frame3D(dc, client, GetSysColor(SysColor::ButtonShadow), GetSysColor(SysColor::ButtonHighlight));
  wxRect inner = client;
  inner.Deflate(1);
  Frame3D(dc, inner, FromWx(wxSystemSettings::GetColour(wxSYS_COLOUR_3DDKSHADOW)),
          FromWx(wxSystemSettings::GetColour(wxSYS_COLOUR_3DLIGHT)));
  button.Offset(-2, 0);
  button.y += 2;
  button.height -= 4;
  ClassicParts::DrawComboButton(this, dc, button, m_pDropWnd != nullptr, !enabled);

  if (m_nStyle == CBS_DROPDOWNLIST) {
    wxRect area(text.x + 2, text.y + 1, button.x - 2 - (text.x + 2), text.height - 2);
    COLORREF back, fore;
    if (m_bHasFocus && !m_pDropWnd) {
      back = GetSysColor(SysColor::Highlight);
      fore = GetSysColor(SysColor::HighlightText);
    } else if (enabled) {
      back = GetSysColor(SysColor::Window);
      fore = GetSysColor(SysColor::ButtonText);
    } else {
      back = GetSysColor(SysColor::ButtonFace);
      fore = GetSysColor(SysColor::GrayText);
    }
    if (area.width > 0 && area.height > 0) {
      Fill(dc, area, back);
      dc.SetFont(m_font);
      dc.SetTextForeground(ToWx(fore));
      dc.SetClippingRegion(area);
      int y = area.y + (area.height - dc.GetCharHeight()) / 2;
      dc.DrawText(m_strEdit, area.x + 1, y);
      dc.DestroyClippingRegion();
    }
  } else if (m_pEdit && m_pEdit->GetFont() != m_font) {
    m_pEdit->SetFont(m_font);
  }
}
