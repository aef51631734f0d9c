#include <vector>

#include <wx/display.h>
#include <wx/panel.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include "NoGrabDropWnd.h"
#include "QuietFocus.h"
#include "controls/CAdvComboBox.h"
#include "controls/CAdvComboEdit.h"
#include "controls/CDropListBox.h"
#include "controls/CDropScrollBar.h"
#include "controls/CDropWnd.h"
#include "support/FrameTest.h"

namespace {
// A box that counts its end hooks.
class HookedCombo : public CAdvComboBox {
public:
  int completes = 0, escapes = 0;

protected:
  void OnComboComplete() override { ++completes; }
  CDropWnd *NewDropWnd(const ChoiceList &list, int flags) override {
    return new NoGrabDropWnd(this, list, flags);
  }
  void OnEscapeKey() override { ++escapes; }
};
} // namespace

class AdvCombo : public FrameTest {
protected:
  void SetUp() override {
    FrameTest::SetUp();
    // A frame's only child fills it: the boxes go on a panel.
    m_panel = new wxPanel(m_frame);
    m_frame->Bind(wxEVT_ADVCOMBO_NOTIFY,
                  [this](wxCommandEvent &e) { codes.push_back(e.GetInt()); });
  }
  void TearDown() override {
    if (box)
      box->CloseDropDown();
    FrameTest::TearDown();
  }
  HookedCombo *Make(int style, std::vector<const char *> choices, wxPoint pos = wxPoint(10, 10),
                    int id = wxID_ANY) {
    box = new HookedCombo;
    EXPECT_TRUE(box->Create(m_panel, id, wxRect(pos, wxSize(160, 22)), style));
    for (const char *c : choices)
      box->AddString(c);
    YieldToWindows();
    return box;
  }
  QuietFocus m_quiet;
  wxPanel *m_panel = nullptr;
  HookedCombo *box = nullptr;
  std::vector<int> codes;
};

TEST_F(AdvCombo, AnswersTheComboBoxMessages) {
  Make(CBS_DROPDOWNLIST, {"one", "two", "two", "three"});
  EXPECT_EQ(box->GetCount(), 4u);
  EXPECT_EQ(box->AddString("four"), 4);
  EXPECT_EQ(box->GetCurSel(), -1);
  EXPECT_EQ(box->SetCurSel(2), 2);
  // Answered by text: both "two" report the first one.
  EXPECT_EQ(box->GetCurSel(), 1);
  EXPECT_EQ(box->GetCurText(), "two");
  EXPECT_EQ(box->SetCurSel(9), -1);
  EXPECT_EQ(box->GetCurSel(), 1);
  EXPECT_EQ(box->SetCurSel(-1), -1);
  EXPECT_EQ(box->GetCurText(), "");

  EXPECT_EQ(box->SelectString(-1, "three"), 3);
  EXPECT_EQ(box->SelectString(2, "two"), 2);
  EXPECT_EQ(box->SelectString(3, "two"), -1);
  EXPECT_EQ(box->SelectString(5, "one"), -1);  // beyond the count
  EXPECT_EQ(box->SelectString(-1, "TWO"), -1); // case-sensitive

  wxString text;
  EXPECT_EQ(box->GetLBText(3, text), 6);
  EXPECT_EQ(text, "three");
  EXPECT_EQ(box->GetLBTextLen(0), 4);
  EXPECT_EQ(box->GetLBText(7, text), -1);
  EXPECT_EQ(box->GetLBTextLen(-1), -1);
  EXPECT_EQ(box->GetTopIndex(), -1); // closed
  EXPECT_EQ(box->SetTopIndex(1), -1);

  EXPECT_EQ(box->ResetContent(), 0);
  EXPECT_EQ(box->GetCount(), 0u);
  EXPECT_EQ(box->GetCurSel(), -1);
  EXPECT_EQ(box->GetCurText(), "");
}

TEST_F(AdvCombo, ChoicesComeFromTheStringWithTheControlsId) {
  Make(CBS_DROPDOWNLIST, {}, wxPoint(10, 10), 147); // four lines in the string table
  ASSERT_EQ(box->GetCount(), 4u);
  EXPECT_EQ(box->GetString(0), "A new version is available.");
  EXPECT_EQ(box->GetString(2), "Build:%d");
  Make(CBS_DROPDOWNLIST, {}, wxPoint(10, 40), 4999); // no such string: nothing
  EXPECT_EQ(box->GetCount(), 0u);
}

TEST_F(AdvCombo, KeysWhileClosedSkipDisabledChoicesAndNotify) {
  Make(CBS_DROPDOWNLIST, {"a", "b", "c", "d"});
  box->SetItemDisabled(1, true);
  box->SetItemDisabled(2, true);
  box->SetCurSel(0);
  codes.clear();
  box->HandleKey(WXK_DOWN, false);
  EXPECT_EQ(box->GetCurSel(), 3);
  EXPECT_EQ(codes, (std::vector<int>{CBN_SELENDOK, CBN_SELCHANGE}));
  box->HandleKey(WXK_DOWN, false); // the last: stays, no notification
  EXPECT_EQ(box->GetCurSel(), 3);
  EXPECT_EQ(codes.size(), 2u);
  box->HandleKey(WXK_UP, false);
  EXPECT_EQ(box->GetCurSel(), 0);
}

TEST_F(AdvCombo, AllDisabledKeepsTheSelection) {
  Make(CBS_DROPDOWNLIST, {"a", "b", "c"});
  box->SetCurSel(1);
  for (int i = 0; i < 3; ++i)
    box->SetItemDisabled(i, true);
  box->HandleKey(WXK_DOWN, false);
  box->HandleKey(WXK_UP, false);
  box->HandleKey(WXK_PAGEDOWN, false);
  EXPECT_EQ(box->GetCurSel(), 1);
}

TEST_F(AdvCombo, PageKeysMoveTenWithinTheList) {
  std::vector<const char *> many = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"};
  Make(CBS_DROPDOWNLIST, many);
  box->SetCurSel(0);
  box->HandleKey(WXK_PAGEDOWN, false);
  EXPECT_EQ(box->GetCurSel(), 10);
  box->HandleKey(WXK_PAGEDOWN, false);
  EXPECT_EQ(box->GetCurSel(), 11);
  box->HandleKey(WXK_PAGEUP, false);
  EXPECT_EQ(box->GetCurSel(), 1);
  box->HandleKey(WXK_PAGEUP, false);
  EXPECT_EQ(box->GetCurSel(), 0);
}

TEST_F(AdvCombo, EnterAndEscapeRunTheHooksWhileClosed) {
  Make(CBS_DROPDOWNLIST, {"a"});
  box->HandleKey(WXK_RETURN, false);
  box->HandleKey(WXK_ESCAPE, false);
  box->CloseDropDown(); // nothing open: completes
  EXPECT_EQ(box->completes, 2);
  EXPECT_EQ(box->escapes, 1);
}

TEST_F(AdvCombo, WheelStepsOfOneHundredTwenty) {
  Make(CBS_DROPDOWNLIST, {"a", "b", "c"});
  box->SetCurSel(1);
  box->HandleWheel(60);
  EXPECT_EQ(box->GetCurSel(), 1); // not yet a step
  box->HandleWheel(60);
  EXPECT_EQ(box->GetCurSel(), 0); // away from the user: previous
  box->HandleWheel(-120);
  box->HandleWheel(-120);
  EXPECT_EQ(box->GetCurSel(), 2);
}

TEST_F(AdvCombo, OpeningSelectsTheCurrentChoiceOrChoiceZero) {
  Make(CBS_DROPDOWNLIST, {"a", "b", "c"});
  box->SetCurSel(2);
  codes.clear();
  box->ToggleDropDown();
  ASSERT_TRUE(box->IsDroppedDown());
  EXPECT_EQ(codes, (std::vector<int>{CBN_DROPDOWN}));
  EXPECT_EQ(box->GetDropWnd()->GetListBox()->GetCurSel(), 2);
  EXPECT_EQ(box->GetTopIndex(), 0);
  box->ToggleDropDown();
  EXPECT_FALSE(box->IsDroppedDown());
  EXPECT_EQ(codes, (std::vector<int>{CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}));

  box->SetCurSel(-1);
  box->ToggleDropDown();
  EXPECT_EQ(box->GetDropWnd()->GetListBox()->GetCurSel(), 0);
}

TEST_F(AdvCombo, KeysWhileOpenMoveTheListAndEnterPicksThenCompletes) {
  Make(CBS_DROPDOWNLIST, {"a", "b", "c", "d"});
  box->SetItemDisabled(1, true);
  box->SetCurSel(0);
  box->HandleKey(WXK_F4, false);
  ASSERT_TRUE(box->IsDroppedDown());
  box->HandleKey(WXK_DOWN, false);
  EXPECT_EQ(box->GetDropWnd()->GetListBox()->GetCurSel(), 2);
  EXPECT_EQ(box->GetCurSel(), 0); // the box's own selection waits for the pick
  codes.clear();
  box->HandleKey(WXK_RETURN, false);
  EXPECT_FALSE(box->IsDroppedDown());
  EXPECT_EQ(box->GetCurSel(), 2);
  EXPECT_EQ(codes, (std::vector<int>{CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
  EXPECT_EQ(box->completes, 1);
}

TEST_F(AdvCombo, EscapeWhileOpenOnlyCloses) {
  Make(CBS_DROPDOWNLIST, {"a", "b"});
  box->HandleKey(WXK_DOWN, true); // Alt+Down
  ASSERT_TRUE(box->IsDroppedDown());
  box->HandleKey(WXK_ESCAPE, false);
  EXPECT_FALSE(box->IsDroppedDown());
  EXPECT_EQ(box->escapes, 0);
  EXPECT_EQ(box->completes, 0);
}

TEST_F(AdvCombo, MouseInTheDropDownTracksPicksAndSkipsDisabledRows) {
  Make(CBS_DROPDOWNLIST, {"a", "b", "c"});
  box->SetItemDisabled(1, true);
  box->ToggleDropDown();
  CDropListBox *list = box->GetDropWnd()->GetListBox();
  int h = list->GetItemHeight();
  list->PointerMove(wxPoint(5, 2 * h + 2));
  EXPECT_EQ(list->GetCurSel(), 2);
  list->PointerMove(wxPoint(5, h + 2)); // disabled: the selection stays
  EXPECT_EQ(list->GetCurSel(), 2);
  list->PointerUp(wxPoint(5, h + 2));
  YieldToWindows();
  EXPECT_TRUE(box->IsDroppedDown());
  list->PointerUp(wxPoint(5, 2 * h + 2));
  YieldToWindows();
  EXPECT_FALSE(box->IsDroppedDown());
  EXPECT_EQ(box->GetCurSel(), 2);
  EXPECT_EQ(box->completes, 1); // the posted close after the pick finds nothing open
}

TEST_F(AdvCombo, APressOutsideTheDropDownClosesIt) {
  Make(CBS_DROPDOWNLIST, {"a", "b"});
  box->ToggleDropDown();
  box->GetDropWnd()->PointerDown(wxPoint(-50, -50));
  YieldToWindows();
  EXPECT_FALSE(box->IsDroppedDown());
}

TEST_F(AdvCombo, DropDownSizeFollowsRowsAndTheWidestChoice) {
  Make(CBS_DROPDOWNLIST, {"a", "a rather long choice that is wider than the box itself", "c"});
  box->SetMaxVisibleItems(2);
  box->ToggleDropDown();
  CDropWnd *drop = box->GetDropWnd();
  int h = drop->GetListBox()->GetItemHeight();
  EXPECT_EQ(drop->GetSize().y, 2 * h + 2);
  EXPECT_GT(drop->GetSize().x, box->GetSize().x);
  EXPECT_EQ(drop->GetDragLimit(), drop->GetSize() + wxSize(100, 100));
  EXPECT_EQ(drop->GetScreenRect().y, box->GetScreenRect().GetBottom() + 1);
}

TEST_F(AdvCombo, TheSizeGripResizesWithinItsLimits) {
  Make(CBS_DROPDOWNLIST, {"a", "b", "c", "d", "e", "f"});
  box->ToggleDropDown();
  CDropWnd *drop = box->GetDropWnd();
  wxSize start = drop->GetSize();
  wxPoint grip = drop->GetGripRect().GetPosition() + wxPoint(2, 2);
  drop->PointerDown(grip);
  ASSERT_TRUE(drop->IsResizing());
  drop->PointerMove(grip + wxPoint(500, 500));
  EXPECT_EQ(drop->GetSize(), start + wxSize(100, 100));
  drop->PointerMove(grip - wxPoint(500, 500));
  EXPECT_EQ(drop->GetSize().x, box->GetSize().x);
  EXPECT_GE(drop->GetSize().y, 2);
  drop->PointerUp(grip);
  EXPECT_FALSE(drop->IsResizing());
}

TEST_F(AdvCombo, OpensAboveNearTheBottomOfTheScreen) {
  wxRect screen = wxDisplay(0u).GetGeometry();
  m_frame->SetSize(0, screen.GetBottom() - 120, 400, 100);
  YieldToWindows();
  Make(CBS_DROPDOWNLIST, {"a", "b", "c", "d", "e", "f", "g", "h"}, wxPoint(10, 40));
  wxRect boxRect = box->GetScreenRect();
  ASSERT_LT((screen.GetBottom() - boxRect.GetBottom()) / 15, 5) << "the frame was not placed";
  box->ToggleDropDown();
  wxRect drop = box->GetDropWnd()->GetScreenRect();
  EXPECT_EQ(drop.GetBottom() + 1, boxRect.y);
}

TEST_F(AdvCombo, TypingShowsTheMatchingChoices) {
  Make(CBS_DROPDOWN, {"apple", "apricot", "banana", "ap"});
  box->SetBehaviour(ADVCOMBO_INSETEDIT | ADVCOMBO_AUTOSUGGEST);
  ASSERT_NE(box->GetEditCtrl(), nullptr);
  box->GetEditCtrl()->SetValue("ap"); // as typed
  ASSERT_TRUE(box->IsDroppedDown());
  const ChoiceList *shown = box->GetDropList();
  ASSERT_EQ(shown->size(), 2u); // "ap" itself is not suggested
  EXPECT_EQ(shown->front().strText, L"apple");
  EXPECT_EQ(box->GetDropWnd()->GetListBox()->GetCurSel(), 0);
  // Picking takes the suggestion's text and the full list's index.
  box->PickChoice(1);
  EXPECT_EQ(box->GetEditCtrl()->GetValue(), "apricot");
  EXPECT_EQ(box->GetCurSel(), 1);

  box->GetEditCtrl()->SetValue("b"); // one match: no list
  EXPECT_FALSE(box->IsDroppedDown());
  box->GetEditCtrl()->SetValue("a");
  EXPECT_TRUE(box->IsDroppedDown());
  box->GetEditCtrl()->SetValue(""); // emptied: closes
  EXPECT_FALSE(box->IsDroppedDown());
}

TEST_F(AdvCombo, TypingCompletesFromTheChoices) {
  Make(CBS_DROPDOWN, {"apple", "banana"});
  box->SetBehaviour(ADVCOMBO_INSETEDIT | ADVCOMBO_AUTOCOMPLETE);
  CAdvComboEdit *edit = box->GetEditCtrl();
  codes.clear();
  edit->SetValue("ba");
  EXPECT_EQ(edit->GetValue(), "banana");
  long from = 0, to = 0;
  edit->GetSelection(&from, &to);
  EXPECT_EQ(from, 2);
  EXPECT_EQ(to, 6);
  EXPECT_EQ(codes, (std::vector<int>{CBN_EDITUPDATE, CBN_EDITCHANGE}));
  // After Backspace no completion until another key.
  box->HandleKey(WXK_BACK, false);
  edit->SetValue("ap");
  EXPECT_EQ(edit->GetValue(), "ap");
  box->HandleKey('x', false);
  edit->SetValue("app");
  EXPECT_EQ(edit->GetValue(), "apple");
  EXPECT_EQ(box->GetCurSel(), 0);
}

TEST_F(AdvCombo, WheelAndScrollBarMoveTheOpenListsTopRow) {
  std::vector<const char *> many;
  static const char *names[] = {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l"};
  for (const char *n : names)
    many.push_back(n);
  Make(CBS_DROPDOWNLIST, many);
  box->SetMaxVisibleItems(5);
  box->ToggleDropDown();
  ASSERT_TRUE(box->IsDroppedDown());
  CDropScrollBar *bar = box->GetDropWnd()->GetScrollBar();
  box->HandleWheel(-120);
  EXPECT_EQ(box->GetTopIndex(), 3);
  EXPECT_EQ(bar->GetThumbPosition(), 3);
  box->HandleWheel(-120);
  box->HandleWheel(-120);
  EXPECT_EQ(box->GetTopIndex(), 7); // the last page
  box->HandleWheel(120);
  EXPECT_EQ(box->GetTopIndex(), 4);
  bar->ScrollList(wxEVT_SCROLL_LINEUP, 0);
  EXPECT_EQ(box->GetTopIndex(), 3);
  bar->ScrollList(wxEVT_SCROLL_PAGEUP, 0);
  EXPECT_EQ(box->GetTopIndex(), 0);
  bar->ScrollList(wxEVT_SCROLL_THUMBTRACK, 5);
  EXPECT_EQ(box->GetTopIndex(), 5);
  EXPECT_EQ(box->GetCurSel(), -1); // scrolling picks nothing
}

TEST_F(AdvCombo, TheButtonIsHotWhileThePointerIsOverIt) {
  Make(CBS_DROPDOWN, {"a"});
  wxRect button = box->GetButtonRect();
  // The real pointer goes away from the box (this test has the display to itself); the box
  // hears of a move over its button, and its timer then finds the pointer elsewhere.
  wxUIActionSimulator pointer;
  pointer.MouseMove(box->ClientToScreen(button.GetBottomRight()) + wxPoint(200, 200));
  ASSERT_TRUE(
      YieldUntil([&] { return !button.Contains(box->ScreenToClient(wxGetMousePosition())); }));
  wxMouseEvent move(wxEVT_MOTION);
  move.SetPosition(button.GetPosition() + wxPoint(3, 3));
  box->GetEventHandler()->ProcessEvent(move);
  EXPECT_TRUE(box->IsButtonHot());
  EXPECT_TRUE(YieldUntil([&] { return !box->IsButtonHot(); }));
}
