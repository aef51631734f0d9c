#include <string>
#include <vector>

#include "EditorFixture.h"
#include "controls/CDropListBox.h"
#include "controls/CDropWnd.h"
#include "controls/CXCombo.h"

class XCombo : public EditorFixture {
protected:
  void SetUp() override {
    EditorFixture::SetUp();
    XListCellData *cell = list->GetCellData(1, 2);
    cell->bCombo = true;
    cell->psaComboList = &choices;
  }
  CXCombo *Open() {
    CXCombo *combo = list->StartComboEdit(1, 2);
    YieldToWindows();
    return combo;
  }
  std::vector<std::wstring> choices = {L"red", L"", L"green", L"blue"};
};

TEST_F(XCombo, ACellTextThatIsNoChoiceSelectsChoiceZero) {
  CXCombo *combo = Open();
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(list->GetComboWindow(), combo);
  EXPECT_EQ(combo->GetComboStyle(), CBS_DROPDOWNLIST);
  EXPECT_EQ(combo->GetCount(), 3u); // the empty choice is left out
  EXPECT_EQ(combo->GetCurSel(), 0);
  EXPECT_EQ(combo->GetCurText(), "red");
  EXPECT_EQ(combo->GetMaxVisibleItems(), 10);
  wxRect cell = list->GetCellRect(1, 2);
  EXPECT_EQ(combo->GetRect().y, cell.y - 1);
  EXPECT_EQ(combo->GetRect().x, cell.x + 1);
}

TEST_F(XCombo, ACellTextThatIsAChoiceSelectsIt) {
  list->SetItemText(1, 2, "blue");
  CXCombo *combo = Open();
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->GetCurSel(), 2);
}

TEST_F(XCombo, AnEmptyCellTakesChoiceZeroAsItsText) {
  list->SetItemText(1, 2, "");
  CXCombo *combo = Open();
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->GetCurSel(), 0);
  EXPECT_EQ(list->GetItemText(1, 2), "red");
}

TEST_F(XCombo, TheInitialSelectionActsOnce) {
  list->GetCellData(1, 2)->nInitialComboSel = 2; // "blue"
  CXCombo *combo = Open();
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->GetCurSel(), 2);
  EXPECT_EQ(list->GetItemText(1, 2), "blue");
  EXPECT_EQ(list->GetCellData(1, 2)->nInitialComboSel, -1);
  combo->HandleKey(WXK_ESCAPE, false);
  WaitTimers();
  list->SetItemText(1, 2, "green");
  combo = Open();
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->GetCurSel(), 1); // the cell's own text now
}

TEST_F(XCombo, AnInitialSelectionOutOfRangeIsIgnored) {
  list->GetCellData(1, 2)->nInitialComboSel = 7;
  CXCombo *combo = Open();
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->GetCurSel(), 0);
  EXPECT_EQ(list->GetCellData(1, 2)->nInitialComboSel, 7);
}

TEST_F(XCombo, PickingInTheDropDownSetsTheCellAndTellsTheParent) {
  CXCombo *combo = Open();
  ASSERT_NE(combo, nullptr);
  combo->ToggleDropDown();
  ASSERT_TRUE(combo->IsDroppedDown());
  combo->HandleKey(WXK_DOWN, false);
  combo->HandleKey(WXK_RETURN, false);          // pick, then complete
  EXPECT_EQ(list->GetItemText(1, 2), "before"); // 50 ms later
  WaitTimers();
  EXPECT_EQ(list->GetComboWindow(), nullptr);
  EXPECT_EQ(list->GetItemText(1, 2), "green");
  EXPECT_TRUE(list->GetCellData(1, 2)->bModified);
  EXPECT_TRUE(list->GetModified());
  EXPECT_EQ(Count(wxEVT_XLISTCTRL_COMBO_SELECTION), 1);
}

TEST_F(XCombo, CompletingTheSameChoiceIsNoModification) {
  list->SetItemText(1, 2, "green");
  CXCombo *combo = Open();
  ASSERT_NE(combo, nullptr);
  combo->HandleKey(WXK_RETURN, false);
  WaitTimers();
  EXPECT_EQ(list->GetItemText(1, 2), "green");
  EXPECT_FALSE(list->GetCellData(1, 2)->bModified);
  EXPECT_EQ(Count(wxEVT_XLISTCTRL_COMBO_SELECTION), 1);
}

TEST_F(XCombo, EscapeDiscardsIt) {
  CXCombo *combo = Open();
  ASSERT_NE(combo, nullptr);
  combo->HandleKey(WXK_DOWN, false); // changes the box, not yet the cell
  combo->HandleKey(WXK_ESCAPE, false);
  WaitTimers();
  EXPECT_EQ(list->GetComboWindow(), nullptr);
  EXPECT_EQ(list->GetItemText(1, 2), "before");
  EXPECT_EQ(Count(wxEVT_XLISTCTRL_COMBO_SELECTION), 0);
}

TEST_F(XCombo, LosingTheFocusCancelsAndCompletes) {
  CXCombo *combo = Open();
  ASSERT_NE(combo, nullptr);
  int escapes = 0, completes = 0;
  list->Bind(wxEVT_XCOMBOLIST_VK_ESCAPE, [&](wxCommandEvent &e) {
    ++escapes;
    e.Skip();
  });
  list->Bind(wxEVT_XCOMBOLIST_COMPLETE, [&](wxCommandEvent &e) {
    ++completes;
    e.Skip();
  });
  wxFocusEvent lost = QuietFocus::Lost(list);
  combo->GetEventHandler()->ProcessEvent(lost);
  EXPECT_EQ(escapes, 1);
  EXPECT_EQ(completes, 1);
  WaitTimers();
  EXPECT_EQ(list->GetComboWindow(), nullptr);
}

TEST_F(XCombo, FocusGoingToItsOwnDropDownDoesNotComplete) {
  CXCombo *combo = Open();
  ASSERT_NE(combo, nullptr);
  combo->ToggleDropDown();
  int completes = 0;
  list->Bind(wxEVT_XCOMBOLIST_COMPLETE, [&](wxCommandEvent &e) {
    ++completes;
    e.Skip();
  });
  wxFocusEvent lost = QuietFocus::Lost(combo->GetDropWnd()->GetListBox());
  combo->GetEventHandler()->ProcessEvent(lost);
  EXPECT_EQ(completes, 0);
}

TEST_F(XCombo, RefusesDisabledRowsAndRowsWithoutChoicesStillOpen) {
  list->SetEnabled(1, false);
  EXPECT_EQ(list->StartComboEdit(1, 2), nullptr);
  list->SetEnabled(1, true);
  list->GetCellData(1, 2)->psaComboList = nullptr;
  CXCombo *combo = Open();
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->GetCount(), 0u);
}

TEST_F(XCombo, AClickOnAComboCellOfAPlainListOpensIt) {
  auto *plain = new CXListCtrl(m_frame, wxID_ANY, wxPoint(0, 0), wxSize(600, 300));
  plain->InsertColumn(0, "A", HDF_LEFT, 100);
  plain->InsertColumn(1, "B", HDF_LEFT, 150);
  plain->InsertItem(0, "row");
  plain->GetCellData(0, 1)->bCombo = true;
  plain->GetCellData(0, 1)->psaComboList = &choices;
  YieldToWindows();
  wxMouseEvent click(wxEVT_LEFT_DOWN);
  click.SetPosition(plain->GetCellRect(0, 1).GetPosition() + wxPoint(10, 5));
  plain->GetEventHandler()->ProcessEvent(click);
  EXPECT_NE(plain->GetComboWindow(), nullptr);
  EXPECT_TRUE(plain->IsFrozen());
  EXPECT_TRUE(YieldUntil([&] { return !plain->IsFrozen(); }));
  plain->Destroy();
}
