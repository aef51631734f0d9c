// The list's side of the in-cell editors: it remembers the cell's text from before, takes the
// editor's result into the cell, and tells its parent. A combo box is acted on 50 ms after it
// reports, once its own event handling has returned, because the list destroys it.
#include <algorithm>

#include <wx/ctrlsub.h>
#include <wx/textentry.h>

#include "controls/CXCombo.h"
#include "controls/CXEdit.h"
#include "controls/CXListCtrl.h"

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
  m_unfreezeTimer.StartOnce(kEditorDelayMs);
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
  DiscardEdit();
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

void CXListCtrl::DiscardEdit() {
  if (!m_pEdit)
    return;
  // The box usually reports from inside its own key or focus handler: it goes once that has
  // returned. Hidden at once, it takes no more input meanwhile.
  wxWindow *edit = m_pEdit;
  m_pEdit = nullptr;
  edit->Hide();
  CallAfter([edit] { edit->Destroy(); });
}

void CXListCtrl::OnXEditEscape(wxCommandEvent &) {
  DiscardEdit();
  int row = m_nEditItem, col = m_nEditSubItem;
  m_nEditItem = m_nEditSubItem = -1;
  if (ValidCell(row, col)) {
    SetItemText(row, col, m_strInitialString);
    UpdateSubItem(row, col);
  }
}

void CXListCtrl::OnXComboComplete(wxCommandEvent &) { m_takeChoiceTimer.StartOnce(kEditorDelayMs); }

void CXListCtrl::OnXComboEscape(wxCommandEvent &) { m_closeComboTimer.StartOnce(kEditorDelayMs); }

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
  case kUnfreezeTimer:
    if (IsFrozen())
      Thaw();
    break;
  case kCloseComboTimer:
    CloseCombo();
    break;
  case kTakeChoiceTimer:
    CompleteCombo();
    break;
  }
}

// ---------------------------------------------------------------- opening the editors

void CXListCtrl::EditSubItem(int row, int col) { StartEdit(row, col); }

void CXListCtrl::ComboSubItem(int row, int col) { StartComboEdit(row, col); }

int CXListCtrl::ScrollHorizontally(int dx) {
  int old = m_scrollX;
  m_scrollX =
      std::clamp(m_scrollX + dx, 0, std::max(0, m_HeaderCtrl.GetTotalWidth() - GetClientSize().x));
  if (m_scrollX != old) {
    SetScrollPos(wxHORIZONTAL, m_scrollX);
    m_HeaderCtrl.SetScrollOffset(m_scrollX);
    Refresh(false);
  }
  return m_scrollX - old;
}

CXEdit *CXListCtrl::StartEdit(int row, int col) {
  if (!ValidCell(row, col) || GetColumnWidth(col) <= 4 || !RowUsable(row))
    return nullptr;
  EnsureVisible(row);
  int offset = 0;
  for (int c = 0; c < col; ++c)
    offset += GetColumnWidth(c);
  wxRect rowRect = GetCellRect(row, 0);
  rowRect.x = -m_scrollX;
  rowRect.width = m_HeaderCtrl.GetTotalWidth();
  wxSize client = GetClientSize();
  int left = rowRect.x + offset;
  if (left < 0 || left > client.x)
    rowRect.x -= ScrollHorizontally(left);

  long align = wxTE_LEFT;
  if (const HeaderItem *item = m_HeaderCtrl.GetItem(col)) {
    int justify = item->fmt & HDF_JUSTIFYMASK;
    align = justify == HDF_RIGHT ? wxTE_RIGHT : justify == HDF_CENTER ? wxTE_CENTRE : wxTE_LEFT;
  }
  wxRect rect = rowRect;
  rect.height += 1;
  rect.x = rowRect.x + offset + 2;
  int right = std::min(client.x, rect.x + GetColumnWidth(col) - 4);
  rect.width = std::max(1, right - rect.x);

  if (m_pEdit)
    EndEdit();
  wxString initial = GetItemText(row, col);
  auto *edit = new CXEdit(this, initial);
  if (!edit->Create(this, rect, align)) {
    delete edit;
    return nullptr;
  }
  BeginEdit(edit, row, col);
  edit->SetFocus();
  return edit;
}

CXCombo *CXListCtrl::NewCombo() { return new CXCombo(this); }

CXCombo *CXListCtrl::StartComboEdit(int row, int col) {
  if (!ValidCell(row, col) || GetColumnWidth(col) <= 4 || !RowUsable(row))
    return nullptr;
  XListCellData *cell = GetCellData(row, col);
  wxRect rect = GetCellRect(row, col);
  // Over the cell, one pixel higher and one further right. A child of the list rather than a
  // pop-up: on wx only a child can take the keyboard focus everywhere.
  rect.y -= 1;
  rect.height += 1;
  rect.x += 1;
  rect.width -= 1;
  CXCombo *combo = NewCombo();
  if (!combo->Create(this, 0, rect, CBS_DROPDOWNLIST)) {
    delete combo;
    return nullptr;
  }
  BeginCombo(combo, row, col); // freezes the list's drawing for 50 ms
  if (cell->psaComboList)
    for (const std::wstring &choice : *cell->psaComboList)
      if (!choice.empty())
        combo->AddString(choice);
  combo->SetMaxVisibleItems(cell->nComboListHeight);

  int count = static_cast<int>(combo->GetCount());
  wxString text;
  int sel = -1;
  if (cell->psaComboList && cell->nInitialComboSel >= 0 && cell->nInitialComboSel < count) {
    text = combo->GetString(cell->nInitialComboSel);
    SetItemText(row, col, text);
    cell->nInitialComboSel = -1;
  }
  if (text.empty())
    text = GetItemText(row, col);
  if (text.empty()) {
    if (count > 0) {
      sel = 0;
      text = combo->GetString(0);
    }
    SetItemText(row, col, text);
  } else {
    sel = combo->FindStringExact(-1, text);
    if (sel < 0)
      sel = 0;
  }
  combo->SetCurSel(sel);
  m_strInitialString = combo->GetString(std::max(0, sel));
  combo->Refresh();
  combo->Update();
  combo->Raise();
  combo->SetFocus();
  return combo;
}
