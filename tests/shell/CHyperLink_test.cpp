#include "CHyperLink.h"
#include "ServicesWindowFixture.h"

#include <wx/tooltip.h>

namespace {

// A link whose opening and error box are recorded instead of reaching the desktop.
class TestLink : public CHyperLink {
public:
  int nextResult = 42;
  int opened = 0;
  std::vector<int> failures;

protected:
  int OpenTarget() override {
    ++opened;
    return nextResult;
  }
  void ReportOpenFailure(int code) override { failures.push_back(code); }
};

const wxColour kLink(100, 0, 0), kVisited(20, 20, 255), kHover(1, 2, 3);

class CHyperLinkTest : public ServicesWindowTest {
protected:
  TestLink *MakeLink(const wxString &text, const std::wstring &target, const wxRect &rect,
                     long style = 0, bool fit = true) {
    auto *link = new TestLink;
    link->SetFitToText(fit);
    if (!target.empty())
      link->SetLinkTarget(target);
    link->ApplyLinkColours(kLink, kVisited, kHover);
    link->Create(m_frame, 1016, text, rect.GetPosition(), rect.GetSize(), style);
    return link;
  }
  static wxSize TextSize(CHyperLink *link) { return link->GetTextExtent(link->GetLabel()); }
};

} // namespace

TEST_F(CHyperLinkTest, TargetAndTextFillEachOther) {
  TestLink *fromText = MakeLink("http://a.example/x", L"", wxRect(10, 10, 300, 20));
  EXPECT_EQ(L"http://a.example/x", fromText->GetLinkTarget());
  TestLink *fromTarget = MakeLink("", L"http://b.example/y", wxRect(10, 40, 300, 20));
  EXPECT_EQ("http://b.example/y", fromTarget->GetLabel());
  ASSERT_NE(nullptr, fromTarget->GetToolTip());
  EXPECT_EQ("http://b.example/y", fromTarget->GetToolTip()->GetTip());
  EXPECT_TRUE(fromTarget->GetFont().GetUnderlined());
  fromTarget->SetLinkTarget(L"http://c.example/");
  EXPECT_EQ("http://c.example/", fromTarget->GetToolTip()->GetTip());
}

TEST_F(CHyperLinkTest, ColourFollowsHoverAndVisitedStates) {
  TestLink *link = MakeLink("home", L"http://a.example/", wxRect(10, 10, 200, 20));
  EXPECT_EQ(kLink, link->GetDrawColour());

  SendMouse(link, wxEVT_MOTION, wxPoint(2, 2));
  EXPECT_TRUE(link->IsMouseOver());
  EXPECT_TRUE(link->HasCapture());
  EXPECT_EQ(kHover, link->GetDrawColour());
  SendMouse(link, wxEVT_MOTION, wxPoint(3, 3)); // still inside: nothing changes
  EXPECT_EQ(kHover, link->GetDrawColour());

  SendMouse(link, wxEVT_LEFT_UP, wxPoint(3, 3));
  EXPECT_EQ(1, link->opened);
  EXPECT_TRUE(link->IsVisited());
  EXPECT_EQ(kHover, link->GetDrawColour()); // the mouse is still over it

  SendMouse(link, wxEVT_MOTION, wxPoint(-5, 500));
  EXPECT_FALSE(link->IsMouseOver());
  EXPECT_FALSE(link->HasCapture());
  EXPECT_EQ(kVisited, link->GetDrawColour());
}

TEST_F(CHyperLinkTest, FailedOpeningAfterASuccessReturnsToTheLinkColour) {
  TestLink *link = MakeLink("home", L"http://a.example/", wxRect(10, 10, 200, 20));
  link->FollowLink();
  EXPECT_EQ(kVisited, link->GetDrawColour());
  link->nextResult = 26;
  SendMouse(link, wxEVT_MOTION, wxPoint(2, 2));
  SendMouse(link, wxEVT_LEFT_UP, wxPoint(2, 2));
  EXPECT_FALSE(link->IsVisited());
  ASSERT_EQ(std::vector<int>{26}, link->failures);
  // The error box takes the mouse, so the link lets go of it first.
  EXPECT_FALSE(link->HasCapture());
  EXPECT_EQ(kLink, link->GetDrawColour());
}

TEST_F(CHyperLinkTest, ReleaseOutsideTheLinkIsNoClick) {
  TestLink *link = MakeLink("home", L"http://a.example/", wxRect(10, 10, 200, 20));
  SendMouse(link, wxEVT_LEFT_UP, wxPoint(-1, -1));
  EXPECT_EQ(0, link->opened);
}

TEST_F(CHyperLinkTest, FitToTextFollowsTheAlignment) {
  const wxRect box(100, 100, 300, 60);
  TestLink *left = MakeLink("some link", L"", box);
  const wxSize text = TextSize(left);
  EXPECT_EQ(wxRect(100, 100, text.x, text.y), left->GetRect());

  TestLink *right = MakeLink("some link", L"", box, wxALIGN_RIGHT);
  EXPECT_EQ(wxRect(400 - text.x, 100, text.x, text.y), right->GetRect());

  TestLink *centred =
      MakeLink("some link", L"", box, wxALIGN_CENTRE_HORIZONTAL | kLinkCentreVertical);
  EXPECT_EQ(wxRect(100 + (300 - text.x) / 2, 100 + (60 - text.y) / 2, text.x, text.y),
            centred->GetRect());

  TestLink *kept = MakeLink("some link", L"", box, 0, false);
  EXPECT_EQ(box, kept->GetRect());
}

TEST_F(CHyperLinkTest, ShowsAHandCursor) {
  TestLink *link = MakeLink("home", L"http://a.example/", wxRect(10, 10, 200, 20));
  EXPECT_TRUE(link->GetCursor().IsOk());
}
