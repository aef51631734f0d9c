#include "DialogUnits.h"

#include <cmath>

int DluToPixelsX(int units) { return static_cast<int>(std::lround(units * 1.5)); }

int DluToPixelsY(int units) { return static_cast<int>(std::lround(units * 1.625)); }

wxRect DluRect(int x, int y, int width, int height) {
  const int left = DluToPixelsX(x);
  const int top = DluToPixelsY(y);
  // Edges are rounded, not sizes, so that neighbouring controls neither overlap nor part.
  return wxRect(left, top, DluToPixelsX(x + width) - left, DluToPixelsY(y + height) - top);
}

wxFont DialogFont() { return wxFont(wxFontInfo(8).FaceName("Liberation Sans")); }
