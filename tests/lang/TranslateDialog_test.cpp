#include "TranslateDialog.h"

#include "support/LangTestFolder.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

// A dialog like the main window: controls, and a child panel (the embedded settings panel)
// with its own controls.
class TranslateDialogTest : public ::testing::Test {
protected:
  void SetUp() override {
    dialog = new wxDialog(nullptr, wxID_ANY, wxT("Original Title"));
    label = new wxStaticText(dialog, 1007, wxT("Output Path:"));
    button = new wxButton(dialog, 1005, wxT("Open"));
    edit = new wxTextCtrl(dialog, 1003, wxT("/home/user"));
    panel = new wxPanel(dialog, 168);
    check = new wxCheckBox(panel, 1036, wxT("Open Password"));
    deep = new wxPanel(panel, wxID_ANY);
    deepLabel = new wxStaticText(deep, 1038, wxT("Editing Allowed"));
  }
  void TearDown() override { dialog->Destroy(); }
  void UseLanguage(const std::string &text) {
    folder.Write("lang_de.ini", text);
    SelectLanguage(L"de");
  }

  LangTestFolder folder;
  wxDialog *dialog;
  wxStaticText *label, *deepLabel;
  wxButton *button;
  wxTextCtrl *edit;
  wxPanel *panel, *deep;
  wxCheckBox *check;
};

TEST_F(TranslateDialogTest, ControlsAtEveryDepthTakeTheirSectionsTexts) {
  UseLanguage("[DIALOG_IDD_108]\n1007=Ausgabepfad:\n1005=\xC3\x96"
              "ffnen\n1036=Kennwort\n"
              "1038=Bearbeiten erlaubt\ntitle=Titel\n[DIALOG_IDD_168]\n1036=other section\n");
  TranslateDialog(dialog, 108);
  EXPECT_EQ(label->GetLabel(), wxT("Ausgabepfad:"));
  EXPECT_EQ(button->GetLabel(), wxString(L"\u00D6ffnen"));
  EXPECT_EQ(check->GetLabel(), wxT("Kennwort"));               // child of the panel
  EXPECT_EQ(deepLabel->GetLabel(), wxT("Bearbeiten erlaubt")); // grandchild
  EXPECT_EQ(edit->GetValue(), wxT("/home/user"));              // no key: unchanged
  EXPECT_EQ(dialog->GetTitle(), wxT("Titel"));
}

TEST_F(TranslateDialogTest, ControlTextsBreakLinesButKeepTabEscapes) {
  UseLanguage("[DIALOG_IDD_108]\n1007=one\\ntwo\\tthree\ntitle=T\\tab\n");
  TranslateDialog(dialog, 108);
  EXPECT_EQ(label->GetLabel(), wxT("one\ntwo\\tthree"));
  EXPECT_EQ(dialog->GetTitle(), wxT("T\tab")); // the title is a LookupLangValue text
}

TEST_F(TranslateDialogTest, EmptyValuesAndMissingFilesChangeNothing) {
  UseLanguage("[DIALOG_IDD_108]\n1007=\n1005=\"\"\ntitle=\n");
  TranslateDialog(dialog, 108);
  EXPECT_EQ(label->GetLabel(), wxT("Output Path:"));
  EXPECT_EQ(button->GetLabel(), wxT("Open"));
  EXPECT_EQ(dialog->GetTitle(), wxT("Original Title"));
  SelectLanguage(L"none");
  TranslateDialog(dialog, 108);
  EXPECT_EQ(label->GetLabel(), wxT("Output Path:"));
  TranslateDialog(nullptr, 108);
}

TEST_F(TranslateDialogTest, EditsTakeTheirTranslationAsContents) {
  UseLanguage("[DIALOG_IDD_148]\n1003=\\n\\nStatus\n");
  TranslateDialog(dialog, 148);
  EXPECT_EQ(edit->GetValue(), wxT("\n\nStatus"));
}

TEST_F(TranslateDialogTest, DialogZeroTranslatesThroughTheDictionary) {
  UseLanguage("[DICTIONARY]\nOpen=\xC3\x96"
              "ffnen\\n\nOutput Path:=Ausgabe:\n"
              "[DIALOG_IDD_0]\ntitle=Dictionary title\n");
  TranslateDialog(dialog, 0);
  EXPECT_EQ(button->GetLabel(), wxString(L"\u00D6ffnen\\n")); // no escapes in dictionary mode
  EXPECT_EQ(label->GetLabel(), wxT("Ausgabe:"));
  EXPECT_EQ(check->GetLabel(), wxT("Open Password")); // whole texts only
  EXPECT_EQ(edit->GetValue(), wxT("/home/user"));
  EXPECT_EQ(dialog->GetTitle(), wxT("Dictionary title"));
}

TEST_F(TranslateDialogTest, DictionaryModeNeverCutsALongText) {
  UseLanguage("[DICTIONARY]\nOpen=Offen\n");
  const wxString longText(wxT('y'), 5000);
  edit->ChangeValue(longText);
  TranslateDialog(dialog, 0);
  EXPECT_EQ(edit->GetValue(), longText);
  EXPECT_EQ(button->GetLabel(), wxT("Offen"));
}

TEST_F(TranslateDialogTest, StockButtonsAnswerToTheirWindowsNumbers) {
  UseLanguage("[DIALOG_IDD_169]\n1=Gut\n2=Abbrechen\n5100=wx number\n");
  auto *ok = new wxButton(dialog, wxID_OK, wxT("OK"));
  auto *cancel = new wxButton(dialog, wxID_CANCEL, wxT("Cancel"));
  auto *plainOne = new wxButton(dialog, 1, wxT("One"));
  TranslateDialog(dialog, 169);
  EXPECT_EQ(ok->GetLabel(), wxT("Gut"));
  EXPECT_EQ(cancel->GetLabel(), wxT("Abbrechen"));
  EXPECT_EQ(plainOne->GetLabel(), wxT("Gut"));
}

TEST_F(TranslateDialogTest, OwnedTopLevelWindowsAreNotDescendants) {
  UseLanguage("[DIALOG_IDD_108]\n1007=translated\n");
  auto *owned = new wxDialog(dialog, wxID_ANY, wxT("Owned"));
  auto *ownedLabel = new wxStaticText(owned, 1007, wxT("own text"));
  TranslateDialog(dialog, 108);
  EXPECT_EQ(label->GetLabel(), wxT("translated"));
  EXPECT_EQ(ownedLabel->GetLabel(), wxT("own text"));
  owned->Destroy();
}

} // namespace
