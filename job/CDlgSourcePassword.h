#pragma once
#include <functional>

#include <wx/dialog.h>

class wxButton;
class wxStaticText;
class wxTextCtrl;

// Asks for the password of a listed PDF that opens only with one. The prompt names the file;
// the entry hides what is typed. OK (or Enter) hands the password to the check function and
// waits, its controls disabled, for Answer: a right password ends the dialog with OK, a wrong
// one is said above the emptied entry for another try. Cancel ends it at any time.
class CDlgSourcePassword : public wxDialog {
public:
  CDlgSourcePassword(wxWindow *parent, const wxString &fileName);

  // Called with every password confirmed; must lead to Answer (maybe later).
  std::function<void(const wxString &password)> onCheck;

  // Confirms the typed password, as OK does.
  void Confirm();
  // The check's result for the password given to onCheck: accepted ends the dialog with OK
  // (when it runs modally); otherwise why is shown and the entry is ready again.
  void Answer(bool accepted, const wxString &why = wxString());
  bool IsChecking() const { return m_checking; }
  bool IsAccepted() const { return m_accepted; }

  wxTextCtrl *GetEntry() const { return m_entry; }
  wxStaticText *GetPrompt() const { return m_prompt; }
  wxStaticText *GetProblem() const { return m_problem; }

private:
  void OnOk(wxCommandEvent &event);
  void SetChecking(bool checking);

  wxStaticText *m_prompt = nullptr;
  wxStaticText *m_problem = nullptr;
  wxTextCtrl *m_entry = nullptr;
  wxButton *m_ok = nullptr;
  bool m_checking = false;
  bool m_accepted = false;
};
