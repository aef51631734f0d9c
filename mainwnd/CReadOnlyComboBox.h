#pragma once
#include <wx/combobox.h>

// The output name box: entry 0 stands for a name the user types (initially "Customize"), entry 1
// is the automatic name "FirstFileName_LastFileName". The edit part is read-only exactly while
// an entry other than 0 is selected, and entry 0 always holds the last name typed.
class CReadOnlyComboBox : public wxComboBox {
public:
  CReadOnlyComboBox(wxWindow *parent, wxWindowID id, const wxPoint &pos, const wxSize &size);

  // Appends an entry; the second entry becomes the selection, its text the edit part's, and
  // the edit part read-only (as the list's selection change would make it).
  int AddEntry(const wxString &text);

  // Selects entry index and applies the read-only rule, as a choice in the list does.
  void SelectEntry(int index);

  // True while the edit part may be typed in.
  bool IsEditPartEditable() const { return m_editable; }

private:
  void SetEditPartEditable(bool editable);
  void OnSelChange(wxCommandEvent &event);
  void OnEditUpdate(wxCommandEvent &event);

  bool m_editable = true;
  bool m_updating = false; // our own changes of the entries must not count as typing
};
