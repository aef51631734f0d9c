#include "CLvCover.h"
#include "LanguageChanged.h"
#include "ResourceBitmap.h"
#include "ShellWindowFixture.h"

#include <wx/image.h>

namespace {

class CoverTest : public ShellWindowTest {
protected:
  CLvCover *MakeCover() {
    auto *cover = new CLvCover;
    EXPECT_TRUE(cover->Create(m_frame, 165, wxPoint(0, 0)));
    cover->SetNotify(m_frame, WM_BAR_COMMAND);
    return cover;
  }
  static wxBitmap Draw(CLvCover *cover, const wxSize &size) {
    wxBitmap bitmap(size);
    wxMemoryDC dc(bitmap);
    cover->DrawCover(dc, size);
    dc.SelectObject(wxNullBitmap);
    return bitmap;
  }
};

TEST_F(CoverTest, HotRectangleExcludesItsRightAndBottomEdges) {
  struct Case {
    wxPoint point;
    bool inside;
  } cases[] = {
      {{81, 122}, true},   {{202, 252}, true},  {{150, 200}, true},
      {{203, 253}, false}, {{203, 200}, false}, {{150, 253}, false},
      {{80, 122}, false},  {{81, 121}, false},  {{0, 0}, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << c.point.x << "," << c.point.y);
    EXPECT_EQ(CLvCover::IsInHotRect(c.point), c.inside);
  }
}

TEST_F(CoverTest, AClickInsideSendsAddFilesAtOnce) {
  CLvCover *cover = MakeCover();
  SendMouse(cover, wxEVT_LEFT_DOWN, wxPoint(81, 122));
  // Sent, not posted: it has arrived before anything else runs.
  EXPECT_EQ(m_commands, std::vector<int>{201});
  EXPECT_EQ(m_extra, std::vector<long>{0});
  SendMouse(cover, wxEVT_LEFT_DOWN, wxPoint(203, 253));
  SendMouse(cover, wxEVT_LEFT_DOWN, wxPoint(500, 100));
  YieldToWindows();
  EXPECT_EQ(m_commands.size(), 1u);
}

TEST_F(CoverTest, WithoutANotifyTargetAClickDoesNothing) {
  auto *cover = new CLvCover;
  cover->Create(m_frame);
  SendMouse(cover, wxEVT_LEFT_DOWN, wxPoint(100, 150));
  YieldToWindows();
  EXPECT_TRUE(m_commands.empty());
}

TEST_F(CoverTest, TheBitmapCoversTheWholeClientWithOrWithoutThePng) {
  CLvCover *cover = MakeCover();
  EXPECT_EQ(cover->GetSize(), wxSize(877, 280));
  const wxBitmap sheet = LoadBitmapResource(CLvCover::kCoverBitmap);
  ASSERT_TRUE(sheet.IsOk());
  const wxImage expected = sheet.ConvertToImage().GetSubImage(wxRect(0, 0, 877, 280));
  const wxImage withPng = Draw(cover, wxSize(877, 280)).ConvertToImage();
  EXPECT_FALSE(cover->LoadCoverImage(L"/nonexistent/lv_cover_merger.png"));
  const wxImage withoutPng = Draw(cover, wxSize(877, 280)).ConvertToImage();
  for (const wxPoint &p : {wxPoint(0, 0), wxPoint(150, 180), wxPoint(450, 60), wxPoint(876, 279)}) {
    SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
    EXPECT_EQ(withPng.GetRed(p.x, p.y), expected.GetRed(p.x, p.y));
    EXPECT_EQ(withPng.GetBlue(p.x, p.y), expected.GetBlue(p.x, p.y));
    EXPECT_EQ(withoutPng.GetRed(p.x, p.y), withPng.GetRed(p.x, p.y));
    EXPECT_EQ(withoutPng.GetGreen(p.x, p.y), withPng.GetGreen(p.x, p.y));
  }
}

TEST_F(CoverTest, BeyondTheBitmapTheGreyFillAndBorderShow) {
  CLvCover *cover = MakeCover();
  cover->LoadCoverImage(L"/nonexistent");
  const wxBitmap drawn = Draw(cover, wxSize(900, 430));
  EXPECT_EQ(PixelAt(drawn, 890, 200), wxColour(233, 233, 233));
  EXPECT_EQ(PixelAt(drawn, 899, 200), wxColour(184, 184, 184));
  EXPECT_EQ(PixelAt(drawn, 450, 429), wxColour(184, 184, 184));
}

// The hints show where there is no cover bitmap; they are read at paint time.
TEST_F(CoverTest, HintsFollowTheLanguageAtEveryPaint) {
  TempDir empty;
  setenv("VANTOREL_RESOURCE_FOLDER", empty.path().c_str(), 1);
  auto *cover = new CLvCover;
  unsetenv("VANTOREL_RESOURCE_FOLDER");
  cover->Create(m_frame);
  cover->LoadCoverImage(L"/nonexistent");
  const wxSize size(877, 420);
  const wxImage english = Draw(cover, size).ConvertToImage();
  const wxImage sameAgain = Draw(cover, size).ConvertToImage();
  TestLanguage language("[STRING]\n172=Ausgabe einstellen und dann weiter\n");
  const wxImage german = Draw(cover, size).ConvertToImage();
  auto differs = [](const wxImage &a, const wxImage &b, const wxRect &box) {
    for (int y = box.y; y < box.GetBottom(); ++y)
      for (int x = box.x; x < box.GetRight(); ++x)
        if (a.GetRed(x, y) != b.GetRed(x, y))
          return true;
    return false;
  };
  const wxRect secondHint(335, 265, 240, 150);
  EXPECT_FALSE(differs(english, sameAgain, secondHint));
  EXPECT_TRUE(differs(english, german, secondHint));
  EXPECT_FALSE(differs(english, german, wxRect(25, 265, 240, 150)));
  // Text was drawn at all: the hint box is not plain grey.
  bool inked = false;
  for (int x = 25; x < 265 && !inked; ++x)
    inked = english.GetRed(x, 272) < 200;
  EXPECT_TRUE(inked);
}

} // namespace
