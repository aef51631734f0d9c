#pragma once
#include <wx/popupwin.h>

#include "controls/CAdvComboBox.h"

class CDropListBox;
class CDropScrollBar;

// The drop-down of CAdvComboBox: a top-level pop-up holding a copy of the choices in a list box,
// a separate scroll bar and a size grip. While shown it holds the mouse, so that a press outside
// closes it; over the scroll bar the mouse goes to the scroll bar.
class CDropWnd : public wxPopupWindow {
public:
  CDropWnd(CAdvComboBox *combo, const ChoiceList &list, int flags);
  ~CDropWnd() override;
  // Creates the window at rect (screen coordinates), with its list box and scroll bar.
  bool Create(wxWindow *parent, const wxRect &rect);

  CDropListBox *GetListBox() const { return m_pListBox; }
  CDropScrollBar *GetScrollBar() const { return m_pScrollBar; }
  const ChoiceList &GetList() const { return m_list; }
  // The largest size the user may drag the window to.
  wxSize GetDragLimit() const { return m_maxSize; }
  void SetDragLimit(const wxSize &size) { m_maxSize = size; }
  wxRect GetGripRect() const { return m_rcSizeHandle; }
  bool IsResizing() const { return m_bResizing; }
  // Takes the mouse (on opening, and back after scrolling) unless it has it.
  virtual void TakeCapture();
  void DropCapture();
  // Lays out the list, the scroll bar and the grip in the client area.
  void LayoutParts();

  // Mouse steps, in client coordinates (the event handlers call them; tests may too).
  void PointerDown(const wxPoint &pt);
  void PointerMove(const wxPoint &pt);
  void PointerUp(const wxPoint &pt);

private:
  void OnPaint(wxPaintEvent &event);
  void OnSize(wxSizeEvent &event);
  void OnLeftDown(wxMouseEvent &event);
  void OnLeftUp(wxMouseEvent &event);
  void OnMotion(wxMouseEvent &event);
  void OnWheel(wxMouseEvent &event);
  void OnCaptureLost(wxMouseCaptureLostEvent &event);

  CAdvComboBox *m_pComboParent;
  ChoiceList m_list;
  CDropListBox *m_pListBox = nullptr;
  CDropScrollBar *m_pScrollBar = nullptr;
  wxRect m_rcList, m_rcScroll, m_rcSizeHandle;
  wxSize m_maxSize{1000, 1000};
  int m_dwACBStyle;
  int m_nScrollMinHeight = 0; // the scroll bar's own least height
  bool m_bResizing = false;
  wxPoint m_ptLastResize; // pointer offset from the bottom-right corner when the drag began
};
