#pragma once
#include "BarCommand.h"

#include <string>

#include <wx/bitmap.h>
#include <wx/panel.h>

// Shown in place of the file list until the first file is added: a picture with instructions
// and a clickable area. A click in that area sends the owner the add-files command (201), the
// same as the Add Files button.
//
// Keyboard: the cover is a Tab stop in the list's place. With the focus, its "Add files" tile
// (the clickable area, the only tile that is a command: the other two show the panel and the
// Build bar, which are Tab stops of their own) wears the focus ring, and Enter or Space acts as
// a click on it.
class CLvCover : public wxPanel {
public:
  static const int kTemplateId = 165;
  static const int kCoverBitmap = 166;
  static const int kClickCommand = kCmdAddFiles;

  // Loads the cover bitmap (resource 166).
  CLvCover();

  // Creates the cover as a child of parent and loads "lv_cover_merger.png" from the program
  // folder.
  bool Create(wxWindow *parent, wxWindowID id = kTemplateId, const wxPoint &pos = wxDefaultPosition,
              const wxSize &size = wxSize(877, 280));

  // Clicks are sent to window as message (the main window gives itself and WM_BAR_COMMAND).
  void SetNotify(wxEvtHandler *window, wxEventType message);

  // Replaces the stretched picture; false, and no picture, when the file cannot be read.
  bool LoadCoverImage(const std::wstring &path);

  // The area that reacts to the mouse: (81, 122) to (203, 253), right and bottom excluded.
  static wxRect GetHotRect() { return wxRect(81, 122, 203 - 81, 253 - 122); }
  static bool IsInHotRect(const wxPoint &point) { return GetHotRect().Contains(point); }

  // Paints the cover into dc over a client area of size, with the focus ring round the
  // clickable area while the cover has the keyboard focus.
  void DrawCover(wxDC &dc, const wxSize &size);
  // Where the focus ring is drawn: just outside the clickable tile.
  static wxRect GetFocusRingRect() { return GetHotRect().Inflate(4); }

private:
  void OnPaint(wxPaintEvent &event);
  void OnMouseMove(wxMouseEvent &event);
  void OnLeftDown(wxMouseEvent &event);
  void OnLanguageChanged(wxCommandEvent &event);
  void OnCharHook(wxKeyEvent &event);
  void OnFocusChanged(wxFocusEvent &event);

  BarNotifyTarget m_notify;
  wxBitmap m_coverBitmap;
  wxBitmap m_coverImage;
};
