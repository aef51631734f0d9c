#include "CHyperLink.h"

#include "LangMessageBox.h"
#include "LinkOpening.h"

#include <wx/dcclient.h>
#include <wx/msgdlg.h>
#include <wx/settings.h>
#include <wx/utils.h>

CHyperLink::CHyperLink() = default;

CHyperLink::~CHyperLink() {
  if (HasCapture())
    ReleaseMouse();
}

bool CHyperLink::Create(wxWindow *parent, wxWindowID id, const wxString &label, const wxPoint &pos,
                        const wxSize &size, long style) {
  // We size the control ourselves (fit to text), never the base class on a label change.
  if (!wxGenericStaticText::Create(parent, id, label, pos, size, style | wxST_NO_AUTORESIZE))
    return false;
  if (m_strURL.empty())
    m_strURL = label.ToStdWstring();
  else if (label.empty())
    SetLabel(m_strURL);

  m_font = GetFont();
  m_font.SetUnderlined(m_bUnderline);
  SetFont(m_font);
  m_bCreated = true;
  FitToText();

  m_hLinkCursor = wxCursor(wxCURSOR_HAND);
  if (m_hLinkCursor.IsOk())
    SetCursor(m_hLinkCursor);
  SetToolTip(m_strURL);
  SetBackgroundStyle(wxBG_STYLE_PAINT);

  Bind(wxEVT_PAINT, &CHyperLink::OnPaint, this);
  Bind(wxEVT_MOTION, &CHyperLink::OnMouseMove, this);
  Bind(wxEVT_LEFT_UP, &CHyperLink::OnLeftUp, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, &CHyperLink::OnCaptureLost, this);
  return true;
}

void CHyperLink::SetLinkTarget(const std::wstring &address) {
  m_strURL = address;
  if (!m_bCreated)
    return;
  FitToText();
  SetToolTip(m_strURL);
}

void CHyperLink::ApplyLinkColours(const wxColour &link, const wxColour &visited,
                                  const wxColour &hover) {
  m_crLinkColour = link;
  m_crVisitedColour = visited;
  m_crHoverColour = hover;
  if (m_bCreated)
    Refresh();
}

void CHyperLink::FitToText() {
  if (!m_bAdjustToFit || !m_bCreated)
    return;
  wxCoord textWidth = 0, textHeight = 0;
  GetTextExtent(GetLabel(), &textWidth, &textHeight, nullptr, nullptr, &m_font);
  wxRect rect = GetRect();
  const long style = GetWindowStyle();

  if (style & kLinkCentreVertical)
    rect.y += (rect.height - textHeight) / 2;
  rect.height = textHeight;

  if (style & wxALIGN_CENTRE_HORIZONTAL)
    rect.x += (rect.width - textWidth) / 2;
  else if (style & wxALIGN_RIGHT)
    rect.x = rect.GetRight() + 1 - textWidth;
  rect.width = textWidth;
  SetSize(rect);
}

wxColour CHyperLink::GetDrawColour() const {
  if (m_bOverControl)
    return m_crHoverColour;
  return m_bVisited ? m_crVisitedColour : m_crLinkColour;
}

void CHyperLink::OnPaint(wxPaintEvent &) {
  wxPaintDC dc(this);
  // The parent's background, then the text without a background of its own.
  wxWindow *parent = GetParent();
  const wxColour background =
      parent ? parent->GetBackgroundColour() : wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
  dc.SetBackground(wxBrush(background));
  dc.Clear();
  dc.SetBackgroundMode(wxTRANSPARENT);
  dc.SetFont(m_font);
  dc.SetTextForeground(GetDrawColour());
  int alignment = wxALIGN_LEFT;
  const long style = GetWindowStyle();
  if (style & wxALIGN_CENTRE_HORIZONTAL)
    alignment = wxALIGN_CENTRE_HORIZONTAL;
  else if (style & wxALIGN_RIGHT)
    alignment = wxALIGN_RIGHT;
  alignment |= (style & kLinkCentreVertical) ? wxALIGN_CENTRE_VERTICAL : wxALIGN_TOP;
  dc.DrawLabel(GetLabel(), GetClientRect(), alignment);
}

void CHyperLink::SetMouseOver(bool over) {
  m_bOverControl = over;
  Refresh();
  Update();
}

void CHyperLink::OnMouseMove(wxMouseEvent &event) {
  event.Skip();
  if (!m_bOverControl) {
    SetMouseOver(true);
    if (!HasCapture())
      CaptureMouse();
    return;
  }
  // While captured every move reaches us; one outside the client area ends the hover.
  if (!GetClientRect().Contains(event.GetPosition())) {
    if (HasCapture())
      ReleaseMouse();
    SetMouseOver(false);
  }
}

void CHyperLink::OnCaptureLost(wxMouseCaptureLostEvent &) { SetMouseOver(false); }

void CHyperLink::OnLeftUp(wxMouseEvent &event) {
  event.Skip();
  if (GetClientRect().Contains(event.GetPosition()))
    FollowLink();
}

void CHyperLink::FollowLink() {
  const int result = OpenTarget();
  m_bVisited = result > 32;
  if (m_bVisited) {
    Refresh();
    return;
  }
  // The box takes the mouse: give the capture back first, so the link shows its link colour.
  if (HasCapture())
    ReleaseMouse();
  SetMouseOver(false);
  ReportOpenFailure(result);
}

int CHyperLink::OpenTarget() { return OpenLinkTarget(m_strURL, kShowNormal); }

void CHyperLink::ReportOpenFailure(int code) {
  wxBell();
  ShowLinkError(this, code);
}

void ShowLinkError(wxWindow *parent, int code) {
  ShowMessageBox(parent, LinkErrorText(code), "Error", wxOK | wxICON_EXCLAMATION);
}
