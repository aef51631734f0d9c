#include "controls/ClassicParts.h"

#include <wx/renderer.h>
#include <wx/settings.h>

namespace ClassicParts {

void DrawFrame(wxWindow *, wxDC &dc, const wxRect &rect) {
  // Shadow on the top and left, highlight on the bottom and right: the sunken edge.
  wxPen shadow(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW));
  wxPen light(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNHIGHLIGHT));
  dc.SetPen(shadow);
  dc.DrawLine(rect.GetLeft(), rect.GetTop(), rect.GetRight(), rect.GetTop());
  dc.DrawLine(rect.GetLeft(), rect.GetTop(), rect.GetLeft(), rect.GetBottom());
  dc.SetPen(light);
  dc.DrawLine(rect.GetLeft(), rect.GetBottom(), rect.GetRight() + 1, rect.GetBottom());
  dc.DrawLine(rect.GetRight(), rect.GetTop(), rect.GetRight(), rect.GetBottom());
  dc.SetPen(wxNullPen);
}

void DrawComboButton(wxWindow *win, wxDC &dc, const wxRect &rect, bool pressed, bool disabled) {
  int flags = (pressed ? int(wxCONTROL_PRESSED) : 0) | (disabled ? int(wxCONTROL_DISABLED) : 0);
  wxRendererNative::Get().DrawComboBoxDropButton(win, dc, rect, flags);
}

void DrawSizeGrip(wxWindow *, wxDC &dc, const wxRect &rect) {
  // Three diagonal ridges in the corner, as the classic grip.
  wxPen light(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNHIGHLIGHT));
  wxPen shadow(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW));
  int r = rect.GetRight(), b = rect.GetBottom();
  for (int off = 3; off < rect.width && off < rect.height; off += 4) {
    dc.SetPen(shadow);
    dc.DrawLine(r - off, b, r + 1, b - off - 1);
    dc.DrawLine(r - off + 1, b, r + 1, b - off);
    dc.SetPen(light);
    dc.DrawLine(r - off - 1, b, r + 1, b - off - 2);
  }
  dc.SetPen(wxNullPen);
}

void DrawCheckBox(wxWindow *win, wxDC &dc, const wxRect &rect, bool checked, bool disabled) {
  int flags = (checked ? int(wxCONTROL_CHECKED) : 0) | (disabled ? int(wxCONTROL_DISABLED) : 0);
  wxRendererNative::Get().DrawCheckBox(win, dc, rect, flags);
}

} // namespace ClassicParts
