#pragma once
#include <wx/textctrl.h>
#include <wx/timer.h>

class CAdvComboBox;

// The edit box of a drop-down style CAdvComboBox: passes the box's keys to it, reports text
// changes and focus, and selects all its text when it gets the focus.
class CAdvComboEdit : public wxTextCtrl {
public:
  CAdvComboEdit(CAdvComboBox *combo, const wxRect &rect, const wxString &text, long style);
  // Cuts the tie to the box (which is going away): events then stay here.
  void Detach() { m_pCombo = nullptr; }

private:
  void OnKeyDown(wxKeyEvent &event);
  void OnChar(wxKeyEvent &event);
  void OnText(wxCommandEvent &event);
  void OnSetFocus(wxFocusEvent &event);
  void OnKillFocus(wxFocusEvent &event);
  void OnWheel(wxMouseEvent &event);
  void OnTimer(wxTimerEvent &event);

  CAdvComboBox *m_pCombo;
  wxTimer m_timer;
};
