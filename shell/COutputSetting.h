#pragma once
#include <map>
#include <vector>

#include <wx/panel.h>

class CFSMSettings;
class wxCheckBox;
class wxRadioButton;
class wxTextCtrl;

// The output settings panel: paper size, pages per sheet and orientation as three radio groups,
// the open and permission passwords with their switches, and the three permissions. It owns no
// data: it is a view over the owner's settings record, which it writes when asked (and when a
// password switch is clicked). The position of the chosen button in a group is the code stored.
// Enter and Escape do nothing here, so the embedded panel never closes itself.
class COutputSetting : public wxPanel {
public:
  static const int kTemplateId = 168;
  static const size_t kMaxPasswordLength = 64;

  // Control identifiers of template 168.
  enum ControlId {
    IDC_A5 = 1029,
    IDC_A4 = 1030,
    IDC_A3 = 1031,
    IDC_LETTER = 1057,
    IDC_LEGAL = 1058,
    IDC_JUNIOR_LEGAL = 1059,
    IDC_LEDGER = 1060,
    IDC_TABLOID = 1061,
    IDC_1IN1 = 1032,
    IDC_2IN1 = 1033,
    IDC_4IN1 = 1034,
    IDC_AUTO = 1054,
    IDC_VERTICAL = 1056,
    IDC_HORIZONTAL = 1055,
    IDC_OPEN_PWD = 1036,
    IDC_OPEN_PWD_EDIT = 1041,
    IDC_PERMISSION_PWD = 1037,
    IDC_PERMISSION_PWD_EDIT = 1042,
    IDC_EDITING = 1038,
    IDC_COPYING = 1039,
    IDC_PRINTING = 1040,
    IDC_TITLE = 1062,
    IDC_LAYOUT_GROUP = 1063,
    IDC_SECURITY_GROUP = 1064,
  };

  // settings is the owner's record; it must outlive the panel.
  explicit COutputSetting(CFSMSettings *settings);

  // Creates the panel as a child of parent with its controls, enables the password controls
  // after the record's switches, translates it and shows the record's values.
  bool Create(wxWindow *parent, wxWindowID id = kTemplateId,
              const wxPoint &pos = wxDefaultPosition);

  // Writes the record's ten fields into the controls. False when a radio index or a password
  // in the record is out of range; such a control keeps what it showed.
  bool ExchangeToControls();
  // Reads the controls into the record. False, and the record unchanged, when an index lies
  // outside its group (paper 0 to 7, the others 0 to 2) or a password is longer than 64.
  bool ExchangeFromControls();

  CFSMSettings *GetSettings() const { return m_settings; }

private:
  void CreateControls();
  wxRadioButton *AddRadio(int id, const wxString &label, const wxRect &dlu, bool first);
  wxCheckBox *AddCheck(int id, const wxString &label, const wxRect &dlu);
  wxTextCtrl *AddPasswordEdit(int id, const wxRect &dlu);
  void EnableOpenPassword(bool enable);
  void EnablePermissionPassword(bool enable);
  void Translate();

  static int CheckedIndex(const std::vector<wxRadioButton *> &group);
  static bool CheckIndex(const std::vector<wxRadioButton *> &group, int index);

  void OnOpenPassword(wxCommandEvent &event);
  void OnPermissionPassword(wxCommandEvent &event);
  void OnCharHook(wxKeyEvent &event);
  void OnLanguageChanged(wxCommandEvent &event);

  CFSMSettings *m_settings;
  std::vector<wxRadioButton *> m_paper, m_nup, m_orientation;
  wxCheckBox *m_openPwd = nullptr, *m_permissionPwd = nullptr;
  wxTextCtrl *m_openPwdEdit = nullptr, *m_permissionPwdEdit = nullptr;
  wxCheckBox *m_editing = nullptr, *m_copying = nullptr, *m_printing = nullptr;
  // The template's English captions, put back before each translation so that a language
  // without a text for a control shows English, not the previous language.
  std::map<wxWindow *, wxString> m_templateTexts;
};
