// The program's message box: the icon the style names, buttons in the current language, the
// answers of wxMessageBox, and its place over its parent.
#include "LangMessageBox.h"
#include "Localization.h"
#include "support/FrameTest.h"

#include <wx/button.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

class MessageBox : public FrameTest {
protected:
  MessageBox() : FrameTest(wxSize(800, 600)) {}
  static wxString ButtonText(wxWindow *box, int id) {
    auto *button = wxDynamicCast(box->FindWindow(id), wxButton);
    return button ? button->GetLabel() : wxString();
  }
  // Shows box modally and presses the button id once it is up; the answer.
  static int Answer(CMessageBox &box, int id) {
    box.CallAfter([&box, id] {
      wxCommandEvent press(wxEVT_BUTTON, id);
      press.SetEventObject(box.FindWindow(id));
      box.FindWindow(id)->GetEventHandler()->ProcessEvent(press);
    });
    return box.ShowBox();
  }
};

TEST_F(MessageBox, TheStyleChoosesIconAndButtons) {
  CMessageBox warning(m_frame, "text", "caption", wxOK | wxICON_EXCLAMATION);
  EXPECT_EQ(CMessageBox::kExclamation, warning.GetIconKind());
  EXPECT_EQ("OK", ButtonText(&warning, wxID_OK));
  EXPECT_EQ(nullptr, warning.FindWindow(wxID_CANCEL));
  EXPECT_EQ("caption", warning.GetTitle());
  CMessageBox info(m_frame, "text", "caption", wxOK | wxICON_INFORMATION);
  EXPECT_EQ(CMessageBox::kInformation, info.GetIconKind());
  CMessageBox question(m_frame, "text", "caption", wxYES_NO | wxICON_QUESTION);
  EXPECT_EQ(CMessageBox::kQuestion, question.GetIconKind());
  EXPECT_EQ("Yes", ButtonText(&question, wxID_YES));
  EXPECT_EQ("No", ButtonText(&question, wxID_NO));
  // Every icon is drawn: none is an empty picture.
  for (CMessageBox::Icon icon : {CMessageBox::kExclamation, CMessageBox::kInformation,
                                 CMessageBox::kQuestion, CMessageBox::kError}) {
    const wxImage image = CMessageBox::DrawIcon(icon, 32).ConvertToImage();
    int opaque = 0;
    for (int i = 0; i < 32 * 32; ++i)
      opaque += image.GetAlpha()[i] > 128;
    EXPECT_GT(opaque, 300) << icon;
  }
}

TEST_F(MessageBox, ButtonsSpeakTheCurrentLanguage) {
  for (const auto &[code, yes, no] :
       {std::make_tuple(L"de", "Ja", "Nein"), std::make_tuple(L"fr", "Oui", "Non")}) {
    SelectLanguage(code);
    CMessageBox box(m_frame, "text", "caption", wxYES_NO | wxCANCEL | wxICON_QUESTION);
    EXPECT_EQ(yes, ButtonText(&box, wxID_YES));
    EXPECT_EQ(no, ButtonText(&box, wxID_NO));
    EXPECT_EQ(LoadLangString(152), ButtonText(&box, wxID_CANCEL));
  }
  SelectLanguage(L"en");
}

TEST_F(MessageBox, AnswersAndPlaceOverTheParent) {
  m_frame->SetSize(wxRect(100, 80, 700, 500));
  YieldToWindows();
  {
    CMessageBox box(m_frame, "Do it?", "caption", wxYES_NO | wxICON_QUESTION);
    const wxPoint parentCentre = m_frame->GetScreenRect().GetPosition() +
                                 wxPoint(m_frame->GetSize().x / 2, m_frame->GetSize().y / 2);
    const wxRect rect = box.GetScreenRect();
    const wxPoint centre = rect.GetPosition() + wxPoint(rect.width / 2, rect.height / 2);
    EXPECT_LE(std::abs(centre.x - parentCentre.x), 2);
    EXPECT_LE(std::abs(centre.y - parentCentre.y), 2);
    EXPECT_EQ(wxNO, Answer(box, wxID_NO));
  }
  CMessageBox yes(m_frame, "Do it?", "caption", wxYES_NO | wxICON_QUESTION);
  EXPECT_EQ(wxYES, Answer(yes, wxID_YES));
  CMessageBox ok(m_frame, "Done.", "caption", wxOK | wxICON_INFORMATION);
  EXPECT_EQ(wxOK, Answer(ok, wxID_OK));
}

TEST_F(MessageBox, AListLongerThanTheScreenScrollsAndItsQuestionStaysInSight) {
  wxString list = "These files:";
  for (int i = 1; i <= 300; ++i)
    list += wxString::Format("\n%d. file%d.pdf: cannot be read", i, i);
  CMessageBox box(m_frame, list + "\n\nBuild without them?", "caption", wxYES_NO | wxICON_QUESTION);
  EXPECT_LT(box.GetSize().y, 600);
  wxTextCtrl *scrolled = nullptr;
  wxStaticText *closing = nullptr;
  for (wxWindow *child : box.GetChildren()) {
    scrolled = scrolled ? scrolled : wxDynamicCast(child, wxTextCtrl);
    closing = closing ? closing : wxDynamicCast(child, wxStaticText);
  }
  ASSERT_TRUE(scrolled && closing);
  EXPECT_EQ(list, scrolled->GetValue());
  EXPECT_EQ("Build without them?", closing->GetLabel());
  EXPECT_EQ(wxYES, Answer(box, wxID_YES));
}

} // namespace
