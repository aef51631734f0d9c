#include "ListFixture.h"
#include <wx/uiaction.h>
#include <wx/utils.h>

using ListInput = ListFixture;

TEST_F(ListInput, PlainCtrlAndShiftClicks) {
  AddRows(6);
  Mouse(wxEVT_LEFT_DOWN, CellPoint(1, 1));
  EXPECT_EQ(list->GetSelectedItems(), std::vector<int>({1}));
  Mouse(wxEVT_LEFT_DOWN, CellPoint(3, 0), true);
  EXPECT_EQ(list->GetSelectedItems(), std::vector<int>({1, 3}));
  Mouse(wxEVT_LEFT_DOWN, CellPoint(1, 2), true); // Ctrl again toggles off
  EXPECT_EQ(list->GetSelectedItems(), std::vector<int>({3}));
  // Shift: range from the anchor, the row last clicked with Ctrl.
  Mouse(wxEVT_LEFT_DOWN, CellPoint(5, 0), false, true);
  EXPECT_EQ(list->GetSelectedItems(), std::vector<int>({1, 2, 3, 4, 5}));
  Mouse(wxEVT_LEFT_DOWN, CellPoint(3, 0));
  Mouse(wxEVT_LEFT_DOWN, CellPoint(4, 0), false, true);
  EXPECT_EQ(list->GetSelectedItems(), std::vector<int>({3, 4}));
  Mouse(wxEVT_LEFT_DOWN, CellPoint(2, 0));
  EXPECT_EQ(list->GetSelectedItems(), std::vector<int>({2}));
  EXPECT_EQ(list->GetFocusedItem(), 2);
  // Below the rows: the selection goes.
  Mouse(wxEVT_LEFT_DOWN, wxPoint(20, list->GetCellRect(5, 0).GetBottom() + 20));
  EXPECT_EQ(list->GetSelectedCount(), 0);
}

TEST_F(ListInput, SelectionChangesAreNotified) {
  AddRows(3);
  Mouse(wxEVT_LEFT_DOWN, CellPoint(0, 0));
  Mouse(wxEVT_LEFT_DOWN, CellPoint(2, 0));
  EXPECT_EQ(Count(wxEVT_LIST_ITEM_SELECTED), 2);
  EXPECT_EQ(Count(wxEVT_LIST_ITEM_DESELECTED), 1);
  seen.clear();
  Mouse(wxEVT_LEFT_DOWN, CellPoint(2, 0)); // no change, no notification
  EXPECT_EQ(Count(wxEVT_LIST_ITEM_SELECTED), 0);
}

TEST_F(ListInput, DisabledRowsAndRowsWithoutRecordsSwallowClicks) {
  AddRows(3);
  list->SetEnabled(1, false);
  Mouse(wxEVT_LEFT_DOWN, CellPoint(0, 0));
  Mouse(wxEVT_LEFT_DOWN, CellPoint(1, 0));
  EXPECT_EQ(list->GetSelectedItems(), std::vector<int>({0}));
  seen.clear();
  Mouse(wxEVT_RIGHT_DOWN, CellPoint(1, 0));
  EXPECT_EQ(Count(wxEVT_LIST_ITEM_RIGHT_CLICK), 0);
  Mouse(wxEVT_RIGHT_DOWN, CellPoint(2, 1));
  ASSERT_EQ(Count(wxEVT_LIST_ITEM_RIGHT_CLICK), 1);
  EXPECT_EQ(seen.back().row, 2);
  EXPECT_EQ(list->GetSelectedItems(), std::vector<int>({2}));
  Mouse(wxEVT_RIGHT_DOWN, wxPoint(20, list->GetCellRect(2, 0).GetBottom() + 20));
  EXPECT_EQ(seen.back().row, -1); // below the rows
}

TEST_F(ListInput, DoubleClickActivatesTheRow) {
  AddRows(3);
  Mouse(wxEVT_LEFT_DCLICK, CellPoint(1, 2));
  ASSERT_EQ(Count(wxEVT_LIST_ITEM_ACTIVATED), 1);
  EXPECT_EQ(seen.back().row, 1);
  EXPECT_EQ(seen.back().col, 2);
  Mouse(wxEVT_LEFT_DCLICK, wxPoint(20, list->GetCellRect(2, 0).GetBottom() + 20));
  EXPECT_EQ(Count(wxEVT_LIST_ITEM_ACTIVATED), 1); // not below the rows
  // A disabled row takes no selection but its double click still goes to the parent.
  list->SetEnabled(0, false);
  Mouse(wxEVT_LEFT_DCLICK, CellPoint(0, 1));
  EXPECT_EQ(Count(wxEVT_LIST_ITEM_ACTIVATED), 2);
  EXPECT_FALSE(list->IsSelected(0));
}

TEST_F(ListInput, CheckBoxClickFlipsNotifiesAndUpdatesTheHeader) {
  AddRows(2);
  list->SetCheckbox(0, 2, 0);
  list->SetCheckbox(1, 2, 1);
  list->SetHeaderCheckedState(2, 1);
  Mouse(wxEVT_LEFT_DOWN, CellPoint(0, 2));
  EXPECT_EQ(list->GetCheckbox(0, 2), 1);
  EXPECT_TRUE(list->GetCellData(0, 2)->bModified);
  EXPECT_TRUE(list->GetModified());
  ASSERT_EQ(Count(wxEVT_XLISTCTRL_CHECKBOX_CLICKED), 1);
  EXPECT_EQ(seen[0].type, wxEVT_XLISTCTRL_CHECKBOX_CLICKED);
  EXPECT_EQ(seen[0].row, 0);
  EXPECT_EQ(seen[0].col, 2);
  EXPECT_EQ(list->GetHeaderCheckedState(2), 2); // every row checked
  Mouse(wxEVT_LEFT_DOWN, CellPoint(1, 2));
  EXPECT_EQ(list->GetHeaderCheckedState(2), 1);
}

TEST_F(ListInput, EditorFlagsOpenTheirEditors) {
  AddRows(1);
  list->GetCellData(0, 1)->bEdit = true;
  list->GetCellData(0, 2)->bCombo = true;
  Mouse(wxEVT_LEFT_DOWN, CellPoint(0, 1));
  Mouse(wxEVT_LEFT_DOWN, CellPoint(0, 2));
  Mouse(wxEVT_LEFT_DOWN, CellPoint(0, 0));
  EXPECT_EQ(list->edits, 1);
  EXPECT_EQ(list->combos, 1);
}

TEST_F(ListInput, ArrowsHomeEndAndPages) {
  AddRows(100);
  Key(WXK_DOWN);
  EXPECT_EQ(list->GetSelectedItems(), std::vector<int>({0}));
  Key(WXK_DOWN);
  Key(WXK_DOWN);
  EXPECT_EQ(list->GetSelectedItems(), std::vector<int>({2}));
  Key(WXK_UP);
  EXPECT_EQ(list->GetCurSel(), 1);
  Key(WXK_END);
  EXPECT_EQ(list->GetSelectedItems(), std::vector<int>({99}));
  EXPECT_EQ(list->GetTopItem(), 100 - list->GetCountPerPage());
  Key(WXK_HOME);
  EXPECT_EQ(list->GetCurSel(), 0);
  EXPECT_EQ(list->GetTopItem(), 0);
  int page = list->GetCountPerPage();
  Key(WXK_PAGEDOWN); // first to the bottom of the page
  EXPECT_EQ(list->GetCurSel(), page - 1);
  Key(WXK_PAGEDOWN); // then a page further
  EXPECT_EQ(list->GetCurSel(), 2 * page - 2);
  EXPECT_EQ(list->GetFocusedItem(), 2 * page - 2);
  Key(WXK_PAGEUP);
  EXPECT_EQ(list->GetCurSel(), list->GetTopItem());
  Key(WXK_UP); // stays in range at the top
  Key(WXK_HOME);
  Key(WXK_UP);
  EXPECT_EQ(list->GetCurSel(), 0);
}

TEST_F(ListInput, ShiftArrowsKeepExtending) {
  AddRows(10);
  Mouse(wxEVT_LEFT_DOWN, CellPoint(2, 0));
  Key(WXK_DOWN, false, true);
  Key(WXK_DOWN, false, true);
  Key(WXK_DOWN, false, true);
  EXPECT_EQ(list->GetSelectedItems(), std::vector<int>({2, 3, 4, 5}));
  Key(WXK_UP, false, true);
  EXPECT_EQ(list->GetSelectedItems(), std::vector<int>({2, 3, 4}));
}

TEST_F(ListInput, CtrlMovesTheFocusAndSpaceToggles) {
  AddRows(10);
  Mouse(wxEVT_LEFT_DOWN, CellPoint(2, 0));
  Key(WXK_DOWN, true);
  Key(WXK_DOWN, true);
  EXPECT_EQ(list->GetFocusedItem(), 4);
  EXPECT_EQ(list->GetSelectedItems(), std::vector<int>({2}));
  Key(WXK_SPACE, true);
  EXPECT_EQ(list->GetSelectedItems(), std::vector<int>({2, 4}));
  Key('A', true);
  EXPECT_EQ(list->GetSelectedCount(), 10);
}

TEST_F(ListInput, KeysSkipDisabledRows) {
  AddRows(5);
  list->SetEnabled(2, false);
  list->SetCurSel(1);
  Key(WXK_DOWN); // lands on disabled row 2, goes on down to 3
  EXPECT_EQ(list->GetCurSel(), 3);
  EXPECT_FALSE(list->IsSelected(2));
  Key(WXK_UP); // row 2 again, searching upwards finds 1
  EXPECT_EQ(list->GetCurSel(), 1);
}

TEST_F(ListInput, EveryKeyIsNotified) {
  AddRows(2);
  Key(WXK_DELETE);
  ASSERT_EQ(Count(wxEVT_LIST_KEY_DOWN), 1);
}

TEST_F(ListInput, WheelAndScrollBarScrollByRows) {
  AddRows(300);
  wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
  wheel.m_wheelRotation = -120;
  wheel.m_wheelDelta = 120;
  wheel.m_linesPerAction = 3;
  list->GetEventHandler()->ProcessEvent(wheel);
  EXPECT_EQ(list->GetTopItem(), 3);
  wxScrollWinEvent page(wxEVT_SCROLLWIN_PAGEDOWN, 0, wxVERTICAL);
  list->GetEventHandler()->ProcessEvent(page);
  EXPECT_EQ(list->GetTopItem(), 3 + list->GetCountPerPage());
  wxScrollWinEvent thumb(wxEVT_SCROLLWIN_THUMBTRACK, 250, wxVERTICAL);
  list->GetEventHandler()->ProcessEvent(thumb);
  EXPECT_EQ(list->GetTopItem(), 250);
  wxScrollWinEvent bottom(wxEVT_SCROLLWIN_BOTTOM, 0, wxVERTICAL);
  list->GetEventHandler()->ProcessEvent(bottom);
  EXPECT_EQ(list->GetTopItem(), 300 - list->GetCountPerPage());
}

TEST_F(ListInput, ToolTipIdsFollowTheCell) {
  AddRows(3);
  EXPECT_EQ(list->OnToolHitTest(CellPoint(0, 0)), 1);
  EXPECT_EQ(list->OnToolHitTest(CellPoint(2, 1)), 2 * 1000 + 1 + 1);
  EXPECT_EQ(list->OnToolHitTest(CellPoint(1, 2)), 1000 + 2 + 1);
  EXPECT_EQ(list->OnToolHitTest(wxPoint(5, list->GetCellRect(2, 0).GetBottom() + 30)), -1);
  EXPECT_EQ(list->OnToolHitTest(wxPoint(500, CellPoint(0, 0).y)), -1); // right of the columns
}

TEST_F(ListInput, ToolTipTextIsCutTo79AndFollowsThePointer) {
  AddRows(2);
  list->SetItemToolTipText(0, 1, wxString('x', 100));
  list->SetItemToolTipText(0, 2, "short");
  EXPECT_EQ(list->GetToolTipTextAt(CellPoint(0, 1)).length(), 79u);
  Mouse(wxEVT_MOTION, CellPoint(0, 1));
  EXPECT_EQ(list->GetCurrentToolId(), 2);
  ASSERT_NE(list->GetToolTip(), nullptr);
  EXPECT_EQ(list->GetToolTipText(), wxString('x', 79));
  Mouse(wxEVT_MOTION, CellPoint(0, 2));
  EXPECT_EQ(list->GetCurrentToolId(), 3);
  EXPECT_EQ(list->GetToolTipText(), "short");
  Mouse(wxEVT_MOTION, CellPoint(1, 2)); // no text: no tip
  EXPECT_EQ(list->GetToolTip(), nullptr);
}

TEST_F(ListInput, ClickSimulatedThroughTheDisplay) {
  AddRows(5);
  // Away from where the other window tests put their frames: tests run side by side on one
  // virtual display, and a real click goes to whatever window is on top.
  m_frame->Move(wxPoint(680, 380));
  m_frame->Raise();
  YieldToWindows();
  // A real click through the X server, as a user makes it.
  wxPoint screen = list->ClientToScreen(CellPoint(3, 1));
  wxUIActionSimulator sim;
  sim.MouseMove(screen);
  YieldToWindows();
  sim.MouseClick();
  EXPECT_TRUE(YieldUntil([&] { return list->GetCurSel() == 3; }));
}

TEST_F(ListInput, HorizontalScrollMovesCellsAndHeaderTogether) {
  AddRows(3);
  list->GetHeaderCtrl()->SetItemWidth(2, 800);
  list->SetColumnWidth(2, 800 - 12); // also updates the scroll bars
  wxScrollWinEvent thumb(wxEVT_SCROLLWIN_THUMBTRACK, 100, wxHORIZONTAL);
  list->GetEventHandler()->ProcessEvent(thumb);
  EXPECT_EQ(list->GetHeaderCtrl()->GetScrollOffset(), 100);
  EXPECT_EQ(list->GetCellRect(0, 1).x, 0);
  EXPECT_EQ(list->GetHeaderCtrl()->GetItemRect(1).x, 0);
  EXPECT_EQ(list->HitTest(wxPoint(5, CellPoint(1, 1).y)), 1);
  wxScrollWinEvent end(wxEVT_SCROLLWIN_BOTTOM, 0, wxHORIZONTAL);
  list->GetEventHandler()->ProcessEvent(end);
  EXPECT_EQ(list->GetHeaderCtrl()->GetScrollOffset(),
            list->GetHeaderCtrl()->GetTotalWidth() - list->GetClientSize().x);
}

TEST_F(ListInput, TheFocusComingInLandsOnTheSelectionOrTheFirstRow) {
  AddRows(4);
  ASSERT_EQ(list->GetFocusedItem(), -1);
  wxFocusEvent in(wxEVT_SET_FOCUS, list->GetId());
  in.SetEventObject(list);
  list->GetEventHandler()->ProcessEvent(in);
  EXPECT_EQ(list->GetFocusedItem(), 0);
  EXPECT_EQ(list->GetSelectedCount(), 0); // only the focus: nothing is selected by it
  list->SetFocusedItem(-1);
  list->Select(2, true);
  list->GetEventHandler()->ProcessEvent(in);
  EXPECT_EQ(list->GetFocusedItem(), 2);
}
