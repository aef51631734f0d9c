#include "CDlgSourcePassword.h"

#include "DialogUnits.h"
#include "Localization.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

const int IDS_PROMPT = 233; // "\"%s\" is protected by a password.\nEnter the password to open it:"
const int IDS_TITLE = 235;
const int IDS_OK = 236;
const int IDS_CANCEL = 152;
const int kWrapWidth = 380;

// The prompt with the file's name in place of its "%s" (a translation is never given to printf).
wxString PromptFor(const wxString &fileName) {
  wxString prompt = LoadLangString(IDS_PROMPT);
  const int at = prompt.Find("%s");
  return at == wxNOT_FOUND ? prompt + " " + fileName
                           : prompt.Left(at) + fileName + prompt.Mid(at + 2);
}

} // namespace

CDlgSourcePassword::CDlgSourcePassword(wxWindow *parent, const wxString &fileName)
    : wxDialog(parent, wxID_ANY, LoadLangString(IDS_TITLE), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX) {
  SetFont(DialogFont());
  auto *top = new wxBoxSizer(wxVERTICAL);
  m_prompt = new wxStaticText(this, wxID_ANY, PromptFor(fileName));
  m_prompt->Wrap(kWrapWidth);
  top->Add(m_prompt, 0, wxLEFT | wxRIGHT | wxTOP, 14);
  m_entry = new wxTextCtrl(this, wxID_ANY, wxString(), wxDefaultPosition, wxSize(kWrapWidth, -1),
                           wxTE_PASSWORD | wxTE_PROCESS_ENTER);
  top->Add(m_entry, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 14);
  m_problem = new wxStaticText(this, wxID_ANY, wxString());
  m_problem->SetForegroundColour(wxColour(170, 0, 0));
  top->Add(m_problem, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 14);
  auto *buttons = new wxStdDialogButtonSizer;
  m_ok = new wxButton(this, wxID_OK, LoadLangString(IDS_OK));
  buttons->AddButton(m_ok);
  buttons->AddButton(new wxButton(this, wxID_CANCEL, LoadLangString(IDS_CANCEL)));
  buttons->Realize();
  m_ok->SetDefault();
  top->Add(buttons, 0, wxEXPAND | wxALL, 12);
  SetSizerAndFit(top);
  m_entry->SetFocus();
  Bind(wxEVT_BUTTON, &CDlgSourcePassword::OnOk, this, wxID_OK);
  m_entry->Bind(wxEVT_TEXT_ENTER, &CDlgSourcePassword::OnOk, this);
  if (parent)
    CentreOnParent();
}

void CDlgSourcePassword::OnOk(wxCommandEvent &) { Confirm(); }

void CDlgSourcePassword::Confirm() {
  if (m_checking)
    return;
  SetChecking(true);
  if (onCheck)
    onCheck(m_entry->GetValue());
  else
    Answer(true);
}

void CDlgSourcePassword::SetChecking(bool checking) {
  m_checking = checking;
  m_entry->Enable(!checking);
  m_ok->Enable(!checking);
}

void CDlgSourcePassword::Answer(bool accepted, const wxString &why) {
  SetChecking(false);
  m_accepted = accepted;
  if (accepted) {
    if (IsModal())
      EndModal(wxID_OK);
    return;
  }
  m_problem->SetLabel(why);
  m_problem->Wrap(kWrapWidth);
  Layout();
  Fit();
  m_entry->Clear();
  m_entry->SetFocus();
}
