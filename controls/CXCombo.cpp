#include "controls/CXCombo.h"

#include "controls/CDropWnd.h"
#include "controls/CXListCtrl.h"

CXCombo::CXCombo(CXListCtrl *list) : CAdvComboBox(list), m_pXListCtrl(list) {}

void CXCombo::SendToList(wxEventType type) {
  // Nothing from a combo the list is destroying, nor to a list that is going away.
  if (IsClosing() || !m_pXListCtrl || m_pXListCtrl->IsBeingDeleted())
    return;
  wxCommandEvent event(type, GetId());
  event.SetEventObject(this);
  m_pXListCtrl->GetEventHandler()->ProcessEvent(event);
}

void CXCombo::OnEscapeKey() { SendToList(wxEVT_XCOMBOLIST_VK_ESCAPE); }

void CXCombo::OnComboComplete() { SendToList(wxEVT_XCOMBOLIST_COMPLETE); }

void CXCombo::OnKillFocus(wxFocusEvent &event) {
  // The box's own handling (which runs the escape hook) first, then the completion, unless the
  // focus went to our own drop-down.
  CAdvComboBox::OnKillFocus(event);
  if (IsClosing())
    return;
  wxWindow *gaining = event.GetWindow();
  if (gaining && GetDropWnd() && (gaining == GetDropWnd() || gaining->GetParent() == GetDropWnd()))
    return;
  OnComboComplete();
}
