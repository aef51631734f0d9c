#include "COutputSetting.h"

#include "CFSMSettings.h"
#include "DialogUnits.h"
#include "LanguageChanged.h"
#include "TranslateDialog.h"

#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

const wxColour kPanelGrey(233, 233, 233);
// Template 168 is 588 x 90 dialog units.
const int kWidthDlu = 588;
const int kHeightDlu = 90;

} // namespace

COutputSetting::COutputSetting(CFSMSettings *settings) : m_settings(settings) {}

bool COutputSetting::Create(wxWindow *parent, wxWindowID id, const wxPoint &pos) {
  const wxSize size(DluToPixelsX(kWidthDlu), DluToPixelsY(kHeightDlu));
  if (!wxPanel::Create(parent, id, pos, size, wxTAB_TRAVERSAL | wxBORDER_NONE))
    return false;
  SetBackgroundColour(kPanelGrey);
  SetFont(DialogFont());
  CreateControls();
  Bind(wxEVT_CHECKBOX, &COutputSetting::OnOpenPassword, this, IDC_OPEN_PWD);
  Bind(wxEVT_CHECKBOX, &COutputSetting::OnPermissionPassword, this, IDC_PERMISSION_PWD);
  Bind(wxEVT_CHAR_HOOK, &COutputSetting::OnCharHook, this);
  // The panel's OK and Cancel commands are taken and ignored: it never ends itself.
  Bind(
      wxEVT_BUTTON, [](wxCommandEvent &) {}, wxID_OK);
  Bind(
      wxEVT_BUTTON, [](wxCommandEvent &) {}, wxID_CANCEL);
  Bind(WM_LANGUAGE_CHANGED, &COutputSetting::OnLanguageChanged, this);

  EnableOpenPassword(m_settings->bOpenPwd != 0);
  EnablePermissionPassword(m_settings->bPermissionPwd != 0);
  Translate();
  ExchangeToControls();
  return true;
}

void COutputSetting::CreateControls() {
  auto remember = [this](wxWindow *control) { m_templateTexts[control] = control->GetLabel(); };
  const wxRect title = DluRect(4, 2, 120, 9);
  remember(
      new wxStaticText(this, IDC_TITLE, "Output Setting:", title.GetPosition(), title.GetSize()));
  const wxRect layout = DluRect(4, 12, 300, 76);
  remember(
      new wxStaticBox(this, IDC_LAYOUT_GROUP, "LayOut", layout.GetPosition(), layout.GetSize()));
  const wxRect security = DluRect(310, 12, 274, 76);
  remember(new wxStaticBox(this, IDC_SECURITY_GROUP, "Security", security.GetPosition(),
                           security.GetSize()));

  // Each group starts at its first button and ends where the next group starts.
  struct RadioDef {
    int id;
    const char *label;
    int x, y;
  };
  const RadioDef paper[] = {
      {IDC_A5, "A5", 12, 24},          {IDC_A4, "A4", 72, 24},
      {IDC_A3, "A3", 132, 24},         {IDC_LETTER, "Letter", 192, 24},
      {IDC_LEGAL, "Legal", 12, 37},    {IDC_JUNIOR_LEGAL, "Junior Legal", 72, 37},
      {IDC_LEDGER, "Ledger", 132, 37}, {IDC_TABLOID, "Tabloid", 192, 37}};
  const RadioDef nup[] = {
      {IDC_1IN1, "1IN1", 12, 54}, {IDC_2IN1, "2IN1", 72, 54}, {IDC_4IN1, "4IN1", 132, 54}};
  // "Vertical" has the higher identifier but is the second button: the position is the code.
  const RadioDef orientation[] = {{IDC_AUTO, "Auto", 12, 70},
                                  {IDC_VERTICAL, "Vertical", 72, 70},
                                  {IDC_HORIZONTAL, "Horizontal", 132, 70}};
  auto addGroup = [&](const RadioDef *defs, size_t count, std::vector<wxRadioButton *> &group) {
    for (size_t i = 0; i < count; ++i) {
      group.push_back(
          AddRadio(defs[i].id, defs[i].label, DluRect(defs[i].x, defs[i].y, 58, 10), i == 0));
      remember(group.back());
    }
  };
  addGroup(paper, 8, m_paper);
  addGroup(nup, 3, m_nup);
  addGroup(orientation, 3, m_orientation);

  m_openPwd = AddCheck(IDC_OPEN_PWD, "Open Password", DluRect(318, 25, 92, 10));
  m_openPwdEdit = AddPasswordEdit(IDC_OPEN_PWD_EDIT, DluRect(414, 23, 162, 13));
  m_permissionPwd = AddCheck(IDC_PERMISSION_PWD, "Permission Password", DluRect(318, 43, 94, 10));
  m_permissionPwdEdit = AddPasswordEdit(IDC_PERMISSION_PWD_EDIT, DluRect(414, 41, 162, 13));
  m_editing = AddCheck(IDC_EDITING, "Editing Allowed", DluRect(318, 66, 84, 10));
  m_copying = AddCheck(IDC_COPYING, "Copying Allowed", DluRect(404, 66, 84, 10));
  m_printing = AddCheck(IDC_PRINTING, "Printing Allowed", DluRect(492, 66, 86, 10));
  for (wxCheckBox *box : {m_openPwd, m_permissionPwd, m_editing, m_copying, m_printing})
    remember(box);
}

namespace {

// The template's rectangle, made as tall as the desktop's smallest check or radio box and
// grown evenly about its middle: a box squeezed below that makes the toolkit complain at every
// layout and clips its mark.
void PlaceAtLeastBest(wxWindow *control, const wxRect &r) {
  wxRect placed = r;
  const int best = control->GetBestSize().y;
  if (best > placed.height) {
    placed.y -= (best - placed.height) / 2;
    placed.height = best;
  }
  control->SetSize(placed);
}

} // namespace

wxRadioButton *COutputSetting::AddRadio(int id, const wxString &label, const wxRect &r,
                                        bool first) {
  auto *radio =
      new wxRadioButton(this, id, label, r.GetPosition(), wxDefaultSize, first ? wxRB_GROUP : 0);
  PlaceAtLeastBest(radio, r);
  return radio;
}

wxCheckBox *COutputSetting::AddCheck(int id, const wxString &label, const wxRect &r) {
  auto *check = new wxCheckBox(this, id, label, r.GetPosition());
  PlaceAtLeastBest(check, r);
  return check;
}

wxTextCtrl *COutputSetting::AddPasswordEdit(int id, const wxRect &r) {
  auto *edit = new wxTextCtrl(this, id, wxString(), r.GetPosition(), r.GetSize(), wxTE_PASSWORD);
  edit->SetMaxLength(kMaxPasswordLength);
  return edit;
}

void COutputSetting::EnableOpenPassword(bool enable) {
  m_openPwdEdit->Enable(enable);
  // A disabled edit is drawn on the panel's grey, as the other static-coloured controls are.
  m_openPwdEdit->SetBackgroundColour(enable ? wxNullColour : kPanelGrey);
}

void COutputSetting::EnablePermissionPassword(bool enable) {
  m_permissionPwdEdit->Enable(enable);
  m_permissionPwdEdit->SetBackgroundColour(enable ? wxNullColour : kPanelGrey);
  m_editing->Enable(enable);
  m_copying->Enable(enable);
  m_printing->Enable(enable);
}

int COutputSetting::CheckedIndex(const std::vector<wxRadioButton *> &group) {
  for (size_t i = 0; i < group.size(); ++i)
    if (group[i]->GetValue())
      return static_cast<int>(i);
  return -1;
}

bool COutputSetting::CheckIndex(const std::vector<wxRadioButton *> &group, int index) {
  if (index < 0 || index >= static_cast<int>(group.size()))
    return false;
  group[index]->SetValue(true);
  return true;
}

bool COutputSetting::ExchangeToControls() {
  const CFSMSettings &s = *m_settings;
  bool ok = CheckIndex(m_paper, s.nPaperSize);
  ok = CheckIndex(m_nup, s.nNUp) && ok;
  ok = CheckIndex(m_orientation, s.nOrientation) && ok;
  m_openPwd->SetValue(s.bOpenPwd != 0);
  m_permissionPwd->SetValue(s.bPermissionPwd != 0);
  m_editing->SetValue(s.bEditingAllowed != 0);
  m_copying->SetValue(s.bCopyingAllowed != 0);
  m_printing->SetValue(s.bPrintingAllowed != 0);
  // An over-long password is not cut to fit: the edit would hand back a different one.
  if (s.strOpenPwd.size() <= kMaxPasswordLength)
    m_openPwdEdit->ChangeValue(s.strOpenPwd);
  else
    ok = false;
  if (s.strPermissionPwd.size() <= kMaxPasswordLength)
    m_permissionPwdEdit->ChangeValue(s.strPermissionPwd);
  else
    ok = false;
  return ok;
}

bool COutputSetting::ExchangeFromControls() {
  const int paper = CheckedIndex(m_paper);
  const int nup = CheckedIndex(m_nup);
  const int orientation = CheckedIndex(m_orientation);
  const std::wstring openPwd = m_openPwdEdit->GetValue().ToStdWstring();
  const std::wstring permissionPwd = m_permissionPwdEdit->GetValue().ToStdWstring();
  if (paper < 0 || paper > 7 || nup < 0 || nup > 2 || orientation < 0 || orientation > 2 ||
      openPwd.size() > kMaxPasswordLength || permissionPwd.size() > kMaxPasswordLength)
    return false;
  CFSMSettings &s = *m_settings;
  s.nPaperSize = paper;
  s.nNUp = nup;
  s.nOrientation = orientation;
  s.bOpenPwd = m_openPwd->GetValue() ? 1 : 0;
  s.strOpenPwd = openPwd;
  s.bPermissionPwd = m_permissionPwd->GetValue() ? 1 : 0;
  s.strPermissionPwd = permissionPwd;
  s.bEditingAllowed = m_editing->GetValue() ? 1 : 0;
  s.bCopyingAllowed = m_copying->GetValue() ? 1 : 0;
  s.bPrintingAllowed = m_printing->GetValue() ? 1 : 0;
  return true;
}

void COutputSetting::Translate() {
  for (const auto &entry : m_templateTexts)
    entry.first->SetLabel(entry.second);
  // The walk offers every control its key; the passwords are data, not captions, and stay.
  const wxString openPwd = m_openPwdEdit->GetValue();
  const wxString permissionPwd = m_permissionPwdEdit->GetValue();
  TranslateDialog(this, kTemplateId);
  m_openPwdEdit->ChangeValue(openPwd);
  m_permissionPwdEdit->ChangeValue(permissionPwd);
}

void COutputSetting::OnOpenPassword(wxCommandEvent &) {
  ExchangeFromControls();
  EnableOpenPassword(m_openPwd->GetValue());
}

void COutputSetting::OnPermissionPassword(wxCommandEvent &) {
  ExchangeFromControls();
  EnablePermissionPassword(m_permissionPwd->GetValue());
}

void COutputSetting::OnCharHook(wxKeyEvent &event) {
  switch (event.GetKeyCode()) {
  case WXK_RETURN:
  case WXK_NUMPAD_ENTER:
  case WXK_ESCAPE:
    return; // taken: neither closes anything nor presses a button
  default:
    event.Skip();
  }
}

void COutputSetting::OnLanguageChanged(wxCommandEvent &) { Translate(); }
