#include "CCoolBarBase.h"

#include "Localization.h"

#include <wx/dcbuffer.h>

CCoolBarBase::CCoolBarBase(wxWindow *parent, wxWindowID id, const wxPoint &pos, const wxSize &size)
    : wxControl(parent, id, pos, size, wxBORDER_NONE) {
  // Every pixel is painted by the bar: no background erasing, no flicker.
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Bind(wxEVT_PAINT, &CCoolBarBase::OnPaint, this);
  Bind(wxEVT_MOTION, &CCoolBarBase::OnMouseMove, this);
  Bind(wxEVT_LEFT_DOWN, &CCoolBarBase::OnLeftDown, this);
  Bind(wxEVT_LEFT_UP, &CCoolBarBase::OnLeftUp, this);
  Bind(wxEVT_LEAVE_WINDOW, &CCoolBarBase::OnLeave, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, &CCoolBarBase::OnCaptureLost, this);
}

CCoolBarBase::~CCoolBarBase() { Release(); }

void CCoolBarBase::SetNotify(wxEvtHandler *window, wxEventType message) {
  m_notify.window = window;
  m_notify.message = message;
}

void CCoolBarBase::RefreshHover() {
  wxMouseEvent move(wxEVT_MOTION);
  const wxPoint point = ScreenToClient(wxGetMousePosition());
  move.SetPosition(point);
  move.SetEventObject(this);
  GetEventHandler()->ProcessEvent(move);
}

void CCoolBarBase::EnableButton(int command, bool enable, bool repaint) {
  for (int i = 0; i < ButtonCount(); ++i) {
    BarButton &button = ButtonAt(i);
    if (button.command == command) {
      button.enabled = enable ? 1 : 0;
      if (repaint)
        Refresh(false);
      return;
    }
  }
}

bool CCoolBarBase::IsButtonEnabled(int index) const {
  return IsValidIndex(index) && ButtonAt(index).enabled != 0;
}

int CCoolBarBase::GetButtonCommand(int index) const {
  return IsValidIndex(index) ? ButtonAt(index).command : 0;
}

wxRect CCoolBarBase::GetButtonRect(int index) const {
  return IsValidIndex(index) ? ButtonAt(index).rect : wxRect();
}

int CCoolBarBase::HitButton(const wxPoint &point, bool enabledOnly) const {
  for (int i = 0; i < ButtonCount(); ++i) {
    const BarButton &button = ButtonAt(i);
    if (enabledOnly && !button.enabled)
      continue;
    if (button.rect.Contains(point))
      return i;
  }
  return -1;
}

void CCoolBarBase::SetupToolTips() {
  m_tools.clear();
  for (int i = 0; i < ButtonCount(); ++i) {
    const BarButton &button = ButtonAt(i);
    m_tools.push_back(
        {button.command + 100, button.rect,
         button.toolTipId > 0 ? wxString(LoadLangString(button.toolTipId)) : wxString()});
  }
  if (!IsShownOnScreen())
    return;
  // The tip under the mouse is renewed only when its text changed, so that the repaints of
  // hovering do not make a shown tip flicker.
  const wxPoint mouse = ScreenToClient(wxGetMousePosition());
  ShowToolTipAt(GetClientRect().Contains(mouse) ? mouse : wxPoint(-1, -1));
}

wxString CCoolBarBase::GetToolTipTextAt(const wxPoint &point) const {
  for (const Tool &tool : m_tools)
    if (tool.rect.Contains(point))
      return tool.text;
  return wxString();
}

void CCoolBarBase::ShowToolTipAt(const wxPoint &point) {
  // One window tool tip stands for the per-button tools: it takes the text of the tool under
  // the mouse, and goes away where there is none.
  const wxString text = GetToolTipTextAt(point);
  if (text == m_shownTip)
    return;
  m_shownTip = text;
  if (text.empty())
    UnsetToolTip();
  else
    SetToolTip(text);
}

void CCoolBarBase::Capture() {
  if (!HasCapture())
    CaptureMouse();
}

void CCoolBarBase::Release() {
  if (HasCapture())
    ReleaseMouse();
}

void CCoolBarBase::OnMouseMove(wxMouseEvent &event) {
  const wxPoint point = event.GetPosition();
  ShowToolTipAt(point);
  if (m_bMousePressed)
    return;
  const int hover = HitButton(point, true);
  if (hover >= 0) {
    if (hover != m_nHover) {
      m_nHover = hover;
      Refresh(false);
    }
    // Captured so that the move that leaves the bar still arrives and clears the hover.
    Capture();
  } else {
    if (m_nHover != -1) {
      m_nHover = -1;
      Refresh(false);
    }
    Release();
  }
}

void CCoolBarBase::OnLeftDown(wxMouseEvent &event) {
  const int pressed = HitButton(event.GetPosition(), true);
  OnPressedChanged(pressed);
  if (pressed != m_nPressed) {
    m_nPressed = pressed;
    Refresh(false);
  }
  Capture();
  m_bMousePressed = true;
}

void CCoolBarBase::OnLeftUp(wxMouseEvent &event) {
  const int under = HitButton(event.GetPosition(), false);
  // The press need not have started on this button: a release over any enabled one counts.
  if (under >= 0 && m_notify.IsSet() && IsButtonEnabled(under)) {
    Refresh(true);
    m_notify.Post(GetButtonCommand(under));
  }
  const bool hadPressed = m_nPressed != -1;
  m_nPressed = -1;
  if (under < 0)
    m_nHover = -1;
  OnPressedChanged(-1);
  if (hadPressed || (under < 0 && RepaintAfterMissedRelease()))
    Refresh(false);
  if (m_bMousePressed) {
    Release();
    m_bMousePressed = false;
  }
}

void CCoolBarBase::OnLeave(wxMouseEvent &event) {
  // Without a capture (the window system may refuse one) leaving is the last move we see.
  if (!m_bMousePressed && !HasCapture()) {
    wxMouseEvent outside(event);
    outside.SetPosition(wxPoint(-1, -1));
    OnMouseMove(outside);
  }
}

void CCoolBarBase::OnCaptureLost(wxMouseCaptureLostEvent &) {
  m_bMousePressed = false;
  m_nPressed = -1;
  m_nHover = -1;
  OnPressedChanged(-1);
  Refresh(false);
}

void CCoolBarBase::OnPaint(wxPaintEvent &) {
  wxAutoBufferedPaintDC dc(this);
  DrawBar(dc);
}
