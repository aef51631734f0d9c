#include "GridSelection.h"

#include <gtest/gtest.h>

namespace {

using Pages = std::vector<int32_t>;

TEST(GridSelection, ClicksSelectLikeAFileManager) {
  GridSelection s(10);
  s.Click(2, false, false);
  EXPECT_EQ(Pages({3}), s.SelectedPages());
  s.Click(5, false, true); // Ctrl adds
  EXPECT_EQ(Pages({3, 6}), s.SelectedPages());
  s.Click(7, true, false); // Shift: anchor (5) to 7, alone
  EXPECT_EQ(Pages({6, 7, 8}), s.SelectedPages());
  s.Click(0, true, true); // Ctrl+Shift adds anchor .. 0
  EXPECT_EQ(Pages({1, 2, 3, 4, 5, 6, 7, 8}), s.SelectedPages());
  s.Click(3, false, true); // Ctrl takes one out and becomes the anchor
  EXPECT_FALSE(s.IsSelected(3));
  EXPECT_EQ(3, s.Anchor());
  s.Click(4, false, false);
  EXPECT_EQ(Pages({5}), s.SelectedPages());
  EXPECT_EQ(1, s.SelectedCount());
  s.Click(10, false, false); // outside: nothing changes
  s.Click(-1, false, false);
  EXPECT_EQ(Pages({5}), s.SelectedPages());
}

TEST(GridSelection, KeysMoveTheFocus) {
  GridSelection s(6);
  s.MoveFocus(1, false, false);
  EXPECT_EQ(Pages({2}), s.SelectedPages());
  s.MoveFocus(3, true, false); // Shift+arrow extends from the anchor
  EXPECT_EQ(Pages({2, 3, 4}), s.SelectedPages());
  s.MoveFocus(5, false, true); // Ctrl+arrow only moves
  EXPECT_EQ(5, s.Focus());
  EXPECT_EQ(Pages({2, 3, 4}), s.SelectedPages());
  s.ToggleFocus(); // Space
  EXPECT_EQ(Pages({2, 3, 4, 6}), s.SelectedPages());
  s.MoveFocus(99, false, false); // clamped to the last page
  EXPECT_EQ(Pages({6}), s.SelectedPages());
  s.MoveFocus(-4, false, false);
  EXPECT_EQ(Pages({1}), s.SelectedPages());
}

TEST(GridSelection, ButtonsAndPreselection) {
  GridSelection s(5);
  s.SelectOdd();
  EXPECT_EQ(Pages({1, 3, 5}), s.SelectedPages());
  s.SelectEven();
  EXPECT_EQ(Pages({2, 4}), s.SelectedPages());
  s.SelectAll();
  EXPECT_EQ(5, s.SelectedCount());
  s.SelectNone();
  EXPECT_EQ(0, s.SelectedCount());
  s.SelectPages({4, 2, 9, 0});
  EXPECT_EQ(Pages({2, 4}), s.SelectedPages());
  EXPECT_EQ(1, s.Focus()); // on the first preselected page
  GridSelection empty(0);
  empty.MoveFocus(3, false, false);
  empty.ToggleFocus();
  empty.SelectAll();
  EXPECT_EQ(0, empty.SelectedCount());
}

} // namespace
