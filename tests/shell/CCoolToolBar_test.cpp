#include "CCoolToolBar.h"
#include "CoolBarTables.h"
#include "LanguageChanged.h"
#include "ResourceBitmap.h"
#include "ShellWindowFixture.h"

#include <cstdlib>

#include <wx/image.h>
#include <wx/uiaction.h>

namespace {

class ToolBarTest : public ShellWindowTest {
protected:
  // The list tool bar with Up, Down and Remove enabled, laid out by one drawing.
  CCoolToolBar *MakeListBar() {
    auto *bar = new CCoolToolBar(m_frame, wxID_ANY, wxPoint(0, 0), wxSize(900, 19));
    EXPECT_TRUE(bar->SetButtonsWithPictures(kListToolBarCount, ListToolBarTable(false)));
    bar->SetFontSize(kListToolBarFontSize);
    bar->SetNotify(m_frame, WM_BAR_COMMAND);
    bar->EnableButton(kCmdMoveUp, true, false);
    bar->EnableButton(kCmdMoveDown, true, false);
    bar->EnableButton(kCmdRemove, true, false);
    Draw(bar);
    return bar;
  }
  static wxBitmap Draw(CCoolToolBar *bar) {
    wxBitmap bitmap(bar->GetClientSize());
    wxMemoryDC dc(bitmap);
    bar->DrawBar(dc);
    dc.SelectObject(wxNullBitmap);
    return bitmap;
  }
  static int IndexOf(CCoolToolBar *bar, int command) {
    for (int i = 0; i < bar->GetButtonCount(); ++i)
      if (bar->GetButtonCommand(i) == command)
        return i;
    return -1;
  }
  // Press on one command's button and release on another's.
  void Click(CCoolToolBar *bar, int pressOn, int releaseOn) {
    SendMouse(bar, wxEVT_LEFT_DOWN, Centre(bar->GetButtonRect(IndexOf(bar, pressOn))));
    SendMouse(bar, wxEVT_LEFT_UP, Centre(bar->GetButtonRect(IndexOf(bar, releaseOn))));
    YieldToWindows();
  }
};

TEST_F(ToolBarTest, TakesTheTableWithCaptionsAndEnabledFlags) {
  CCoolToolBar *bar = MakeListBar();
  ASSERT_EQ(bar->GetButtonCount(), 7);
  EXPECT_EQ(bar->GetButtonCaption(0), "Merge Off");
  EXPECT_EQ(bar->GetButtonCaption(1), "Change Page Range...");
  EXPECT_EQ(bar->GetButtonCaption(6), "Upgrade");
  EXPECT_TRUE(bar->IsButtonEnabled(0));
  EXPECT_FALSE(bar->IsButtonEnabled(1));
  EXPECT_TRUE(bar->IsButtonEnabled(IndexOf(bar, kCmdMoveUp)));
  EXPECT_FALSE(bar->IsButtonEnabled(IndexOf(bar, kCmdClear)));
  EXPECT_TRUE(bar->IsButtonEnabled(6));
  // Out-of-range indexes answer safely.
  EXPECT_FALSE(bar->IsButtonEnabled(7));
  EXPECT_EQ(bar->GetButtonCommand(-1), 0);
  EXPECT_TRUE(bar->GetButtonRect(99).IsEmpty());
}

TEST_F(ToolBarTest, RefusesEmptyAndOverlongTables) {
  CCoolToolBar bar(m_frame, wxID_ANY);
  CoolToolButtonDef many[33] = {};
  EXPECT_FALSE(bar.SetButtonsWithPictures(0, kAddFilesBar));
  EXPECT_FALSE(bar.SetButtonsWithPictures(33, many));
  EXPECT_FALSE(bar.SetButtonsWithPictures(1, nullptr));
  EXPECT_EQ(bar.GetButtonCount(), 0);
  EXPECT_EQ(bar.GetBarWidth(), 0);
}

TEST_F(ToolBarTest, LaysButtonsOutFromLeftToRightWithMeasuredCaptions) {
  CCoolToolBar *bar = MakeListBar();
  int x = 0;
  for (int i = 0; i < bar->GetButtonCount(); ++i) {
    const CoolToolButtonDef &def = ListToolBarTable(false)[i];
    const wxRect r = bar->GetButtonRect(i);
    SCOPED_TRACE(i);
    EXPECT_EQ(r.x, x);
    EXPECT_EQ(r.y, 0);
    EXPECT_EQ(r.height, def.height);
    const int tw = bar->MeasureCaptionWidth(bar->GetButtonCaption(i));
    EXPECT_GT(tw, 1);
    EXPECT_EQ(r.width, def.width + tw);
    x += r.width + def.gap;
  }
  EXPECT_EQ(bar->GetBarWidth(), x);
}

TEST_F(ToolBarTest, BarWidthCountsGapsSpacersAndEmptyEntries) {
  const CoolToolButtonDef table[] = {
      {1, -2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7},           // only its gap
      {1, -1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 12, 0, 3},          // bare spacer: left width
      {1, -1, 144, 0, 0, 0, 0, 0, 19, 0, 19, 20, 19, 0, 0, 18, 1, 2},    // spacer with picture
      {1, 700, 144, 0, 0, 0, 0, 0, 19, 0, 19, 20, 19, 0, 0, 18, 1, 5},   // button without caption
      {1, 701, 144, 0, 0, 0, 0, 0, 19, 0, 19, 20, 19, 141, 0, 18, 1, 0}, // button "Up"
  };
  auto *bar = new CCoolToolBar(m_frame, wxID_ANY, wxPoint(0, 0), wxSize(400, 19));
  ASSERT_TRUE(bar->SetButtonsWithPictures(5, table));
  const int up = bar->MeasureCaptionWidth("Up");
  EXPECT_EQ(bar->GetBarWidth(), 7 + (12 + 3) + (20 + 2) + (20 + 5) + (20 + up));
  Draw(bar);
  // Spacers get no rectangle and so can never be clicked.
  EXPECT_TRUE(bar->GetButtonRect(1).IsEmpty());
  EXPECT_TRUE(bar->GetButtonRect(2).IsEmpty());
  EXPECT_EQ(bar->GetButtonRect(3), wxRect(7 + 12 + 22, 0, 20, 19));
  // The bare spacer's gap is not added while drawing, only in the width.
  EXPECT_EQ(bar->GetButtonRect(4).x, 7 + 12 + 22 + 25);
}

TEST_F(ToolBarTest, FontSizeFallsBackToFourteenAndScales) {
  CCoolToolBar bar(m_frame, wxID_ANY);
  EXPECT_DOUBLE_EQ(bar.GetFontSize(), 14.0);
  EXPECT_EQ(bar.GetFontFace(), "Tahoma");
  bar.SetFontSize(0);
  EXPECT_DOUBLE_EQ(bar.GetFontSize(), 14.0);
  bar.SetFontSize(35);
  bar.SetFontScale(0.5);
  EXPECT_DOUBLE_EQ(bar.GetFontSize(), 17.5);
  bar.SetFontFace("Liberation Serif");
  EXPECT_EQ(bar.GetFontFace(), "Liberation Serif");
}

TEST_F(ToolBarTest, LargerCaptionFontMakesTheBarWider) {
  CCoolToolBar bar(m_frame, wxID_ANY);
  bar.SetButtonsWithPictures(1, kBuildBar);
  const int small = bar.GetBarWidth();
  bar.SetFontSize(kBuildBarFontSize);
  EXPECT_GT(bar.GetBarWidth(), small);
  EXPECT_EQ(bar.GetBarHeight(), 66);
}

TEST_F(ToolBarTest, ClicksBeforeTheFirstPaintHitNothing) {
  auto *bar = new CCoolToolBar(m_frame, wxID_ANY, wxPoint(0, 0), wxSize(300, 34));
  bar->SetButtonsWithPictures(1, kAddFilesBar);
  bar->SetNotify(m_frame, WM_BAR_COMMAND);
  SendMouse(bar, wxEVT_LEFT_DOWN, wxPoint(10, 10));
  SendMouse(bar, wxEVT_LEFT_UP, wxPoint(10, 10));
  YieldToWindows();
  EXPECT_TRUE(m_commands.empty());
}

TEST_F(ToolBarTest, ReleaseOverAnotherEnabledButtonPostsThatButtonsCommand) {
  CCoolToolBar *bar = MakeListBar();
  Click(bar, kCmdMoveUp, kCmdMoveDown);
  ASSERT_EQ(m_commands, std::vector<int>{kCmdMoveDown});
  EXPECT_EQ(m_extra[0], 0);
  EXPECT_EQ(bar->GetPressedIndex(), -1);
  EXPECT_EQ(bar->GetTextPushedIndex(), -1);
  EXPECT_FALSE(bar->IsMousePressed());
}

TEST_F(ToolBarTest, TheNotificationIsPostedNotSent) {
  CCoolToolBar *bar = MakeListBar();
  SendMouse(bar, wxEVT_LEFT_DOWN, Centre(bar->GetButtonRect(0)));
  SendMouse(bar, wxEVT_LEFT_UP, Centre(bar->GetButtonRect(0)));
  EXPECT_TRUE(m_commands.empty());
  YieldToWindows();
  EXPECT_EQ(m_commands, std::vector<int>{kCmdMergeSwitch});
}

TEST_F(ToolBarTest, DisabledButtonsPostNothing) {
  CCoolToolBar *bar = MakeListBar();
  Click(bar, kCmdMoveUp, kCmdClear);        // released over a disabled button
  Click(bar, kCmdPageRange, kCmdPageRange); // pressed and released on a disabled one
  bar->DisableButton(kCmdMoveUp, true);
  Click(bar, kCmdMoveUp, kCmdMoveUp);
  EXPECT_TRUE(m_commands.empty());
}

TEST_F(ToolBarTest, ReleaseOutsideEveryButtonPostsNothingAndClearsHover) {
  CCoolToolBar *bar = MakeListBar();
  SendMouse(bar, wxEVT_MOTION, Centre(bar->GetButtonRect(0)));
  EXPECT_EQ(bar->GetHoverIndex(), 0);
  SendMouse(bar, wxEVT_LEFT_DOWN, Centre(bar->GetButtonRect(0)));
  EXPECT_EQ(bar->GetPressedIndex(), 0);
  EXPECT_EQ(bar->GetTextPushedIndex(), 0);
  SendMouse(bar, wxEVT_LEFT_UP, wxPoint(bar->GetBarWidth() + 5, 5));
  YieldToWindows();
  EXPECT_TRUE(m_commands.empty());
  EXPECT_EQ(bar->GetHoverIndex(), -1);
  EXPECT_EQ(bar->GetPressedIndex(), -1);
}

TEST_F(ToolBarTest, HoverFollowsEnabledButtonsOnlyAndStopsDuringAPress) {
  CCoolToolBar *bar = MakeListBar();
  const int up = IndexOf(bar, kCmdMoveUp);
  SendMouse(bar, wxEVT_MOTION, Centre(bar->GetButtonRect(up)));
  EXPECT_EQ(bar->GetHoverIndex(), up);
  SendMouse(bar, wxEVT_MOTION, Centre(bar->GetButtonRect(IndexOf(bar, kCmdClear))));
  EXPECT_EQ(bar->GetHoverIndex(), -1);
  SendMouse(bar, wxEVT_LEFT_DOWN, Centre(bar->GetButtonRect(up)));
  SendMouse(bar, wxEVT_MOTION, Centre(bar->GetButtonRect(0)));
  EXPECT_EQ(bar->GetHoverIndex(), -1);
  SendMouse(bar, wxEVT_LEFT_UP, Centre(bar->GetButtonRect(up)));
  SendMouse(bar, wxEVT_MOTION, Centre(bar->GetButtonRect(0)));
  EXPECT_EQ(bar->GetHoverIndex(), 0);
  // The right edge belongs to the next button (here the disabled page range), the bottom edge
  // to none.
  const wxRect r = bar->GetButtonRect(0);
  SendMouse(bar, wxEVT_MOTION, wxPoint(r.GetRight(), 5));
  EXPECT_EQ(bar->GetHoverIndex(), 0);
  SendMouse(bar, wxEVT_MOTION, wxPoint(r.GetRight() + 1, 5));
  EXPECT_EQ(bar->GetHoverIndex(), -1);
  SendMouse(bar, wxEVT_MOTION, wxPoint(5, r.GetBottom() + 1));
  EXPECT_EQ(bar->GetHoverIndex(), -1);
}

TEST_F(ToolBarTest, PressOnADisabledButtonPressesNothing) {
  CCoolToolBar *bar = MakeListBar();
  SendMouse(bar, wxEVT_LEFT_DOWN, Centre(bar->GetButtonRect(IndexOf(bar, kCmdClear))));
  EXPECT_EQ(bar->GetPressedIndex(), -1);
  EXPECT_TRUE(bar->IsMousePressed());
  SendMouse(bar, wxEVT_LEFT_UP, wxPoint(-5, -5));
  EXPECT_FALSE(bar->IsMousePressed());
}

TEST_F(ToolBarTest, WithoutANotifyTargetNothingIsPosted) {
  CCoolToolBar *bar = MakeListBar();
  bar->SetNotify(nullptr, WM_BAR_COMMAND);
  Click(bar, 506, 506);
  EXPECT_TRUE(m_commands.empty());
}

TEST_F(ToolBarTest, ToolTipsHaveCommandPlusHundredAndFollowTheLanguage) {
  CCoolToolBar *bar = MakeListBar();
  const auto &tools = bar->GetToolTipTools();
  ASSERT_EQ(tools.size(), 7u);
  EXPECT_EQ(tools[0].id, 606);
  EXPECT_EQ(tools[0].text, "Click to Turn On");
  EXPECT_EQ(tools[0].rect, bar->GetButtonRect(0));
  EXPECT_EQ(tools[6].id, 502);
  EXPECT_EQ(bar->GetToolTipTextAt(Centre(bar->GetButtonRect(2))), "Move one row upwards");

  TestLanguage language("[STRING]\n217=Einschalten\n176=Nach oben\n216=Aus\n");
  SendLanguageChanged(m_frame);
  EXPECT_EQ(bar->GetToolTipTools()[0].text, "Einschalten");
  EXPECT_EQ(bar->GetToolTipTextAt(Centre(bar->GetButtonRect(2))), "Nach oben");
  // Captions follow once the owner gives the table again.
  EXPECT_EQ(bar->GetButtonCaption(0), "Merge Off");
  bar->SetButtons(ListToolBarTable(false));
  EXPECT_EQ(bar->GetButtonCaption(0), "Aus");
  EXPECT_TRUE(bar->GetButtonRect(0).IsEmpty());
}

TEST_F(ToolBarTest, RefreshHoverFollowsTheRealMouse) {
  CCoolToolBar *bar = MakeListBar();
  const int up = IndexOf(bar, kCmdMoveUp);
  wxUIActionSimulator mouse;
  mouse.MouseMove(bar->ClientToScreen(Centre(bar->GetButtonRect(up))));
  YieldToWindows();
  bar->RefreshHover();
  EXPECT_EQ(bar->GetHoverIndex(), up);
  mouse.MouseMove(bar->ClientToScreen(wxPoint(bar->GetBarWidth() + 40, 60)));
  YieldToWindows();
  bar->RefreshHover();
  EXPECT_EQ(bar->GetHoverIndex(), -1);
}

// Counts pixels of a bitmap area close to colour.
int CountColour(const wxBitmap &bitmap, const wxRect &area, const wxColour &colour) {
  wxImage image = bitmap.ConvertToImage();
  int count = 0;
  for (int y = area.y; y < area.GetBottom(); ++y)
    for (int x = area.x; x < area.GetRight(); ++x)
      if (std::abs(image.GetRed(x, y) - colour.Red()) < 40 &&
          std::abs(image.GetGreen(x, y) - colour.Green()) < 40 &&
          std::abs(image.GetBlue(x, y) - colour.Blue()) < 40)
        ++count;
  return count;
}

TEST_F(ToolBarTest, OnlyTheHoveredCaptionHasTheGlow) {
  auto *bar = new CCoolToolBar(m_frame, wxID_ANY, wxPoint(0, 0), wxSize(300, 34));
  bar->SetButtonsWithPictures(1, kAddFilesBar);
  // A glow colour that the pictures do not hold, so that it can be counted.
  bar->SetTextColors(wxColour(0, 22, 95), wxColour(27, 0, 83), wxColour(0, 51, 102),
                     wxColour(255, 0, 0));
  Draw(bar);
  const wxRect caption(60, 0, bar->GetButtonRect(0).width - 60, 34);
  EXPECT_EQ(CountColour(Draw(bar), caption, *wxRED), 0);
  SendMouse(bar, wxEVT_MOTION, wxPoint(10, 10));
  ASSERT_EQ(bar->GetHoverIndex(), 0);
  EXPECT_GT(CountColour(Draw(bar), caption, *wxRED), 10);
}

// Leftmost column and top row of the clearly green pixels in area; (-1, -1) for none.
wxPoint FirstGreen(const wxBitmap &bitmap, const wxRect &area) {
  const wxImage image = bitmap.ConvertToImage();
  wxPoint first(-1, -1);
  for (int y = area.y; y < area.GetBottom(); ++y)
    for (int x = area.x; x < area.GetRight(); ++x) {
      const int g = image.GetGreen(x, y);
      if (g - image.GetRed(x, y) > 60 && g - image.GetBlue(x, y) > 60) {
        if (first.y < 0)
          first.y = y;
        if (first.x < 0 || x < first.x)
          first.x = x;
      }
    }
  return first;
}

TEST_F(ToolBarTest, ThePressedButtonsCaptionMovesOnePixelRightAndDown) {
  auto *bar = new CCoolToolBar(m_frame, wxID_ANY, wxPoint(0, 0), wxSize(300, 34));
  bar->SetButtonsWithPictures(1, kAddFilesBar);
  bar->SetTextColors(wxColour(0, 255, 0), wxColour(27, 0, 83), wxColour(0, 255, 0),
                     wxColour(255, 255, 255));
  Draw(bar);
  const wxRect caption(60, 0, bar->GetButtonRect(0).width - 62, 34);
  const wxPoint still = FirstGreen(Draw(bar), caption);
  ASSERT_GE(still.x, 0);
  SendMouse(bar, wxEVT_LEFT_DOWN, wxPoint(10, 10));
  ASSERT_EQ(bar->GetTextPushedIndex(), 0);
  EXPECT_EQ(FirstGreen(Draw(bar), caption), still + wxPoint(1, 1));
  SendMouse(bar, wxEVT_LEFT_UP, wxPoint(-5, -5));
  EXPECT_EQ(FirstGreen(Draw(bar), caption), still);
}

TEST_F(ToolBarTest, DisabledButtonsShowTheirDisabledPicture) {
  auto *bar = new CCoolToolBar(m_frame, wxID_ANY, wxPoint(0, 0), wxSize(300, 34));
  bar->SetButtonsWithPictures(1, kAddFilesBar);
  const wxBitmap sheet = LoadBitmapResource(138);
  EXPECT_EQ(PixelAt(Draw(bar), 30, 17), PixelAt(sheet, 30, 17));
  bar->DisableButton(kCmdAddFiles, false);
  EXPECT_FALSE(bar->IsButtonEnabled(0));
  EXPECT_EQ(PixelAt(Draw(bar), 30, 17), PixelAt(sheet, 30, 111 + 17));
}

} // namespace

namespace {

// A key as the bar sees it first while it has the focus.
void Key(wxWindow *bar, int key, bool shift = false) {
  wxKeyEvent event(wxEVT_CHAR_HOOK);
  event.m_keyCode = key;
  event.m_shiftDown = shift;
  event.SetEventObject(bar);
  bar->GetEventHandler()->ProcessEvent(event);
}

TEST_F(ToolBarTest, TheKeyboardGoesFromEnabledButtonToButtonAndPressesThem) {
  CCoolToolBar *bar = MakeListBar(); // enabled: switch, up, down, remove, upgrade
  EXPECT_TRUE(bar->AcceptsFocusFromKeyboard());
  bar->SetFocusIndex(0);
  Key(bar, WXK_TAB);
  EXPECT_EQ(bar->GetFocusIndex(), IndexOf(bar, kCmdMoveUp)); // page range is disabled: skipped
  Key(bar, WXK_RIGHT);
  EXPECT_EQ(bar->GetFocusIndex(), IndexOf(bar, kCmdMoveDown));
  Key(bar, WXK_TAB, true);
  EXPECT_EQ(bar->GetFocusIndex(), IndexOf(bar, kCmdMoveUp));
  Key(bar, WXK_SPACE);
  bar->SetFocusIndex(IndexOf(bar, kCmdRemove));
  Key(bar, WXK_RETURN);
  Key(bar, WXK_NUMPAD_ENTER);
  YieldToWindows();
  EXPECT_EQ(m_commands, (std::vector<int>{kCmdMoveUp, kCmdRemove, kCmdRemove}));
  // A button disabled under the keyboard presses nothing.
  bar->DisableButton(kCmdRemove, false);
  Key(bar, WXK_SPACE);
  YieldToWindows();
  EXPECT_EQ(m_commands.size(), 3u);
  // A bar without an enabled button is no Tab stop.
  for (int i = 0; i < bar->GetButtonCount(); ++i)
    bar->DisableButton(bar->GetButtonCommand(i), false);
  EXPECT_FALSE(bar->AcceptsFocusFromKeyboard());
}

TEST_F(ToolBarTest, DisabledButtonsLookDisabledAndHaveNoTip) {
  CCoolToolBar *bar = MakeListBar();
  const int up = IndexOf(bar, kCmdMoveUp);
  const wxRect rect = bar->GetButtonRect(up);
  // The darkest pixel of Up's icon.
  const wxBitmap before = Draw(bar);
  wxPoint icon = rect.GetPosition();
  for (int x = rect.x; x < rect.x + 18; ++x)
    for (int y = 0; y < rect.height; ++y)
      if (PixelAt(before, x, y).GetLuminance() < PixelAt(before, icon.x, icon.y).GetLuminance())
        icon = wxPoint(x, y);
  const wxString upTip = bar->GetToolTipTextAt(icon);
  EXPECT_EQ(upTip, "Move one row upwards");
  bar->DisableButton(kCmdMoveUp, false);
  // Up's table gives its normal picture for the disabled state: it is drawn greyed instead.
  const wxColour disabled = PixelAt(Draw(bar), icon.x, icon.y);
  EXPECT_GT(disabled.GetLuminance(), PixelAt(before, icon.x, icon.y).GetLuminance() + 0.2);
  EXPECT_NEAR(disabled.Red(), disabled.Blue(), 12); // grey, where it was coloured
  EXPECT_EQ(bar->GetToolTipTextAt(icon), "");
  bar->EnableButton(kCmdMoveUp, true, false);
  EXPECT_EQ(bar->GetToolTipTextAt(icon), upTip);
}

TEST_F(ToolBarTest, FitToWidthShrinksThenShortensAndUndoes) {
  CCoolToolBar *bar = MakeListBar();
  const int whole = bar->GetBarWidth();
  EXPECT_TRUE(bar->FitToWidth(whole));
  EXPECT_EQ(bar->GetFontScale(), 1.0);
  EXPECT_TRUE(bar->FitToWidth(whole - 40));
  EXPECT_LT(bar->GetFontScale(), 1.0);
  EXPECT_LE(bar->GetBarWidth(), whole - 40);
  EXPECT_EQ(bar->GetShownCaption(1), bar->GetButtonCaption(1));
  EXPECT_TRUE(bar->FitToWidth(whole * 2 / 3));
  EXPECT_LE(bar->GetBarWidth(), whole * 2 / 3);
  EXPECT_TRUE(bar->GetShownCaption(1).EndsWith(wxString::FromUTF8("\xe2\x80\xa6")));
  EXPECT_FALSE(bar->FitToWidth(100));      // the pictures alone are wider
  EXPECT_TRUE(bar->FitToWidth(2 * whole)); // room again: whole captions at full size
  EXPECT_EQ(bar->GetBarWidth(), whole);
  EXPECT_EQ(bar->GetShownCaption(1), bar->GetButtonCaption(1));
}

} // namespace
