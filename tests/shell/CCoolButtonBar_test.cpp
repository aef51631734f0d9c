#include "CCoolButtonBar.h"
#include "CoolBarTables.h"
#include "LanguageChanged.h"
#include "ResourceBitmap.h"
#include "ShellWindowFixture.h"

namespace {

class ButtonBarTest : public ShellWindowTest {
protected:
  void SetUp() override {
    ShellWindowTest::SetUp();
    m_bar = new CCoolButtonBar(m_frame, wxID_ANY, wxPoint(0, 0), wxSize(91, 23));
    ASSERT_TRUE(m_bar->SetButtons(kTitleBarBitmap, kTitleBarStates, 3, kTitleBarButtons));
    m_bar->SetNotify(m_frame, WM_BAR_COMMAND);
  }
  wxBitmap Draw() {
    wxBitmap bitmap(m_bar->GetClientSize());
    wxMemoryDC dc(bitmap);
    m_bar->DrawBar(dc);
    dc.SelectObject(wxNullBitmap);
    return bitmap;
  }
  void Click(const wxPoint &press, const wxPoint &release) {
    SendMouse(m_bar, wxEVT_LEFT_DOWN, press);
    SendMouse(m_bar, wxEVT_LEFT_UP, release);
    YieldToWindows();
  }
  CCoolButtonBar *m_bar = nullptr;
};

TEST_F(ButtonBarTest, TheStripSizeIsTheNormalPictures) {
  EXPECT_EQ(m_bar->GetStripSize(), wxSize(91, 23));
  EXPECT_EQ(m_bar->GetButtonCount(), 3);
  EXPECT_EQ(m_bar->GetHoverIndex(), -1);
  EXPECT_EQ(m_bar->GetPressedIndex(), -1);
}

TEST_F(ButtonBarTest, RefusesMoreThanAHundredButtons) {
  std::vector<CoolBarButton> many(101, CoolBarButton{1, 1, 0, 0, 1, 1, 0});
  EXPECT_FALSE(m_bar->SetButtons(kTitleBarBitmap, kTitleBarStates, 101, many.data()));
  EXPECT_EQ(m_bar->GetButtonCount(), 3);
}

TEST_F(ButtonBarTest, HitTestingUsesTheButtonRectanglesWithoutRightAndBottomEdges) {
  struct Case {
    wxPoint point;
    int hover;
  } cases[] = {
      {{0, 0}, 0},  {{26, 21}, 0}, {{27, 5}, -1}, // the column between menu and minimise
      {{28, 5}, 1}, {{55, 5}, 1},  {{56, 5}, 2},
      {{89, 5}, 2}, {{90, 5}, -1}, {{10, 22}, -1}, // below the 22-pixel buttons
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << c.point.x << "," << c.point.y);
    SendMouse(m_bar, wxEVT_MOTION, c.point);
    EXPECT_EQ(m_bar->GetHoverIndex(), c.hover);
  }
}

TEST_F(ButtonBarTest, ReleaseOverAnotherButtonPostsItsCommand) {
  Click(wxPoint(5, 5), wxPoint(60, 5));
  EXPECT_EQ(m_commands, std::vector<int>{kCmdClose});
  Click(wxPoint(30, 5), wxPoint(30, 5));
  EXPECT_EQ(m_commands, (std::vector<int>{kCmdClose, kCmdMinimise}));
  EXPECT_EQ(m_extra, (std::vector<long>{0, 0}));
}

TEST_F(ButtonBarTest, DisabledButtonsPostNothingAndShowTheDisabledPicture) {
  m_bar->EnableButton(kCmdMinimise, false, false);
  Click(wxPoint(5, 5), wxPoint(30, 5));
  Click(wxPoint(30, 5), wxPoint(30, 5));
  EXPECT_TRUE(m_commands.empty());
  SendMouse(m_bar, wxEVT_MOTION, wxPoint(30, 5));
  EXPECT_EQ(m_bar->GetHoverIndex(), -1);
  const wxBitmap strip = LoadBitmapResource(kTitleBarBitmap);
  const wxBitmap drawn = Draw();
  EXPECT_EQ(PixelAt(drawn, 41, 15), PixelAt(strip, 41, 78 + 15));
  EXPECT_EQ(PixelAt(drawn, 13, 7), PixelAt(strip, 13, 7));
}

TEST_F(ButtonBarTest, HoverAndPressShowThoseStatesInTheButtonOnly) {
  const wxBitmap strip = LoadBitmapResource(kTitleBarBitmap);
  SendMouse(m_bar, wxEVT_MOTION, wxPoint(70, 10));
  wxBitmap drawn = Draw();
  EXPECT_EQ(PixelAt(drawn, 60, 3), PixelAt(strip, 60, 26 + 3));
  EXPECT_EQ(PixelAt(drawn, 5, 3), PixelAt(strip, 5, 3));
  SendMouse(m_bar, wxEVT_LEFT_DOWN, wxPoint(70, 10));
  drawn = Draw();
  EXPECT_EQ(PixelAt(drawn, 60, 3), PixelAt(strip, 60, 52 + 3));
  // The hover and pressed pictures differ where the close button is.
  EXPECT_NE(PixelAt(strip, 60, 26 + 3), PixelAt(strip, 60, 52 + 3));
  SendMouse(m_bar, wxEVT_LEFT_UP, wxPoint(200, 200));
  EXPECT_EQ(m_bar->GetHoverIndex(), -1);
  EXPECT_EQ(PixelAt(Draw(), 60, 3), PixelAt(strip, 60, 3));
}

TEST_F(ButtonBarTest, ToolTipsAreRenewedOnALanguageChange) {
  const CoolBarButton buttons[] = {{1, 101, 0, 0, 27, 22, 141}, {1, 102, 28, 0, 28, 22, 0}};
  m_bar->SetButtons(kTitleBarBitmap, kTitleBarStates, 2, buttons);
  ASSERT_EQ(m_bar->GetToolTipTools().size(), 2u);
  EXPECT_EQ(m_bar->GetToolTipTools()[0].id, 201);
  EXPECT_EQ(m_bar->GetToolTipTools()[1].id, 202);
  EXPECT_EQ(m_bar->GetToolTipTextAt(wxPoint(3, 3)), "Up");
  EXPECT_EQ(m_bar->GetToolTipTextAt(wxPoint(30, 3)), "");
  TestLanguage language("[STRING]\n141=Hoch\n");
  SendLanguageChanged(m_frame);
  EXPECT_EQ(m_bar->GetToolTipTextAt(wxPoint(3, 3)), "Hoch");
}

} // namespace
