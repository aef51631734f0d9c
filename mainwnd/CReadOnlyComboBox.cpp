#include "CReadOnlyComboBox.h"

CReadOnlyComboBox::CReadOnlyComboBox(wxWindow *parent, wxWindowID id, const wxPoint &pos,
                                     const wxSize &size)
    : wxComboBox(parent, id, wxString(), pos, size, 0, nullptr, wxCB_DROPDOWN) {
  Bind(wxEVT_COMBOBOX, &CReadOnlyComboBox::OnSelChange, this);
  Bind(wxEVT_TEXT, &CReadOnlyComboBox::OnEditUpdate, this);
}

int CReadOnlyComboBox::AddEntry(const wxString &text) {
  m_updating = true;
  const int index = Append(text);
  if (index == 1)
    SelectEntry(1);
  m_updating = false;
  return index;
}

void CReadOnlyComboBox::SelectEntry(int index) {
  const bool updating = m_updating;
  m_updating = true;
  SetSelection(index);
  m_updating = updating;
  SetEditPartEditable(index == 0);
}

void CReadOnlyComboBox::SetEditPartEditable(bool editable) {
  m_editable = editable;
  SetEditable(editable);
}

void CReadOnlyComboBox::OnSelChange(wxCommandEvent &event) {
  event.Skip();
  if (m_updating)
    return;
  SetEditPartEditable(GetSelection() == 0);
}

void CReadOnlyComboBox::OnEditUpdate(wxCommandEvent &event) {
  event.Skip();
  // A read-only edit part changes only through a choice in the list, never by typing.
  if (m_updating || !m_editable)
    return;
  m_updating = true;
  const wxString text = GetValue();
  const long caret = GetInsertionPoint();
  const int selection = GetSelection();
  Delete(0);
  long finalCaret = caret;
  if (GetValue() != text) {
    // Deleting the selected entry cleared what the user is typing: put it back.
    ChangeValue(text);
    finalCaret = static_cast<long>(text.length());
  }
  Insert(text, 0);
  if (selection == 0)
    SetSelection(0);
  SetInsertionPoint(finalCaret);
  m_updating = false;
}
