#pragma once
#include "controls/CAdvComboBox.h"

class CXListCtrl;

// The drop-down list the extended list lays over a cell: an advanced combo box whose end hooks
// tell the list to take the choice (complete) or to discard the box (escape).
class CXCombo : public CAdvComboBox {
public:
  explicit CXCombo(CXListCtrl *list);

protected:
  void OnEscapeKey() override;
  void OnComboComplete() override;
  void OnKillFocus(wxFocusEvent &event) override;

private:
  void SendToList(wxEventType type);

  CXListCtrl *m_pXListCtrl;
};
