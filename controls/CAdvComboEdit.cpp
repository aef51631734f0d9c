#include "controls/CAdvComboEdit.h"

#include "controls/CAdvComboBox.h"

CAdvComboEdit::CAdvComboEdit(CAdvComboBox *combo, const wxRect &rect, const wxString &text,
                             long style)
    : wxTextCtrl(combo, IDC_COMBOEDIT, text, rect.GetPosition(), rect.GetSize(),
                 style | wxBORDER_NONE | wxTE_PROCESS_ENTER),
      m_pCombo(combo), m_timer(this) {
  Bind(wxEVT_KEY_DOWN, &CAdvComboEdit::OnKeyDown, this);
  Bind(wxEVT_CHAR, &CAdvComboEdit::OnChar, this);
  Bind(wxEVT_TEXT, &CAdvComboEdit::OnText, this);
  Bind(wxEVT_SET_FOCUS, &CAdvComboEdit::OnSetFocus, this);
  Bind(wxEVT_KILL_FOCUS, &CAdvComboEdit::OnKillFocus, this);
  Bind(wxEVT_MOUSEWHEEL, &CAdvComboEdit::OnWheel, this);
  Bind(wxEVT_TIMER, &CAdvComboEdit::OnTimer, this);
  // Once the box has settled, the edit box goes on top of the face it sits in.
  m_timer.StartOnce(100);
}

void CAdvComboEdit::OnTimer(wxTimerEvent &) { Raise(); }

void CAdvComboEdit::OnKeyDown(wxKeyEvent &event) {
  if (!m_pCombo) {
    event.Skip();
    return;
  }
  int key = event.GetKeyCode();
  if (key == WXK_RIGHT && GetInsertionPoint() < GetLastPosition()) {
    event.Skip(); // completion runs only at the end of the text
    return;
  }
  if (key == WXK_RETURN || key == WXK_NUMPAD_ENTER) {
    event.Skip(); // Enter acts as a character
    return;
  }
  if (!m_pCombo->HandleKey(key, event.AltDown()))
    event.Skip();
}

void CAdvComboEdit::OnChar(wxKeyEvent &event) {
  int key = event.GetKeyCode();
  if (m_pCombo && (key == WXK_RETURN || key == WXK_NUMPAD_ENTER)) {
    m_pCombo->HandleKey(WXK_RETURN, false);
    return;
  }
  event.Skip();
}

void CAdvComboEdit::OnText(wxCommandEvent &) {
  if (m_pCombo)
    m_pCombo->OnEditTextChanged();
}

void CAdvComboEdit::OnSetFocus(wxFocusEvent &event) {
  event.Skip();
  // GTK places the caret after the focus event; selecting afterwards keeps all text selected.
  CallAfter([this] { SelectAll(); });
  if (m_pCombo)
    m_pCombo->OnEditSetFocus();
}

void CAdvComboEdit::OnKillFocus(wxFocusEvent &event) {
  event.Skip();
  if (m_pCombo)
    m_pCombo->OnEditKillFocus(event.GetWindow());
}

void CAdvComboEdit::OnWheel(wxMouseEvent &event) {
  if (m_pCombo)
    m_pCombo->HandleWheel(event.GetWheelRotation());
}
