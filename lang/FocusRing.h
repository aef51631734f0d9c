#pragma once
#include <wx/colour.h>
#include <wx/gdicmn.h>

class wxDC;

// The keyboard focus ring of the program's own controls (the bars, the list, the cover, the page
// thumbnails): two pixels wide, in a dark blue that stands out on the light grey skin, on the
// rows' pink and green and on the selection's blue. The desktop's own ring is a one-pixel
// dotted line that the skin's pictures all but hide.
const wxColour &FocusRingColour();
// Draws the ring just inside rect.
void DrawFocusRing(wxDC &dc, const wxRect &rect);
// Gives the desktop's own controls (buttons, radio buttons, check boxes, fields) the same ring
// while they have the keyboard focus. Once per process; needs the display.
void UseFocusRingOnDesktopControls();
