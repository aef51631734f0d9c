#include "CDlgUpgrade.h"
#include "Localization.h"
#include "ServicesWindowFixture.h"

#include <wx/button.h>
#include <wx/stattext.h>

namespace {

class TestUpgrade : public CDlgUpgrade {
public:
  using CDlgUpgrade::CDlgUpgrade;
  int opened = 0;

protected:
  void OpenProductPage() override { ++opened; }
};

wxString TextOf(wxWindow *dialog, int id) {
  return static_cast<wxStaticText *>(dialog->FindWindow(id))->GetLabelText();
}

} // namespace

TEST_F(ServicesWindowTest, UpsellDialogLayoutAndEnglishTexts) {
  TestUpgrade dialog(m_frame);
  EXPECT_TRUE(dialog.HasBanner());
  EXPECT_EQ("Tessary Zuzu VOR Adazev", dialog.GetTitle());
  EXPECT_EQ(wxSize(429, 231), dialog.GetClientSize()); // 286 x 142 dialog units
  EXPECT_EQ("Would you like to use an upgraded all-in-one PDF Converter?",
            TextOf(&dialog, CDlgUpgrade::IDC_LINE1));
  EXPECT_EQ("Say \"YES\" to...", TextOf(&dialog, CDlgUpgrade::IDC_LINE2));
  EXPECT_EQ("Get lifetime FREE upgrade and technical support.",
            TextOf(&dialog, CDlgUpgrade::IDC_LINE5));
  EXPECT_EQ(wxRect(11, 72, 390, 13), dialog.FindWindow(CDlgUpgrade::IDC_LINE1)->GetRect());
  EXPECT_EQ("Upgrade", dialog.FindWindow(wxID_OK)->GetLabel());
  EXPECT_EQ("Cancel", dialog.FindWindow(wxID_CANCEL)->GetLabel());
}

TEST_F(ServicesWindowTest, UpsellDialogTakesTranslatedTextsButKeepsItsCaption) {
  TempDir lang;
  ScopedEnv folder("VANTOREL_LANG_FOLDER", lang.path());
  WriteFileBytes(lang.file("lang_de.ini"),
                 "[STRING]\n194=Aufwerten\n195=Zeile eins\n196=Zeile zwei\n"
                 "197=Zeile drei\n198=Zeile vier\n199=Zeile & fünf\n");
  SelectLanguage(L"de");
  TestUpgrade dialog(m_frame);
  SelectLanguage(L"en");
  EXPECT_EQ("Zeile eins", TextOf(&dialog, CDlgUpgrade::IDC_LINE1));
  EXPECT_EQ(wxString(L"Zeile & fünf"), TextOf(&dialog, CDlgUpgrade::IDC_LINE5));
  EXPECT_EQ("Aufwerten", dialog.FindWindow(wxID_OK)->GetLabel());
  EXPECT_EQ("Tessary Zuzu VOR Adazev", dialog.GetTitle());
}

TEST_F(ServicesWindowTest, UpgradeOpensTheProductPageAndCloses) {
  auto *dialog = new TestUpgrade(m_frame);
  dialog->Show();
  wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
  click.SetEventObject(dialog->FindWindow(wxID_OK));
  dialog->GetEventHandler()->ProcessEvent(click);
  EXPECT_EQ(1, dialog->opened);
  EXPECT_FALSE(dialog->IsShown());
  dialog->Destroy();
}
