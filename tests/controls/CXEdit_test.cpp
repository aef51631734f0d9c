#include "EditorFixture.h"
#include "controls/CXEdit.h"

class XEdit : public EditorFixture {};

TEST_F(XEdit, OpensOverTheCellWithItsTextSelected) {
  CXEdit *edit = list->StartEdit(1, 2);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(list->GetEditWindow(), edit);
  EXPECT_EQ(edit->GetId(), 99);
  EXPECT_EQ(edit->GetValue(), "before");
  long from = 0, to = 0;
  edit->GetSelection(&from, &to);
  EXPECT_EQ(from, 0);
  EXPECT_EQ(to, 6);
  wxRect cell = list->GetCellRect(1, 2);
  wxRect rect = edit->GetRect();
  EXPECT_EQ(rect.x, cell.x + 2);
  EXPECT_EQ(rect.y, cell.y);
  EXPECT_EQ(rect.height, cell.height + 1);
  EXPECT_EQ(rect.width, 200 - 4);
}

TEST_F(XEdit, EnterReportsTheEndOnce) {
  CXEdit *edit = list->StartEdit(1, 2);
  ASSERT_NE(edit, nullptr);
  edit->ChangeValue("after");
  wxKeyEvent enter(wxEVT_KEY_DOWN);
  enter.m_keyCode = WXK_RETURN;
  edit->GetEventHandler()->ProcessEvent(enter);
  // The box then loses the focus as the list lets it go: no second report.
  wxFocusEvent lost = QuietFocus::Lost(nullptr);
  edit->GetEventHandler()->ProcessEvent(lost);
  edit->HandleEndKey(WXK_ESCAPE);
  EXPECT_EQ(Count(wxEVT_XLISTCTRL_EDIT_END), 1);
  EXPECT_EQ(list->GetItemText(1, 2), "after");
  EXPECT_TRUE(list->GetCellData(1, 2)->bModified);
  EXPECT_EQ(list->GetEditWindow(), nullptr);
  WaitTimers(); // the box goes once its handler has returned
}

TEST_F(XEdit, AnEmptiedEditRestoresTheText) {
  CXEdit *edit = list->StartEdit(1, 2);
  ASSERT_NE(edit, nullptr);
  edit->ChangeValue("");
  wxFocusEvent lost = QuietFocus::Lost(nullptr);
  edit->GetEventHandler()->ProcessEvent(lost);
  EXPECT_EQ(list->GetItemText(1, 2), "before");
  EXPECT_FALSE(list->GetCellData(1, 2)->bModified);
  EXPECT_FALSE(list->GetModified());
  EXPECT_EQ(Count(wxEVT_XLISTCTRL_EDIT_END), 1);
}

TEST_F(XEdit, EscapeAsACharacterCancels) {
  CXEdit *edit = list->StartEdit(1, 2);
  ASSERT_NE(edit, nullptr);
  edit->ChangeValue("typed");
  wxKeyEvent escape(wxEVT_CHAR);
  escape.m_keyCode = WXK_ESCAPE;
  edit->GetEventHandler()->ProcessEvent(escape);
  EXPECT_EQ(list->GetItemText(1, 2), "before");
  EXPECT_EQ(Count(wxEVT_XLISTCTRL_EDIT_END), 0);
  EXPECT_EQ(list->GetEditWindow(), nullptr);
}

TEST_F(XEdit, ASecondEditEndsTheFirstWithItsOwnText) {
  CXEdit *first = list->StartEdit(1, 2);
  ASSERT_NE(first, nullptr);
  first->ChangeValue("first");
  CXEdit *second = list->StartEdit(0, 1);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(list->GetItemText(1, 2), "first");
  EXPECT_EQ(second->GetValue(), "");
  EXPECT_EQ(Count(wxEVT_XLISTCTRL_EDIT_END), 1);
}

TEST_F(XEdit, RefusesDisabledRowsNarrowColumnsAndBadCells) {
  list->SetEnabled(0, false);
  EXPECT_EQ(list->StartEdit(0, 1), nullptr);
  EXPECT_EQ(list->StartEdit(5, 1), nullptr);
  EXPECT_EQ(list->StartEdit(1, 3), nullptr);
  list->InsertColumn(3, "D", HDF_LEFT, 4);
  EXPECT_EQ(list->StartEdit(1, 3), nullptr);
  EXPECT_EQ(list->GetEditWindow(), nullptr);
}

TEST_F(XEdit, ACellOffToTheRightIsScrolledIntoView) {
  list->InsertColumn(3, "D", HDF_RIGHT, 700);
  list->InsertColumn(4, "E", HDF_LEFT, 300);
  CXEdit *edit = list->StartEdit(1, 4);
  ASSERT_NE(edit, nullptr);
  wxRect rect = edit->GetRect();
  EXPECT_GE(rect.x, 0);
  EXPECT_LT(rect.x, list->GetClientSize().x);
  EXPECT_EQ(rect.x, list->GetCellRect(1, 4).x + 2);
}

TEST_F(XEdit, UsingTheScrollBarEndsTheEdit) {
  CXEdit *edit = list->StartEdit(1, 2);
  ASSERT_NE(edit, nullptr);
  edit->ChangeValue("scrolled");
  wxScrollWinEvent scroll(wxEVT_SCROLLWIN_LINEDOWN, 0, wxVERTICAL);
  list->GetEventHandler()->ProcessEvent(scroll);
  EXPECT_EQ(list->GetEditWindow(), nullptr);
  EXPECT_EQ(list->GetItemText(1, 2), "scrolled");
  EXPECT_EQ(Count(wxEVT_XLISTCTRL_EDIT_END), 1);
}
