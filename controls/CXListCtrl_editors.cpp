// The list's side of the in-cell editors: it remembers the cell's text from before, takes the
// editor's result into the cell, and tells its parent. A combo box is acted on 50 ms after it
// reports, once its own event handling has returned, because the list destroys it.
#include <wx/ctrlsub.h>
#include <wx/textentry.h>

#include "controls/CXListCtrl.h"

namespace {
const int kEditorDelayMs = 50;
}

void CXListCtrl::BeginEdit(wxWindow *edit, int row, int col) {
  if (m_pEdit)
    EndEdit();
  if (!edit || !ValidCell(row, col))
    return;
  m_pEdit = edit;
  m_nEditItem = row;
  m_nEditSubItem = col;
  m_strInitialString = GetItemText(row, col);
}

void CXListCtrl::BeginCombo(wxWindow *combo, int row, int col) {
  if (!combo || !ValidCell(row, col))
    return;
  if (m_pCombo)
    CloseCombo();
  m_pCombo = combo;
  m_nComboItem = row;
  m_nComboSubItem = col;
  m_strInitialString = GetItemText(row, col);
  // The list stays still while the combo opens over it.
  if (!IsFrozen())
    Freeze();
  m_timer1.StartOnce(kEditorDelayMs);
}

void CXListCtrl::EndEdit() {
  if (!m_pEdit)
    return;
  wxString text;
  if (auto *entry = dynamic_cast<wxTextEntry *>(m_pEdit))
    text = entry->GetValue();
  // An emptied box gives the cell its text back.
  if (text.empty())
    text = m_strInitialString;
  m_pEdit->Destroy();
  m_pEdit = nullptr;
  int row = m_nEditItem, col = m_nEditSubItem;
  m_nEditItem = m_nEditSubItem = -1;
  if (!ValidCell(row, col))
    return;
  SetItemText(row, col, text);
  if (text != m_strInitialString) {
    if (XListCellData *cell = GetCellData(row, col))
      cell->bModified = true;
    m_bListModified = true;
  }
  UpdateSubItem(row, col);
  SendToParent(wxEVT_XLISTCTRL_EDIT_END, row, col);
}

void CXListCtrl::OnXEditKillFocus(wxCommandEvent &) { EndEdit(); }

void CXListCtrl::OnXEditEscape(wxCommandEvent &) {
  if (m_pEdit)
    m_pEdit->Destroy();
  m_pEdit = nullptr;
  int row = m_nEditItem, col = m_nEditSubItem;
  m_nEditItem = m_nEditSubItem = -1;
  if (ValidCell(row, col)) {
    SetItemText(row, col, m_strInitialString);
    UpdateSubItem(row, col);
  }
}

void CXListCtrl::OnXComboComplete(wxCommandEvent &) { m_timer3.StartOnce(kEditorDelayMs); }

void CXListCtrl::OnXComboEscape(wxCommandEvent &) { m_timer2.StartOnce(kEditorDelayMs); }

void CXListCtrl::CloseCombo() {
  if (!m_pCombo)
    return;
  UpdateSubItem(m_nComboItem, m_nComboSubItem);
  m_pCombo->Destroy();
  m_pCombo = nullptr;
  m_nComboItem = m_nComboSubItem = -1;
}

void CXListCtrl::CompleteCombo() {
  if (!m_pCombo)
    return;
  auto *items = dynamic_cast<wxItemContainerImmutable *>(m_pCombo);
  int sel = items ? items->GetSelection() : wxNOT_FOUND;
  int row = m_nComboItem, col = m_nComboSubItem;
  if (sel != wxNOT_FOUND) {
    wxString text = items->GetString(sel);
    if (ValidCell(row, col)) {
      SetItemText(row, col, text);
      if (text != m_strInitialString) {
        if (XListCellData *cell = GetCellData(row, col))
          cell->bModified = true;
        m_bListModified = true;
      }
    }
    SendToParent(wxEVT_XLISTCTRL_COMBO_SELECTION, row, col);
  }
  m_pCombo->Destroy();
  m_pCombo = nullptr;
  m_nComboItem = m_nComboSubItem = -1;
}

void CXListCtrl::OnTimer(wxTimerEvent &event) {
  switch (event.GetId()) {
  case 1:
    if (IsFrozen())
      Thaw();
    break;
  case 2:
    CloseCombo();
    break;
  case 3:
    CompleteCombo();
    break;
  }
}
