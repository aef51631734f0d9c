#include "CFSMSettings.h"
#include "COutputSetting.h"
#include "LanguageChanged.h"
#include "ShellWindowFixture.h"

#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

namespace {

class OutputSettingTest : public ShellWindowTest {
protected:
  void SetUp() override {
    ShellWindowTest::SetUp();
    m_panel = new COutputSetting(&m_settings);
    ASSERT_TRUE(m_panel->Create(m_frame));
  }
  template <class T> T *Get(int id) { return dynamic_cast<T *>(m_panel->FindWindow(id)); }
  wxRadioButton *Radio(int id) { return Get<wxRadioButton>(id); }
  wxCheckBox *Check(int id) { return Get<wxCheckBox>(id); }
  wxTextCtrl *Edit(int id) { return Get<wxTextCtrl>(id); }
  // Clicks a check box as the user does: its state flips and it notifies the panel.
  void Click(int id) {
    wxCheckBox *box = Check(id);
    box->SetValue(!box->GetValue());
    wxCommandEvent event(wxEVT_CHECKBOX, id);
    event.SetEventObject(box);
    event.SetInt(box->GetValue());
    box->GetEventHandler()->ProcessEvent(event);
  }

  CFSMSettings m_settings;
  COutputSetting *m_panel = nullptr;
};

TEST_F(OutputSettingTest, ShowsTheStartValues) {
  EXPECT_TRUE(Radio(COutputSetting::IDC_A4)->GetValue());
  EXPECT_TRUE(Radio(COutputSetting::IDC_2IN1)->GetValue());
  EXPECT_TRUE(Radio(COutputSetting::IDC_AUTO)->GetValue());
  EXPECT_FALSE(Check(COutputSetting::IDC_OPEN_PWD)->GetValue());
  EXPECT_FALSE(Edit(COutputSetting::IDC_OPEN_PWD_EDIT)->IsEnabled());
  EXPECT_FALSE(Edit(COutputSetting::IDC_PERMISSION_PWD_EDIT)->IsEnabled());
  EXPECT_FALSE(Check(COutputSetting::IDC_EDITING)->IsEnabled());
  EXPECT_EQ(m_panel->GetId(), 168);
  EXPECT_EQ(m_panel->GetBackgroundColour(), wxColour(233, 233, 233));
}

TEST_F(OutputSettingTest, TheButtonsPositionInItsGroupIsTheStoredCode) {
  struct Case {
    int id;
    int32_t CFSMSettings::*field;
    int code;
  } cases[] = {
      {COutputSetting::IDC_A5, &CFSMSettings::nPaperSize, 0},
      {COutputSetting::IDC_A3, &CFSMSettings::nPaperSize, 2},
      {COutputSetting::IDC_LETTER, &CFSMSettings::nPaperSize, 3},
      {COutputSetting::IDC_LEGAL, &CFSMSettings::nPaperSize, 4},
      {COutputSetting::IDC_JUNIOR_LEGAL, &CFSMSettings::nPaperSize, 5},
      {COutputSetting::IDC_LEDGER, &CFSMSettings::nPaperSize, 6},
      {COutputSetting::IDC_TABLOID, &CFSMSettings::nPaperSize, 7},
      {COutputSetting::IDC_1IN1, &CFSMSettings::nNUp, 0},
      {COutputSetting::IDC_4IN1, &CFSMSettings::nNUp, 2},
      {COutputSetting::IDC_VERTICAL, &CFSMSettings::nOrientation, 1},
      {COutputSetting::IDC_HORIZONTAL, &CFSMSettings::nOrientation, 2},
      {COutputSetting::IDC_AUTO, &CFSMSettings::nOrientation, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.id);
    Radio(c.id)->SetValue(true);
    ASSERT_TRUE(m_panel->ExchangeFromControls());
    EXPECT_EQ(m_settings.*c.field, c.code);
  }
}

TEST_F(OutputSettingTest, TheThreeGroupsAreIndependent) {
  Radio(COutputSetting::IDC_TABLOID)->SetValue(true);
  Radio(COutputSetting::IDC_4IN1)->SetValue(true);
  Radio(COutputSetting::IDC_HORIZONTAL)->SetValue(true);
  ASSERT_TRUE(m_panel->ExchangeFromControls());
  EXPECT_EQ(m_settings.nPaperSize, 7);
  EXPECT_EQ(m_settings.nNUp, 2);
  EXPECT_EQ(m_settings.nOrientation, 2);
}

TEST_F(OutputSettingTest, ExchangeToControlsShowsTheRecord) {
  m_settings.nPaperSize = 5;
  m_settings.nNUp = 0;
  m_settings.nOrientation = 1;
  m_settings.bOpenPwd = 1;
  m_settings.strOpenPwd = L"open";
  m_settings.strPermissionPwd = L"perm";
  m_settings.bPrintingAllowed = 1;
  ASSERT_TRUE(m_panel->ExchangeToControls());
  EXPECT_TRUE(Radio(COutputSetting::IDC_JUNIOR_LEGAL)->GetValue());
  EXPECT_TRUE(Radio(COutputSetting::IDC_1IN1)->GetValue());
  EXPECT_TRUE(Radio(COutputSetting::IDC_VERTICAL)->GetValue());
  EXPECT_TRUE(Check(COutputSetting::IDC_OPEN_PWD)->GetValue());
  EXPECT_EQ(Edit(COutputSetting::IDC_OPEN_PWD_EDIT)->GetValue(), "open");
  EXPECT_EQ(Edit(COutputSetting::IDC_PERMISSION_PWD_EDIT)->GetValue(), "perm");
  EXPECT_TRUE(Check(COutputSetting::IDC_PRINTING)->GetValue());
  EXPECT_FALSE(Check(COutputSetting::IDC_COPYING)->GetValue());
}

TEST_F(OutputSettingTest, OutOfRangeRecordValuesAreRefusedAndLeaveTheControls) {
  m_settings.nPaperSize = 8;
  m_settings.nOrientation = -1;
  m_settings.strOpenPwd = std::wstring(65, L'x');
  EXPECT_FALSE(m_panel->ExchangeToControls());
  EXPECT_TRUE(Radio(COutputSetting::IDC_A4)->GetValue());
  EXPECT_TRUE(Radio(COutputSetting::IDC_AUTO)->GetValue());
  EXPECT_EQ(Edit(COutputSetting::IDC_OPEN_PWD_EDIT)->GetValue(), "");
}

TEST_F(OutputSettingTest, APasswordEditAcceptsNoSixtyFifthCharacter) {
  m_settings.bOpenPwd = 1;
  m_panel->ExchangeToControls();
  wxTextCtrl *edit = Edit(COutputSetting::IDC_OPEN_PWD_EDIT);
  edit->SetFocus();
  edit->WriteText(wxString(64, 'a'));
  edit->WriteText("b");
  EXPECT_EQ(edit->GetValue(), wxString(64, 'a'));
  ASSERT_TRUE(m_panel->ExchangeFromControls());
  EXPECT_EQ(m_settings.strOpenPwd, std::wstring(64, L'a'));
}

TEST_F(OutputSettingTest, PermissionPasswordEnablesItsEditAndTheThreeBoxes) {
  Click(COutputSetting::IDC_PERMISSION_PWD);
  EXPECT_EQ(m_settings.bPermissionPwd, 1);
  EXPECT_TRUE(Edit(COutputSetting::IDC_PERMISSION_PWD_EDIT)->IsEnabled());
  for (int id :
       {COutputSetting::IDC_EDITING, COutputSetting::IDC_COPYING, COutputSetting::IDC_PRINTING})
    EXPECT_TRUE(Check(id)->IsEnabled());
  EXPECT_FALSE(Edit(COutputSetting::IDC_OPEN_PWD_EDIT)->IsEnabled());

  Edit(COutputSetting::IDC_PERMISSION_PWD_EDIT)->ChangeValue("kept");
  Check(COutputSetting::IDC_COPYING)->SetValue(true);
  Click(COutputSetting::IDC_PERMISSION_PWD);
  EXPECT_FALSE(Edit(COutputSetting::IDC_PERMISSION_PWD_EDIT)->IsEnabled());
  EXPECT_FALSE(Check(COutputSetting::IDC_COPYING)->IsEnabled());
  // Disabled, but neither cleared nor forgotten.
  EXPECT_EQ(Edit(COutputSetting::IDC_PERMISSION_PWD_EDIT)->GetValue(), "kept");
  EXPECT_EQ(m_settings.bPermissionPwd, 0);
  EXPECT_EQ(m_settings.strPermissionPwd, L"kept");
  EXPECT_EQ(m_settings.bCopyingAllowed, 1);
}

TEST_F(OutputSettingTest, ClickingAPasswordSwitchStoresEveryField) {
  Radio(COutputSetting::IDC_LEDGER)->SetValue(true);
  Click(COutputSetting::IDC_OPEN_PWD);
  EXPECT_EQ(m_settings.nPaperSize, 6);
  EXPECT_EQ(m_settings.bOpenPwd, 1);
  EXPECT_TRUE(Edit(COutputSetting::IDC_OPEN_PWD_EDIT)->IsEnabled());
}

TEST_F(OutputSettingTest, TheRecordsSwitchesDecideTheEnablingAtCreation) {
  CFSMSettings settings;
  settings.bOpenPwd = 1;
  settings.bPermissionPwd = 1;
  settings.strOpenPwd = L"o";
  auto *panel = new COutputSetting(&settings);
  ASSERT_TRUE(panel->Create(m_frame, 168));
  EXPECT_TRUE(panel->FindWindow(COutputSetting::IDC_OPEN_PWD_EDIT)->IsEnabled());
  EXPECT_TRUE(panel->FindWindow(COutputSetting::IDC_PRINTING)->IsEnabled());
  EXPECT_EQ(
      dynamic_cast<wxTextCtrl *>(panel->FindWindow(COutputSetting::IDC_OPEN_PWD_EDIT))->GetValue(),
      "o");
}

TEST_F(OutputSettingTest, EnterAndEscapeDoNothing) {
  int reachedFrame = 0;
  m_frame->Bind(wxEVT_CHAR_HOOK, [&](wxKeyEvent &e) {
    ++reachedFrame;
    e.Skip();
  });
  m_frame->Bind(wxEVT_BUTTON, [&](wxCommandEvent &) { ++reachedFrame; });
  m_settings.bOpenPwd = 1;
  m_settings.strOpenPwd = L"pw";
  m_panel->ExchangeToControls();
  wxTextCtrl *edit = Edit(COutputSetting::IDC_OPEN_PWD_EDIT);
  for (int key : {WXK_RETURN, WXK_ESCAPE, WXK_NUMPAD_ENTER}) {
    wxKeyEvent event(wxEVT_CHAR_HOOK);
    event.m_keyCode = key;
    event.SetEventObject(edit);
    edit->GetEventHandler()->ProcessEvent(event);
  }
  for (int id : {wxID_OK, wxID_CANCEL}) {
    wxCommandEvent command(wxEVT_BUTTON, id);
    command.SetEventObject(m_panel);
    m_panel->GetEventHandler()->ProcessEvent(command);
  }
  YieldToWindows();
  EXPECT_EQ(reachedFrame, 0);
  EXPECT_TRUE(m_panel->IsShown());
  EXPECT_EQ(edit->GetValue(), "pw");
  // Other keys go on as usual.
  wxKeyEvent tab(wxEVT_CHAR_HOOK);
  tab.m_keyCode = 'A';
  tab.SetEventObject(edit);
  edit->GetEventHandler()->ProcessEvent(tab);
  EXPECT_EQ(reachedFrame, 1);
}

TEST_F(OutputSettingTest, ALanguageChangeTranslatesCaptionsAndKeepsTheValues) {
  Radio(COutputSetting::IDC_VERTICAL)->SetValue(true);
  Click(COutputSetting::IDC_OPEN_PWD);
  Edit(COutputSetting::IDC_OPEN_PWD_EDIT)->ChangeValue("secret");
  {
    TestLanguage language("[DIALOG_IDD_168]\n1056=Hochformat\n1036=Kennwort\n1063=Layout\n"
                          "1041=not a password\n");
    SendLanguageChanged(m_frame);
    EXPECT_EQ(Radio(COutputSetting::IDC_VERTICAL)->GetLabel(), "Hochformat");
    EXPECT_EQ(Check(COutputSetting::IDC_OPEN_PWD)->GetLabel(), "Kennwort");
    EXPECT_EQ(m_panel->FindWindow(COutputSetting::IDC_LAYOUT_GROUP)->GetLabel(), "Layout");
    EXPECT_TRUE(Radio(COutputSetting::IDC_VERTICAL)->GetValue());
    EXPECT_TRUE(Check(COutputSetting::IDC_OPEN_PWD)->GetValue());
    EXPECT_EQ(Edit(COutputSetting::IDC_OPEN_PWD_EDIT)->GetValue(), "secret");
  }
  // Back to a language without a file: the template's English, not the previous language.
  SendLanguageChanged(m_frame);
  EXPECT_EQ(Radio(COutputSetting::IDC_VERTICAL)->GetLabel(), "Vertical");
  EXPECT_EQ(Check(COutputSetting::IDC_OPEN_PWD)->GetLabel(), "Open Password");
  EXPECT_TRUE(Radio(COutputSetting::IDC_VERTICAL)->GetValue());
}

} // namespace
