#pragma once
#include "BarCommand.h"

#include <vector>

#include <wx/control.h>

// What the two skinned bars share: the notification target, hover and press tracking with mouse
// capture, the tool tips, one per button, and the keyboard. A derived bar says where its buttons
// are and draws itself; it never acts on a click, it posts the button's command to its owner.
//
// Keyboard: a bar with an enabled button is in the window's Tab order, and each of its enabled
// buttons is a stop of its own: Tab and Shift+Tab (and the arrow keys) go from button to button
// and leave the bar after its last one; Space and Enter press the focused button. The focused
// button is drawn with a focus rectangle.
class CCoolBarBase : public wxControl {
public:
  // What the bar knows of each of its buttons, whatever it looks like.
  struct BarButton {
    int enabled = 0;   // 1 or 0
    int command = 0;   // posted on a click
    wxRect rect;       // where it is; empty while a tool bar has not been laid out
    int toolTipId = 0; // string identifier of its tool tip; 0 or less for none
  };
  // One tool of the bar's tool tip: a button's rectangle and its text, with the identifier
  // command + 100.
  struct Tool {
    int id;
    wxRect rect;
    wxString text;
  };

  CCoolBarBase(wxWindow *parent, wxWindowID id, const wxPoint &pos, const wxSize &size);
  ~CCoolBarBase() override;

  // Clicks are posted to window as message (the main window gives itself and WM_BAR_COMMAND).
  void SetNotify(wxEvtHandler *window, wxEventType message);
  const BarNotifyTarget &GetNotify() const { return m_notify; }

  // Sends the bar a mouse move at the cursor's current position, so that the hover state
  // follows the mouse after the owner handled a command.
  void RefreshHover();

  // Registers one tool per button again, with the current rectangles and texts.
  void SetupToolTips();
  const std::vector<Tool> &GetToolTipTools() const { return m_tools; }
  // The tool tip text shown for point (client coordinates); empty when no tool is there.
  wxString GetToolTipTextAt(const wxPoint &point) const;

  int GetButtonCount() const { return ButtonCount(); }
  // Sets the enabled flag of the first button with command; repaints when asked.
  void EnableButton(int command, bool enable, bool repaint);
  // Clears the enabled flag of the first button with command; repaints when asked.
  void DisableButton(int command, bool repaint) { EnableButton(command, false, repaint); }
  // A button's flag, command and rectangle; false, 0 and an empty rectangle for an invalid index.
  bool IsButtonEnabled(int index) const;
  int GetButtonCommand(int index) const;
  wxRect GetButtonRect(int index) const;

  // The button the keyboard stands on, -1 for none; drawn with a focus rectangle while the bar
  // has the focus.
  int GetFocusIndex() const { return m_nFocus; }
  void SetFocusIndex(int index);
  // Presses a button as a click on it does: its command is posted when it is enabled.
  void PressButton(int index);
  bool AcceptsFocus() const override { return HasEnabledButton(); }
  bool AcceptsFocusFromKeyboard() const override { return HasEnabledButton(); }
  bool HasEnabledButton() const;

  int GetHoverIndex() const { return m_nHover; }
  int GetPressedIndex() const { return m_nPressed; }
  bool IsMousePressed() const { return m_bMousePressed; }

protected:
  // The derived bar's buttons, each its own record that starts with a BarButton.
  virtual int ButtonCount() const = 0;
  virtual BarButton &ButtonAt(int index) = 0;
  virtual const BarButton &ButtonAt(int index) const = 0;
  // The first button whose rectangle holds point (right and bottom edges excluded), counting
  // only enabled buttons when enabledOnly; -1 for none.
  int HitButton(const wxPoint &point, bool enabledOnly) const;
  // Draws the whole bar into dc (the client area).
  virtual void DrawBar(wxDC &dc) = 0;
  // Called with the new pressed index on a press and with -1 on a release.
  virtual void OnPressedChanged(int /*index*/) {}
  // The button bar also repaints after a release that hit no button.
  virtual bool RepaintAfterMissedRelease() const { return false; }

  void OnMouseMove(wxMouseEvent &event);
  void OnLeftDown(wxMouseEvent &event);
  void OnLeftUp(wxMouseEvent &event);
  void OnLeave(wxMouseEvent &event);
  void OnCaptureLost(wxMouseCaptureLostEvent &event);
  void OnPaint(wxPaintEvent &event);

  int m_nHover = -1;
  int m_nPressed = -1;
  int m_nFocus = -1;
  bool m_bMousePressed = false;

private:
  void Capture();
  void Release();
  void OnCharHook(wxKeyEvent &event);
  void OnFocusChanged(wxFocusEvent &event);
  // The next enabled button after from in direction step (+1 or -1); -1 for none.
  int NextEnabled(int from, int step) const;
  // The tip under the mouse pointer again: a button that was just disabled loses its tip.
  void RefreshToolTip();
  void ShowToolTipAt(const wxPoint &point);
  bool IsValidIndex(int index) const { return index >= 0 && index < ButtonCount(); }

  BarNotifyTarget m_notify;
  std::vector<Tool> m_tools;
  wxString m_shownTip;
};
