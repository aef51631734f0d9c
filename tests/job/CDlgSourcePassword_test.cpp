// The password dialog of a listed PDF: its prompt, its hidden entry and the ask-again loop.
#include "CDlgSourcePassword.h"
#include "Localization.h"
#include "support/FrameTest.h"

#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

class SourcePassword : public FrameTest {};

TEST_F(SourcePassword, NamesTheFileAndHidesWhatIsTyped) {
  CDlgSourcePassword dialog(m_frame, "report.pdf");
  EXPECT_TRUE(dialog.GetPrompt()->GetLabel().Contains("\"report.pdf\""));
  EXPECT_TRUE(dialog.GetEntry()->HasFlag(wxTE_PASSWORD));
  EXPECT_EQ(LoadLangString(235), dialog.GetTitle());
}

TEST_F(SourcePassword, AWrongPasswordIsSaidAndAskedAgain) {
  CDlgSourcePassword dialog(m_frame, "report.pdf");
  std::vector<wxString> checked;
  dialog.onCheck = [&](const wxString &password) { checked.push_back(password); };
  dialog.CallAfter([&] {
    dialog.GetEntry()->ChangeValue("first");
    wxCommandEvent enter(wxEVT_TEXT_ENTER, dialog.GetEntry()->GetId());
    enter.SetEventObject(dialog.GetEntry());
    dialog.GetEntry()->GetEventHandler()->ProcessEvent(enter);
    // While it is checked nothing more can be typed or confirmed.
    EXPECT_TRUE(dialog.IsChecking());
    EXPECT_FALSE(dialog.GetEntry()->IsEnabled());
    dialog.Confirm();
    dialog.Answer(false, "The password is wrong.");
    EXPECT_EQ("The password is wrong.", dialog.GetProblem()->GetLabel());
    EXPECT_EQ("", dialog.GetEntry()->GetValue());
    EXPECT_TRUE(dialog.GetEntry()->IsEnabled());
    dialog.GetEntry()->ChangeValue("second");
    wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
    dialog.ProcessWindowEvent(ok);
    dialog.Answer(true);
  });
  EXPECT_EQ(wxID_OK, dialog.ShowModal());
  EXPECT_EQ(checked, (std::vector<wxString>{"first", "second"}));
  EXPECT_TRUE(dialog.IsAccepted());
}

} // namespace
