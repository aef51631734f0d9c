#pragma once
#include <wx/font.h>
#include <wx/gdicmn.h>

// Dialog templates are laid out in dialog units of the template font (Tahoma 8): one unit is
// 1.5 pixels across and 1.625 pixels down, fixed rather than taken from the desktop's font.
int DluToPixelsX(int units);
int DluToPixelsY(int units);
// A rectangle given as x, y, width, height in dialog units.
wxRect DluRect(int x, int y, int width, int height);

// The templates' font, Tahoma 8, as this desktop has it: "Liberation Sans" at 8 points.
wxFont DialogFont();
