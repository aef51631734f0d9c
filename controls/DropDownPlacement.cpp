#include "controls/DropDownPlacement.h"

#include <algorithm>

wxRect DropDownRect(const wxRect &box, int rowHeight, int rows, int minBelow, int width,
                    const wxRect &screen, int arrow) {
  int height = rowHeight * rows + 2;
  int rowsBelow = rowHeight > 0 ? (screen.GetBottom() + 1 - (box.GetBottom() + 1)) / rowHeight : 0;
  wxRect rect(box.x, box.GetBottom() + 1, width, height);
  if (rowsBelow < minBelow) {
    // Above the box, cut at the top of the screen.
    int top = std::max(screen.y, box.y - height);
    rect.y = top;
    rect.height = box.y - top;
  } else {
    // Below, cut at the bottom of the screen, but never lower than one scroll-bar arrow.
    int bottom = std::min(rect.y + height, screen.GetBottom() + 1);
    rect.height = std::max(arrow, bottom - rect.y);
  }
  if (rect.GetRight() > screen.GetRight())
    rect.x = screen.GetRight() + 1 - rect.width;
  if (rect.x < screen.x)
    rect.x = screen.x;
  return rect;
}
