#include "ListFixture.h"

using List = ListFixture;

TEST_F(List, InsertItemChecksTheRowAndKeepsTheColours) {
  EXPECT_EQ(list->InsertItem(-1, "x", 1, 2), -1);
  EXPECT_EQ(list->InsertItem(-1, "x"), -1);
  EXPECT_EQ(list->InsertItem(0, "first", RGBColor(1, 2, 3), RGBColor(4, 5, 6)), 0);
  EXPECT_EQ(list->InsertItem(99, "appended"), 1); // past the end appends
  EXPECT_EQ(list->InsertItem(0, "new first"), 0);
  ASSERT_EQ(list->GetItemCount(), 3);
  EXPECT_EQ(list->GetItemText(0), "new first");
  EXPECT_EQ(list->GetItemText(1), "first");
  const XListCellData *cell = list->GetCellData(1, 0);
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->crText, RGBColor(1, 2, 3));
  EXPECT_EQ(cell->crBackground, RGBColor(4, 5, 6));
  EXPECT_EQ(cell->nImage, -1);
  EXPECT_EQ(list->GetCellData(0, 0)->crText, GetSysColor(SysColor::WindowText));
  EXPECT_EQ(list->GetCellData(0, 0)->crBackground, GetSysColor(SysColor::Window));
  // Every column of the row has its record with the defaults.
  const XListCellData *other = list->GetCellData(1, 2);
  ASSERT_NE(other, nullptr);
  EXPECT_TRUE(other->bEnabled);
  EXPECT_EQ(other->nCheckedState, -1);
  EXPECT_EQ(other->nComboListHeight, 10);
  EXPECT_TRUE(other->bShowProgressMessage);
}

TEST_F(List, InvalidIndexesAnswerZero) {
  AddRows(2);
  EXPECT_EQ(list->SetItemText(2, 0, "x"), 0);
  EXPECT_EQ(list->SetItemText(0, 3, "x"), 0);
  EXPECT_EQ(list->SetItemText(-1, 0, "x"), 0);
  EXPECT_EQ(list->SetItemText(0, -1, L"x", 0, 0), 0);
  EXPECT_EQ(list->SetItemToolTipText(0, 3, "tip"), 0);
  EXPECT_EQ(list->GetItemData(2), 0u); // the row count itself is out of range
  EXPECT_EQ(list->SetItemData(2, 5), 0);
  EXPECT_FALSE(list->DeleteItem(2));
  EXPECT_FALSE(list->DeleteItem(-1));
  EXPECT_EQ(list->GetEnabled(5), 0);
  EXPECT_EQ(list->CountCheckedItems(3), 0);
  EXPECT_EQ(list->GetHeaderCheckedState(3), -1);
  EXPECT_EQ(list->SetHeaderCheckedState(3, 1), 0);
  EXPECT_EQ(list->GetCellData(0, 3), nullptr);
  list->DeleteProgress(9, 0); // does nothing
  list->UpdateSubItem(9, 9);
  EXPECT_EQ(list->GetItemCount(), 2);
}

TEST_F(List, SetItemTextWithColours) {
  AddRows(1);
  EXPECT_EQ(list->SetItemText(0, 1, L"one", RGBColor(9, 9, 9), RGBColor(200, 100, 50)), 1);
  EXPECT_EQ(list->GetItemText(0, 1), "one");
  EXPECT_EQ(list->GetCellData(0, 1)->crBackground, RGBColor(200, 100, 50));
  // A null text changes only the colours and still succeeds.
  EXPECT_EQ(list->SetItemText(0, 1, nullptr, RGBColor(1, 1, 1), RGBColor(2, 2, 2)), 1);
  EXPECT_EQ(list->GetItemText(0, 1), "one");
  EXPECT_EQ(list->GetCellData(0, 1)->crText, RGBColor(1, 1, 1));
  // -1 is the control's window-text and window colour.
  EXPECT_EQ(list->SetItemText(0, 1, L"two", kDefaultColor, kDefaultColor), 1);
  EXPECT_EQ(list->GetCellData(0, 1)->crText, GetSysColor(SysColor::WindowText));
  EXPECT_EQ(list->GetCellData(0, 1)->crBackground, GetSysColor(SysColor::Window));
  // The plain form keeps the colours.
  list->SetItemText(0, 1, L"x", RGBColor(7, 7, 7), RGBColor(8, 8, 8));
  EXPECT_EQ(list->SetItemText(0, 1, "three"), 1);
  EXPECT_EQ(list->GetCellData(0, 1)->crText, RGBColor(7, 7, 7));
}

TEST_F(List, ItemDataAndToolTipsLiveInTheRecords) {
  AddRows(3);
  EXPECT_EQ(list->SetItemData(1, 0xBEEF), 1);
  EXPECT_EQ(list->GetItemData(1), 0xBEEFu);
  EXPECT_EQ(list->GetItemData(0), 0u);
  EXPECT_EQ(list->SetItemToolTipText(1, 2, "tip"), 1);
  EXPECT_EQ(list->GetItemToolTipText(1, 2), "tip");
  // Records move with their rows.
  EXPECT_TRUE(list->DeleteItem(0));
  EXPECT_EQ(list->GetItemData(0), 0xBEEFu);
  EXPECT_EQ(list->GetItemToolTipText(0, 2), "tip");
  list->InsertItem(0, "again");
  EXPECT_EQ(list->GetItemData(1), 0xBEEFu);
}

TEST_F(List, RowsKeepTheColumnCountTheyWereInsertedWith) {
  AddRows(1);
  list->InsertColumn(3, "D", HDF_LEFT, 50);
  EXPECT_EQ(list->GetColumns(), 4);
  EXPECT_EQ(list->GetCellData(0, 3), nullptr);
  list->InsertItem(1, "later");
  EXPECT_NE(list->GetCellData(1, 3), nullptr);
}

TEST_F(List, CellRectangles) {
  AddRows(3);
  wxRect r = list->GetCellRect(1, 1);
  EXPECT_EQ(r.x, 100);
  EXPECT_EQ(r.width, 150);
  EXPECT_EQ(r.height, list->GetRowHeight());
  EXPECT_EQ(list->GetCellRect(2, 1).y - r.y, list->GetRowHeight());
  // Column 0 ends where column 1 starts, not at the end of the row.
  wxRect first = list->GetCellRect(1, 0);
  EXPECT_EQ(first.x, 0);
  EXPECT_EQ(first.width, 100);
  // ...and where the first following column of positive width starts.
  list->GetHeaderCtrl()->SetItemWidth(1, 0);
  EXPECT_EQ(list->GetCellRect(1, 0).width, 100);
  wxRect none;
  EXPECT_FALSE(list->GetCellRect(3, 0, LVIR_BOUNDS, none));
}

TEST_F(List, SingleColumnCellZeroIsTheWholeRow) {
  TestList *one = new TestList(m_frame);
  one->InsertColumn(0, "only", HDF_LEFT, 120);
  one->InsertItem(0, "x");
  EXPECT_EQ(one->GetCellRect(0, 0).width, 120);
}

TEST_F(List, CurSelAndCheckedCounts) {
  AddRows(4);
  EXPECT_EQ(list->GetCurSel(), -1);
  EXPECT_TRUE(list->SetCurSel(2, true));
  list->Select(3);
  EXPECT_EQ(list->GetCurSel(), 2);
  EXPECT_EQ(list->GetFocusedItem(), 2);
  EXPECT_EQ(list->GetSelectedCount(), 2);
  EXPECT_FALSE(list->SetCurSel(4));
  list->SetCheckbox(0, 2, 1);
  list->SetCheckbox(1, 2, 0);
  list->SetCheckbox(3, 2, 1);
  EXPECT_EQ(list->CountCheckedItems(2), 2);
  EXPECT_EQ(list->CountCheckedItems(1), 0);
  EXPECT_EQ(list->SetHeaderCheckedState(2, 1), 1);
  EXPECT_EQ(list->GetHeaderCheckedState(2), 1);
  EXPECT_EQ(list->GetHeaderCheckedState(0), 0);
}

TEST_F(List, SetCurSelScrollsTheRowIntoView) {
  AddRows(200);
  list->SetCurSel(150, true);
  EXPECT_LE(list->GetTopItem(), 150);
  EXPECT_GT(list->GetTopItem() + list->GetCountPerPage(), 150);
  list->SetCurSel(3, false);
  EXPECT_GT(list->GetTopItem(), 3);
}

TEST_F(List, SetColumnWidthAddsTwiceTheSpacing) {
  EXPECT_TRUE(list->SetColumnWidth(1, 80));
  EXPECT_EQ(list->GetColumnWidth(1), 80 + 2 * 6);
  EXPECT_FALSE(list->SetColumnWidth(5, 80));
  AddRows(1);
  list->SetItemText(0, 2, "a rather long text in column two");
  list->SetColumnWidth(2, LVSCW_AUTOSIZE);
  EXPECT_GT(list->GetColumnWidth(2), 100);
}

TEST_F(List, DeletingRowsSendsDeselectionAndFreesRecords) {
  AddRows(3);
  list->SetCurSel(1);
  seen.clear();
  EXPECT_TRUE(list->DeleteItem(1));
  EXPECT_EQ(Count(wxEVT_LIST_ITEM_DESELECTED), 1);
  EXPECT_EQ(list->GetCurSel(), -1);
  EXPECT_EQ(list->GetItemText(1), "row 2");
  EXPECT_TRUE(list->DeleteAllItems());
  EXPECT_EQ(list->GetItemCount(), 0);
}
