#pragma once
#include <wx/dnd.h>

class CVantorelDlg;

// Files dragged from the desktop's file manager onto the main window. Every path that ends
// with a supported extension is added, in the order of the drop; other paths are ignored
// without a message.
//
// While dragging, the desktop hands the window the names only when they are dropped, so the
// cursor shows the copy effect for any list of files; the acceptance test then decides at the
// drop, which is refused when no name would be added.
class CURLDropTarget : public wxFileDropTarget {
public:
  explicit CURLDropTarget(CVantorelDlg *window) : m_window(window) {}

  wxDragResult OnEnter(wxCoord x, wxCoord y, wxDragResult def) override;
  wxDragResult OnDragOver(wxCoord x, wxCoord y, wxDragResult def) override;
  wxDragResult OnData(wxCoord x, wxCoord y, wxDragResult def) override;
  // True when at least one file was added.
  bool OnDropFiles(wxCoord x, wxCoord y, const wxArrayString &filenames) override;

private:
  CVantorelDlg *m_window;
};
