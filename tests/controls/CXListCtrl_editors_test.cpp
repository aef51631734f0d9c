#include <wx/choice.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include "ListFixture.h"

class ListEditors : public ListFixture {
protected:
  void SetUp() override {
    ListFixture::SetUp();
    m_frame->Bind(wxEVT_XLISTCTRL_EDIT_END, [this](wxListEvent &e) {
      seen.push_back({e.GetEventType(), e.GetIndex(), e.GetColumn()});
    });
    m_frame->Bind(wxEVT_XLISTCTRL_COMBO_SELECTION, [this](wxListEvent &e) {
      seen.push_back({e.GetEventType(), e.GetIndex(), e.GetColumn()});
    });
    AddRows(3);
    list->SetItemText(1, 2, "before");
  }
  wxTextCtrl *OpenEdit(const wxString &text) {
    auto *edit = new wxTextCtrl(list, wxID_ANY, text);
    list->BeginEdit(edit, 1, 2);
    return edit;
  }
  void Notify(wxEventType type) {
    wxCommandEvent e(type);
    list->GetEventHandler()->ProcessEvent(e);
  }
  // Waits for the list's editor timers to close the combo.
  void WaitTimers() {
    EXPECT_TRUE(YieldUntil([&] { return !list->GetComboWindow() && !list->IsFrozen(); }));
  }
};

TEST_F(ListEditors, EditEndTakesTheTextMarksTheCellAndTellsTheParent) {
  OpenEdit("after");
  Notify(wxEVT_XEDIT_KILL_FOCUS);
  EXPECT_EQ(list->GetItemText(1, 2), "after");
  EXPECT_TRUE(list->GetCellData(1, 2)->bModified);
  EXPECT_TRUE(list->GetModified());
  EXPECT_EQ(list->GetEditWindow(), nullptr);
  ASSERT_EQ(Count(wxEVT_XLISTCTRL_EDIT_END), 1);
  EXPECT_EQ(seen.back().row, 1);
  EXPECT_EQ(seen.back().col, 2);
}

TEST_F(ListEditors, AnEmptiedBoxGivesTheOldTextBackUnmodified) {
  OpenEdit("");
  Notify(wxEVT_XEDIT_KILL_FOCUS);
  EXPECT_EQ(list->GetItemText(1, 2), "before");
  EXPECT_FALSE(list->GetCellData(1, 2)->bModified);
  EXPECT_FALSE(list->GetModified());
  EXPECT_EQ(Count(wxEVT_XLISTCTRL_EDIT_END), 1);
}

TEST_F(ListEditors, EscapePutsTheOldTextBack) {
  OpenEdit("typed");
  list->SetItemText(1, 2, "typed");
  Notify(wxEVT_XEDIT_VK_ESCAPE);
  EXPECT_EQ(list->GetItemText(1, 2), "before");
  EXPECT_EQ(list->GetEditWindow(), nullptr);
  EXPECT_EQ(Count(wxEVT_XLISTCTRL_EDIT_END), 0);
}

TEST_F(ListEditors, OpeningASecondEditEndsTheFirst) {
  OpenEdit("first");
  auto *second = new wxTextCtrl(list, wxID_ANY, "second");
  list->BeginEdit(second, 0, 1);
  EXPECT_EQ(list->GetItemText(1, 2), "first");
  EXPECT_EQ(list->GetEditWindow(), second);
}

TEST_F(ListEditors, ComboChoiceIsTakenFiftyMillisecondsLater) {
  wxArrayString choices;
  choices.Add("one");
  choices.Add("two");
  auto *combo = new wxChoice(list, wxID_ANY, wxDefaultPosition, wxDefaultSize, choices);
  combo->SetSelection(1);
  list->BeginCombo(combo, 1, 2);
  EXPECT_TRUE(list->IsFrozen());
  Notify(wxEVT_XCOMBOLIST_COMPLETE);
  EXPECT_EQ(list->GetItemText(1, 2), "before"); // not yet
  WaitTimers();
  EXPECT_FALSE(list->IsFrozen());
  EXPECT_EQ(list->GetItemText(1, 2), "two");
  EXPECT_TRUE(list->GetCellData(1, 2)->bModified);
  EXPECT_EQ(list->GetComboWindow(), nullptr);
  EXPECT_EQ(Count(wxEVT_XLISTCTRL_COMBO_SELECTION), 1);
}

TEST_F(ListEditors, ComboEscapeAndClicksOffTheCellsCloseIt) {
  auto *combo = new wxChoice(list, wxID_ANY);
  list->BeginCombo(combo, 1, 2);
  Notify(wxEVT_XCOMBOLIST_VK_ESCAPE);
  WaitTimers();
  EXPECT_EQ(list->GetComboWindow(), nullptr);
  EXPECT_EQ(list->GetItemText(1, 2), "before");
  list->BeginCombo(new wxChoice(list, wxID_ANY), 0, 1);
  Mouse(wxEVT_LEFT_DOWN, wxPoint(20, list->GetCellRect(2, 0).GetBottom() + 30));
  WaitTimers();
  EXPECT_EQ(list->GetComboWindow(), nullptr);
  EXPECT_EQ(Count(wxEVT_XLISTCTRL_COMBO_SELECTION), 0);
}
