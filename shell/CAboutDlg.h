#pragma once
#include "ProgramVersion.h"

#include <wx/bitmap.h>
#include <wx/dialog.h>

// The about box (template 157): picture 167 with the program's version drawn on it, no caption
// bar; a click anywhere or Escape closes it.
class CAboutDlg : public wxDialog {
public:
  enum { IDD = 157, IDB_ABOUT = 167 };

  explicit CAboutDlg(wxWindow *parent);

  // The version text drawn on the picture, "Version:%d.%d%d".
  wxString GetVersionText() const;
  bool HasPicture() const { return m_bitmap.IsOk(); }

  // Draws the box: white, the picture, the version text (also used to test the drawing).
  void Draw(wxDC &dc) const;

private:
  void OnPaint(wxPaintEvent &event);
  void OnLeftDown(wxMouseEvent &event);
  void OnCharHook(wxKeyEvent &event);
  void CloseBox(int result);

  wxBitmap m_bitmap;
  int m_nWidth = 504;
  int m_nHeight = 315;
  ProgramVersion m_version;
};
