#include "CCoolBarBase.h"

#include "FocusRing.h"
#include "Localization.h"

#include <wx/dcbuffer.h>
#include <wx/utils.h>

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
  Bind(wxEVT_CHAR_HOOK, &CCoolBarBase::OnCharHook, this);
  Bind(wxEVT_SET_FOCUS, &CCoolBarBase::OnFocusChanged, this);
  Bind(wxEVT_KILL_FOCUS, &CCoolBarBase::OnFocusChanged, this);
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
      if (!enable)
        RefreshToolTip();
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
  // A disabled button has no tip: it would offer what cannot be done.
  for (size_t i = 0; i < m_tools.size(); ++i)
    if (m_tools[i].rect.Contains(point))
      return IsButtonEnabled(static_cast<int>(i)) ? m_tools[i].text : wxString();
  return wxString();
}

void CCoolBarBase::RefreshToolTip() {
  if (!IsShownOnScreen())
    return;
  const wxPoint mouse = ScreenToClient(wxGetMousePosition());
  ShowToolTipAt(GetClientRect().Contains(mouse) ? mouse : wxPoint(-1, -1));
}

bool CCoolBarBase::HasEnabledButton() const {
  for (int i = 0; i < ButtonCount(); ++i)
    if (ButtonAt(i).enabled)
      return true;
  return false;
}

int CCoolBarBase::NextEnabled(int from, int step) const {
  for (int i = from + step; i >= 0 && i < ButtonCount(); i += step)
    if (ButtonAt(i).enabled)
      return i;
  return -1;
}

void CCoolBarBase::SetFocusIndex(int index) {
  if (index == m_nFocus || (index != -1 && !IsValidIndex(index)))
    return;
  m_nFocus = index;
  Refresh(false);
}

void CCoolBarBase::PressButton(int index) {
  if (IsButtonEnabled(index) && m_notify.IsSet())
    m_notify.Post(GetButtonCommand(index));
}

void CCoolBarBase::OnFocusChanged(wxFocusEvent &event) {
  event.Skip();
  if (event.GetEventType() == wxEVT_SET_FOCUS && !IsButtonEnabled(m_nFocus)) {
    // Coming in backwards (Shift+Tab) the last button is the first stop.
    const bool backward = wxGetKeyState(WXK_SHIFT);
    m_nFocus = backward ? NextEnabled(ButtonCount(), -1) : NextEnabled(-1, 1);
  }
  Refresh(false);
}

void CCoolBarBase::OnCharHook(wxKeyEvent &event) {
  if (event.HasAnyModifiers() &&
      !(event.GetModifiers() == wxMOD_SHIFT && event.GetKeyCode() == WXK_TAB)) {
    event.Skip();
    return;
  }
  switch (event.GetKeyCode()) {
  case WXK_TAB:
  case WXK_LEFT:
  case WXK_RIGHT:
  case WXK_UP:
  case WXK_DOWN: {
    const int key = event.GetKeyCode();
    const bool back = key == WXK_LEFT || key == WXK_UP || (key == WXK_TAB && event.ShiftDown());
    const int next = NextEnabled(m_nFocus, back ? -1 : 1);
    if (next >= 0) {
      SetFocusIndex(next);
    } else if (key == WXK_TAB) {
      // Past the last button the Tab order goes on to the next control; the bar starts at its
      // own end again when it comes back.
      m_nFocus = -1;
      Navigate(back ? wxNavigationKeyEvent::IsBackward : wxNavigationKeyEvent::IsForward);
    }
    return;
  }
  case WXK_SPACE:
  case WXK_RETURN:
  case WXK_NUMPAD_ENTER:
    PressButton(m_nFocus);
    return;
  default:
    event.Skip();
  }
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
  if (HasFocus() && IsValidIndex(m_nFocus))
    DrawFocusRing(dc, wxRect(ButtonAt(m_nFocus).rect).Deflate(1));
}
