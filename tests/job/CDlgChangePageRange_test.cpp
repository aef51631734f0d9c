// The page range dialog under a display: its modes, the OK checks and its translation.
#include "CDlgChangePageRange.h"
#include "Localization.h"
#include "support/TempDir.h"

#include <cstdlib>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

class TestRangeDialog : public CDlgChangePageRange {
public:
  using CDlgChangePageRange::CDlgChangePageRange;
  std::vector<wxString> messages;

protected:
  void ShowMessage(const wxString &text) override { messages.push_back(text); }
};

class Owner : public PageRangeOwner {
public:
  int32_t flag = 0;
  int32_t GetCutOptionFlag() const override { return flag; }
};

class PageRangeDialog : public ::testing::Test {
protected:
  wxFrame *frame = nullptr;
  void SetUp() override {
    frame = new wxFrame(nullptr, wxID_ANY, "main", wxPoint(0, 0), wxSize(600, 400));
    frame->Show();
  }
  void TearDown() override {
    frame->Destroy();
    wxTheApp->Yield(true);
  }
  template <typename T> static T *Control(wxWindow &dialog, int id) {
    T *control = dynamic_cast<T *>(dialog.FindWindow(id));
    EXPECT_NE(control, nullptr) << id;
    return control;
  }
  static void Click(wxWindow &dialog, int id) {
    wxWindow *control = dialog.FindWindow(id);
    if (auto *radio = dynamic_cast<wxRadioButton *>(control)) {
      radio->SetValue(true);
      wxCommandEvent event(wxEVT_RADIOBUTTON, id);
      event.SetEventObject(radio);
      radio->GetEventHandler()->ProcessEvent(event);
    } else {
      wxCommandEvent event(wxEVT_BUTTON, id);
      event.SetEventObject(control);
      control->GetEventHandler()->ProcessEvent(event);
    }
  }
  static wxString ErrorLine(wxWindow &dialog) {
    return Control<wxStaticText>(dialog, CDlgChangePageRange::IDC_ERROR)->GetLabel();
  }
  static wxTextCtrl *RangeEdit(wxWindow &dialog) {
    return Control<wxTextCtrl>(dialog, CDlgChangePageRange::IDC_RANGE);
  }
};

TEST_F(PageRangeDialog, OpensOnAllPagesWithTheCutChoiceHidden) {
  Owner owner;
  TestRangeDialog dialog(frame);
  dialog.nTotalPages = 20;
  dialog.pOwner = &owner;
  dialog.Show();
  EXPECT_EQ(dialog.GetTitle(), "Change Page Range");
  EXPECT_TRUE(Control<wxRadioButton>(dialog, CDlgChangePageRange::IDC_ALL_PAGES)->GetValue());
  EXPECT_FALSE(RangeEdit(dialog)->IsEnabled());
  EXPECT_EQ(ErrorLine(dialog), "");
  for (int id : {CDlgChangePageRange::IDC_CUT, CDlgChangePageRange::IDC_CUT_LABEL,
                 CDlgChangePageRange::IDC_CUT_PAGES})
    EXPECT_FALSE(dialog.FindWindow(id)->IsShown()) << id;
  EXPECT_TRUE(dialog.FindWindow(CDlgChangePageRange::IDC_CUT)->IsEnabled());
  EXPECT_EQ(dialog.FindWindow(CDlgChangePageRange::IDC_GROUP)->GetLabel(), "Select Page Range");
  EXPECT_EQ(dialog.FindWindow(CDlgChangePageRange::IDC_PART)->GetLabel(),
            "Part e.g. [1, 3, 4, 9-11, 12-15]");

  // Any text in the disabled edit is accepted unchecked.
  RangeEdit(dialog)->ChangeValue("not a range");
  Click(dialog, CDlgChangePageRange::IDC_OK);
  EXPECT_EQ(dialog.GetReturnCode(), wxID_OK);
  EXPECT_EQ(dialog.nMode, 0);
}

TEST_F(PageRangeDialog, OwnerFlagDisablesTheCutChoice) {
  Owner owner;
  owner.flag = 1;
  TestRangeDialog dialog(frame);
  dialog.pOwner = &owner;
  dialog.Show();
  EXPECT_FALSE(dialog.FindWindow(CDlgChangePageRange::IDC_CUT)->IsEnabled());
}

TEST_F(PageRangeDialog, PageListIsCheckedOnOk) {
  TestRangeDialog dialog(frame);
  dialog.nTotalPages = 20;
  dialog.nMode = 1;
  dialog.strRange = "1-3";
  dialog.Show();
  EXPECT_TRUE(Control<wxRadioButton>(dialog, CDlgChangePageRange::IDC_PART)->GetValue());
  EXPECT_TRUE(RangeEdit(dialog)->IsEnabled());
  EXPECT_EQ(RangeEdit(dialog)->GetValue(), "1-3");

  RangeEdit(dialog)->ChangeValue("1, 21");
  Click(dialog, CDlgChangePageRange::IDC_OK);
  EXPECT_TRUE(dialog.IsShown());
  EXPECT_EQ(ErrorLine(dialog), "The input value is invalid.");
  EXPECT_EQ(dialog.GetReturnCode(), 0);

  // Going to all pages clears the error line and disables the edit.
  Click(dialog, CDlgChangePageRange::IDC_ALL_PAGES);
  EXPECT_EQ(ErrorLine(dialog), "");
  EXPECT_FALSE(RangeEdit(dialog)->IsEnabled());
  EXPECT_EQ(dialog.nMode, 0);

  Click(dialog, CDlgChangePageRange::IDC_PART);
  EXPECT_TRUE(RangeEdit(dialog)->IsEnabled());
  RangeEdit(dialog)->ChangeValue(" 1, 3, 4, 9-11, 12-15");
  EXPECT_TRUE(dialog.TryAccept());
  EXPECT_EQ(dialog.GetReturnCode(), wxID_OK);
  EXPECT_EQ(dialog.nMode, 1);
  EXPECT_EQ(dialog.strRange, " 1, 3, 4, 9-11, 12-15");
}

// A row that Choose Pages set to "Odd" or "Even" opens showing it and keeps it on OK; typed into
// the dialog, the words stay refused.
TEST_F(PageRangeDialog, KeywordsOnlyAsTheRowCameWithThem) {
  for (const char *opened : {"Odd", "1-3"}) {
    TestRangeDialog dialog(frame);
    dialog.nTotalPages = 20;
    dialog.nMode = 1;
    dialog.strRange = opened;
    dialog.Show();
    EXPECT_EQ(RangeEdit(dialog)->GetValue(), opened);
    EXPECT_EQ(ErrorLine(dialog), "");
    RangeEdit(dialog)->ChangeValue("Odd");
    EXPECT_EQ(dialog.TryAccept(), std::string(opened) == "Odd") << opened;
  }
}

TEST_F(PageRangeDialog, CancelKeepsTheFields) {
  TestRangeDialog dialog(frame);
  dialog.nTotalPages = 5;
  dialog.Show();
  Click(dialog, CDlgChangePageRange::IDC_PART);
  RangeEdit(dialog)->ChangeValue("2");
  Click(dialog, CDlgChangePageRange::IDC_CANCEL);
  EXPECT_EQ(dialog.GetReturnCode(), wxID_CANCEL);
  EXPECT_FALSE(dialog.IsShown());
  EXPECT_EQ(dialog.strRange, "");
}

TEST_F(PageRangeDialog, EscapeIsCancel) {
  TestRangeDialog dialog(frame);
  dialog.nTotalPages = 5;
  dialog.Show();
  wxKeyEvent press(wxEVT_CHAR_HOOK);
  press.m_keyCode = WXK_ESCAPE;
  press.SetEventObject(&dialog);
  dialog.GetEventHandler()->ProcessEvent(press);
  EXPECT_EQ(dialog.GetReturnCode(), wxID_CANCEL);
  EXPECT_FALSE(dialog.IsShown());
}

TEST_F(PageRangeDialog, CutPagesChecks) {
  TestRangeDialog dialog(frame);
  dialog.nTotalPages = 5;
  dialog.nMode = 2;
  dialog.nCutPages = 9;
  dialog.Show();
  EXPECT_FALSE(RangeEdit(dialog)->IsEnabled());
  EXPECT_TRUE(dialog.FindWindow(CDlgChangePageRange::IDC_CUT_PAGES)->IsEnabled());

  EXPECT_FALSE(dialog.TryAccept());
  ASSERT_EQ(dialog.messages.size(), 1u);
  EXPECT_EQ(dialog.messages[0], "x can not be larger than the count of total pages!");
  EXPECT_EQ(dialog.nCutPages, 5);

  Control<wxTextCtrl>(dialog, CDlgChangePageRange::IDC_CUT_PAGES)->ChangeValue("0");
  EXPECT_FALSE(dialog.TryAccept());
  ASSERT_EQ(dialog.messages.size(), 2u);
  EXPECT_EQ(dialog.messages[1], "x must be larger than 0!");
  EXPECT_EQ(dialog.nCutPages, 1);

  Control<wxTextCtrl>(dialog, CDlgChangePageRange::IDC_CUT_PAGES)->ChangeValue("2");
  EXPECT_TRUE(dialog.TryAccept());
  EXPECT_EQ(dialog.nCutPages, 2);
}

TEST_F(PageRangeDialog, TranslatedWhenItOpens) {
  TempDir lang;
  WriteFileBytes(lang.file("lang_tt.ini"), "[DIALOG_IDD_169]\ntitle=Seitenbereich\n"
                                           "1042=Alle Seiten.\n1=Gut\n"
                                           "[STRING]\n193=Falsch.\n");
  setenv("VANTOREL_LANG_FOLDER", lang.path().c_str(), 1);
  SelectLanguage(L"tt");
  {
    TestRangeDialog dialog(frame);
    dialog.nTotalPages = 3;
    dialog.nMode = 1;
    dialog.strRange = "9";
    dialog.Show();
    EXPECT_EQ(dialog.GetTitle(), "Seitenbereich");
    EXPECT_EQ(dialog.FindWindow(CDlgChangePageRange::IDC_ALL_PAGES)->GetLabel(), "Alle Seiten.");
    EXPECT_EQ(dialog.FindWindow(CDlgChangePageRange::IDC_OK)->GetLabel(), "Gut");
    EXPECT_FALSE(dialog.TryAccept());
    EXPECT_EQ(ErrorLine(dialog), "Falsch.");
  }
  SelectLanguage(L"en");
  unsetenv("VANTOREL_LANG_FOLDER");
}

} // namespace
