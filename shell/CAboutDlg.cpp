#include "CAboutDlg.h"

#include "DialogUnits.h"
#include "ResourceBitmap.h"

#include <wx/dcclient.h>

namespace {

const wxPoint kVersionOrigin(380, 45);
const wxColour kVersionColour(240, 240, 240);

// Bold, 18 pixels high; "MS Sans Serif" of the original is a sans face like this one.
wxFont VersionFont() {
  wxFont font(wxFontInfo().FaceName("Liberation Sans").Bold());
  font.SetPixelSize(wxSize(0, 18));
  return font;
}

} // namespace

CAboutDlg::CAboutDlg(wxWindow *parent)
    : wxDialog(parent, IDD, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE) {
  m_bitmap = LoadBitmapResource(IDB_ABOUT);
  // Without its picture the box keeps the picture's size and stays plain white.
  if (m_bitmap.IsOk()) {
    m_nWidth = m_bitmap.GetWidth();
    m_nHeight = m_bitmap.GetHeight();
  }
  ReadProgramVersion(&m_version.major, &m_version.minor, &m_version.patch);
  SetClientSize(m_nWidth, m_nHeight);
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  CentreOnParent();

  Bind(wxEVT_PAINT, &CAboutDlg::OnPaint, this);
  Bind(wxEVT_LEFT_DOWN, &CAboutDlg::OnLeftDown, this);
  Bind(wxEVT_CHAR_HOOK, &CAboutDlg::OnCharHook, this);
}

wxString CAboutDlg::GetVersionText() const {
  return FormatAboutVersion(m_version.major, m_version.minor, m_version.patch);
}

void CAboutDlg::Draw(wxDC &dc) const {
  dc.SetBackground(*wxWHITE_BRUSH);
  dc.Clear();
  if (m_bitmap.IsOk())
    dc.DrawBitmap(m_bitmap, 0, 0);
  dc.SetFont(VersionFont());
  dc.SetTextForeground(kVersionColour);
  dc.SetBackgroundMode(wxTRANSPARENT);
  dc.DrawText(GetVersionText(), kVersionOrigin);
}

void CAboutDlg::OnPaint(wxPaintEvent &) {
  wxPaintDC dc(this);
  Draw(dc);
}

void CAboutDlg::OnLeftDown(wxMouseEvent &event) {
  event.Skip();
  CloseBox(wxID_OK);
}

void CAboutDlg::OnCharHook(wxKeyEvent &event) {
  if (event.GetKeyCode() == WXK_ESCAPE)
    CloseBox(wxID_CANCEL);
  else
    event.Skip();
}

void CAboutDlg::CloseBox(int result) {
  if (IsModal())
    EndModal(result);
  else
    Hide();
}
