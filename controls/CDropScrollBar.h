#pragma once
#include <wx/scrolbar.h>

class CDropListBox;

// The drop-down's vertical scroll bar: scrolls its list box by lines, pages and the thumb, and
// gives the mouse back to the drop-down window when scrolling ends.
class CDropScrollBar : public wxScrollBar {
public:
  CDropScrollBar(wxWindow *parent, const wxRect &rect);
  void SetListBox(CDropListBox *list) { m_pListBox = list; }
  // Range 0 to count - 1, page = rows visible, position = the list's top row.
  void SyncWithList();
  // Applies one scroll action; the new top row is kept within the range.
  void ScrollList(wxEventType type, int thumbPos);

private:
  void OnScroll(wxScrollEvent &event);
  void OnScrollEnd(wxScrollEvent &event);

  CDropListBox *m_pListBox = nullptr;
};
