#pragma once
#include <wx/gdicmn.h>

// Where a combo box's drop-down goes, in screen coordinates, for a box at box on screen: rows
// rows of rowHeight pixels (plus a frame of 2) and width pixels across; above the box when fewer
// than minBelow rows fit below it, cut at the screen's edges, never lower than arrow pixels (one
// scroll-bar arrow) below it, and moved sideways to stay on the screen. Geometry only: no
// window or display is needed.
wxRect DropDownRect(const wxRect &box, int rowHeight, int rows, int minBelow, int width,
                    const wxRect &screen, int arrow);
