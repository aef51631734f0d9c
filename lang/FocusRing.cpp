#include "FocusRing.h"

#include <wx/dc.h>

const wxColour &FocusRingColour() {
  static const wxColour colour(16, 40, 96);
  return colour;
}

void DrawFocusRing(wxDC &dc, const wxRect &rect) {
  if (rect.width < 4 || rect.height < 4)
    return;
  // Four filled bars: an outline drawn with a pen is centred on the edge and, under cairo,
  // blended into the pixels on both sides of it.
  wxDCPenChanger pen(dc, *wxTRANSPARENT_PEN);
  wxDCBrushChanger brush(dc, wxBrush(FocusRingColour()));
  const int x = rect.x, y = rect.y, w = rect.width, h = rect.height;
  dc.DrawRectangle(x, y, w, 2);
  dc.DrawRectangle(x, y + h - 2, w, 2);
  dc.DrawRectangle(x, y, 2, h);
  dc.DrawRectangle(x + w - 2, y, 2, h);
}
