#include "controls/CXEdit.h"

#include "controls/CXListCtrl.h"

CXEdit::CXEdit(CXListCtrl *list, const wxString &initialText)
    : m_pXListCtrl(list), m_strInitText(initialText) {}

bool CXEdit::Create(wxWindow *parent, const wxRect &rect, long style) {
  if (!wxTextCtrl::Create(parent, 99, wxEmptyString, rect.GetPosition(), rect.GetSize(),
                          style | wxTE_PROCESS_ENTER | wxBORDER_SIMPLE))
    return false;
  if (!m_pXListCtrl)
    m_pXListCtrl = dynamic_cast<CXListCtrl *>(parent);
  if (m_pXListCtrl && m_pXListCtrl->IsBeingDeleted())
    m_pXListCtrl = nullptr;
  if (m_pXListCtrl && m_pXListCtrl->GetFont().IsOk()) {
    // Arial of 15 pixels; fontconfig gives its metric twin where Arial itself is missing.
    m_font = wxFont(wxSize(7, 15), wxFONTFAMILY_SWISS, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_NORMAL,
                    false, "Arial");
    SetFont(m_font);
  }
  Bind(wxEVT_KEY_DOWN, &CXEdit::OnKeyDown, this);
  Bind(wxEVT_CHAR, &CXEdit::OnChar, this);
  Bind(wxEVT_KILL_FOCUS, &CXEdit::OnKillFocus, this);
  ChangeValue(m_strInitText);
  SelectAll();
  ShowPosition(GetLastPosition());
  SetFocus();
  return true;
}

void CXEdit::SendToList(wxEventType type) {
  bool sent = m_bMessageSent;
  m_bMessageSent = true;
  if (sent || !m_pXListCtrl || m_pXListCtrl->IsBeingDeleted())
    return;
  wxCommandEvent event(type, GetId());
  event.SetEventObject(this);
  m_pXListCtrl->GetEventHandler()->ProcessEvent(event);
}

void CXEdit::HandleEndKey(int key) {
  if (key == WXK_ESCAPE)
    SendToList(wxEVT_XEDIT_VK_ESCAPE);
  else if (key == WXK_RETURN || key == WXK_NUMPAD_ENTER)
    SendToList(wxEVT_XEDIT_KILL_FOCUS);
}

void CXEdit::OnKeyDown(wxKeyEvent &event) {
  int key = event.GetKeyCode();
  if (key == WXK_ESCAPE || key == WXK_RETURN || key == WXK_NUMPAD_ENTER) {
    HandleEndKey(key); // consumed: no character follows
    return;
  }
  event.Skip();
}

void CXEdit::OnChar(wxKeyEvent &event) {
  int key = event.GetKeyCode();
  if (m_pXListCtrl && (key == WXK_ESCAPE || key == WXK_RETURN)) {
    HandleEndKey(key);
    return;
  }
  event.Skip();
}

void CXEdit::OnKillFocus(wxFocusEvent &event) {
  event.Skip();
  SendToList(wxEVT_XEDIT_KILL_FOCUS);
}
