// List editing in the main window: moving and deleting rows, the list buttons, the context
// menu and the page range of a row.
#include "MainWindowFixture.h"

#include "BarCommand.h"
#include "CCoolToolBar.h"
#include "CFileList.h"
#include "MainMenus.h"
#include "MenuCommandId.h"
#include "PdfMaker.h"
#include "controls/CXListCtrl.h"

#include <wx/listbase.h>

namespace {

class ListEditing : public MainWindow {
protected:
  // Rows A, B, C (PDFs of 1, 2 and 3 pages) and a picture P when asked.
  void AddRows(bool picture = false) {
    int pages = 1;
    for (const char *name : {"A.pdf", "B.pdf", "C.pdf"}) {
      MakeNumberedPdf(Home(name), pages++);
      AddRead(Wide(Home(name)));
    }
    if (picture) {
      WriteFileBytes(Home("P.png"), "png");
      AddRead(Wide(Home("P.png")));
    }
  }
  CXListCtrl *List() { return dlg->GetListCtrl(); }
  std::string Names() {
    std::string names;
    for (int row = 0; row < List()->GetItemCount(); ++row)
      names += List()->GetItemText(row, 1).BeforeFirst('.').ToStdString();
    return names;
  }
  std::string Numbers() {
    std::string numbers;
    for (int row = 0; row < List()->GetItemCount(); ++row)
      numbers += List()->GetItemText(row, 0).ToStdString();
    return numbers;
  }
  void SelectOnly(std::initializer_list<int> rows) {
    List()->DeselectAll();
    for (int row : rows)
      List()->Select(row, true);
  }
  void Context(int row, int command) {
    dlg->EnableContextMenu(row);
    // The clicked row is set by the right click; the tests set it as the click would.
    SetClickedRow(row);
    dlg->OnMenuCommand(command);
  }
  void SetClickedRow(int row) {
    // A right click over the row (or below the rows for -1) at the list's current layout.
    wxRect rect =
        row >= 0 ? List()->GetCellRect(row, 1) : List()->GetCellRect(List()->GetItemCount() - 1, 1);
    wxPoint point = rect.GetPosition() + wxPoint(5, row >= 0 ? 5 : rect.height + 20);
    dlg->OnListRightClick(List()->ClientToScreen(point));
  }
};

} // namespace

TEST_F(ListEditing, UpCarriesRecordTextsAndSelection) {
  AddRows();
  _stru_ItemData_ *b = dlg->GetFileList()->GetItemData(1);
  SelectOnly({1});
  dlg->OnBarCommand(kCmdMoveUp);
  EXPECT_EQ("BAC", Names());
  EXPECT_EQ("123", Numbers());
  EXPECT_EQ(b, dlg->GetFileList()->GetItemData(0));
  EXPECT_EQ("2", List()->GetItemText(0, 3));
  EXPECT_EQ(std::vector<int>{0}, List()->GetSelectedItems());
  EXPECT_EQ(b->szFilePath, List()->GetItemToolTipText(0, 1).ToStdWstring());
  dlg->OnBarCommand(kCmdMoveUp); // already first: nothing
  EXPECT_EQ("BAC", Names());
  dlg->OnBarCommand(kCmdMoveDown);
  EXPECT_EQ("ABC", Names());
  EXPECT_EQ(std::vector<int>{1}, List()->GetSelectedItems());
}

TEST_F(ListEditing, MoveRowUsesInsertionPositions) {
  AddRows();
  struct Case {
    int from, to;
    const char *result;
  } cases[] = {
      {0, 3, "BCA"}, {2, 0, "CAB"},  {0, 2, "BAC"}, {1, 1, "ABC"},
      {1, 2, "ABC"}, {-1, 0, "ABC"}, {0, 4, "ABC"}, {3, 0, "ABC"},
  };
  for (const Case &c : cases) {
    dlg->RemoveAllRows();
    AddRows();
    dlg->MoveRow(c.from, c.to);
    EXPECT_EQ(c.result, Names()) << c.from << " -> " << c.to;
    EXPECT_EQ("123", Numbers());
    for (int row = 0; row < 3; ++row)
      EXPECT_EQ(List()->GetItemText(row, 1).ToStdWstring(),
                dlg->GetFileList()->GetItemData(row)->szFilePath.substr(
                    dlg->GetFileList()->GetItemData(row)->szFilePath.rfind(L'/') + 1));
  }
}

TEST_F(ListEditing, ListButtonsFollowTheSelection) {
  AddRows(true);
  struct Case {
    std::vector<int> selected;
    bool up, down, remove, range;
  } cases[] = {
      {{}, false, false, false, false},    {{0}, false, true, true, true},
      {{1}, true, true, true, true},       {{3}, true, false, true, false},
      {{0, 2}, false, false, true, false},
  };
  for (const Case &c : cases) {
    List()->DeselectAll();
    for (int row : c.selected)
      List()->Select(row, true);
    EXPECT_EQ(c.up, ListButtonEnabled(kCmdMoveUp));
    EXPECT_EQ(c.down, ListButtonEnabled(kCmdMoveDown));
    EXPECT_EQ(c.remove, ListButtonEnabled(kCmdRemove));
    EXPECT_EQ(c.range, ListButtonEnabled(kCmdPageRange));
    EXPECT_TRUE(ListButtonEnabled(kCmdClear));
    EXPECT_TRUE(ListButtonEnabled(kCmdMergeSwitch));
    EXPECT_TRUE(ListButtonEnabled(kCmdUpgrade));
  }
}

TEST_F(ListEditing, RemoveDeletesTheSelectedRowsFromTheHighest) {
  AddRows();
  SelectOnly({0, 2});
  dlg->OnBarCommand(kCmdRemove);
  EXPECT_EQ("B", Names());
  EXPECT_EQ("1", Numbers());
}

TEST_F(ListEditing, DeleteKeyRemovesTheSelectionWhileTheListHasTheFocus) {
  AddRows();
  SelectOnly({1});
  List()->SetFocus();
  YieldToWindows();
  ASSERT_EQ(List(), wxWindow::FindFocus());
  wxKeyEvent key(wxEVT_CHAR_HOOK);
  key.m_keyCode = WXK_DELETE;
  dlg->GetEventHandler()->ProcessEvent(key);
  EXPECT_EQ("AC", Names());
  // Without a selection the key passes on.
  List()->DeselectAll();
  dlg->GetEventHandler()->ProcessEvent(key);
  EXPECT_EQ("AC", Names());
}

// A key typed while the list has the focus, as the window's key hook sees it first.
void TypeInList(CXListCtrl *list, int key, int modifiers = wxMOD_NONE) {
  wxKeyEvent event(wxEVT_CHAR_HOOK);
  event.m_keyCode = key;
  event.m_controlDown = (modifiers & wxMOD_CONTROL) != 0;
  event.m_shiftDown = (modifiers & wxMOD_SHIFT) != 0;
  event.SetEventObject(list);
  list->GetEventHandler()->ProcessEvent(event);
}

TEST_F(ListEditing, KeysOnTheListRunTheListCommands) {
  AddRows();
  List()->SetFocus();
  YieldToWindows();
  ASSERT_EQ(List(), wxWindow::FindFocus());
  SelectOnly({0});
  TypeInList(List(), WXK_DOWN, wxMOD_CONTROL);
  EXPECT_EQ("BAC", Names());
  EXPECT_TRUE(List()->IsSelected(1));
  EXPECT_EQ(1, List()->GetFocusedItem()); // the keyboard stays on the moved row
  TypeInList(List(), WXK_END, wxMOD_CONTROL);
  EXPECT_EQ("BCA", Names());
  TypeInList(List(), WXK_HOME, wxMOD_CONTROL);
  EXPECT_EQ("ABC", Names());
  TypeInList(List(), WXK_UP, wxMOD_CONTROL); // already first: nothing
  EXPECT_EQ("ABC", Names());
  EXPECT_EQ("123", Numbers());
  // Moves need one selected row, as the tool bar's Up and Down do.
  SelectOnly({0, 1});
  TypeInList(List(), WXK_DOWN, wxMOD_CONTROL);
  EXPECT_EQ("ABC", Names());

  // Enter acts as a double click: the page range of the first selected row.
  int rangeTotal = 0;
  dlg->pageRange = [&](CDlgChangePageRange &d) { return rangeTotal = d.nTotalPages, false; };
  SelectOnly({2});
  TypeInList(List(), WXK_RETURN);
  EXPECT_EQ(3, rangeTotal);
  EXPECT_TRUE(dlg->IsShown()); // and Enter still closes nothing

  // Shift+F10 and the Menu key: the context menu, for the selected row.
  SelectOnly({1});
  TypeInList(List(), WXK_F10, wxMOD_SHIFT);
  ASSERT_EQ(1u, dlg->popups.size());
  EXPECT_EQ(dlg->GetListMenu(), dlg->popups[0]);
  EXPECT_EQ(1, dlg->GetClickedRow());
  EXPECT_TRUE(dlg->GetListMenu()->IsEnabled(MenuItemIdFromCommand(ID_LIST_MOVE_UP)));
  List()->DeselectAll();
  TypeInList(List(), WXK_WINDOWS_MENU);
  ASSERT_EQ(2u, dlg->popups.size());
  EXPECT_EQ(-1, dlg->GetClickedRow());
  EXPECT_FALSE(dlg->GetListMenu()->IsEnabled(MenuItemIdFromCommand(ID_LIST_DELETE)));
}

TEST_F(ListEditing, EmptyingDisablesBuildAndEveryListButton) {
  AddRows();
  dlg->OnBarCommand(kCmdClear);
  EXPECT_EQ(0, List()->GetItemCount());
  EXPECT_FALSE(dlg->GetBuildBar()->IsButtonEnabled(0));
  for (int command : {kCmdMergeSwitch, kCmdPageRange, kCmdMoveUp, kCmdMoveDown, kCmdRemove,
                      kCmdClear, kCmdUpgrade})
    EXPECT_FALSE(ListButtonEnabled(command)) << command;
  MakeNumberedPdf(Home("again.pdf"), 1);
  AddRead(Wide(Home("again.pdf")));
  EXPECT_TRUE(ListButtonEnabled(kCmdMergeSwitch));
  EXPECT_TRUE(ListButtonEnabled(kCmdUpgrade));
  EXPECT_TRUE(dlg->GetBuildBar()->IsButtonEnabled(0));
}

TEST_F(ListEditing, ContextMenuEntriesFollowTheClickedRow) {
  AddRows();
  wxMenu *menu = dlg->GetListMenu();
  struct Case {
    int rows, clicked;
    bool open, del, empty, up, down, first, last;
  } cases[] = {
      {3, -1, false, false, true, false, false, false, false},
      {3, 0, true, true, true, false, true, false, true},
      {3, 1, true, true, true, true, true, true, true},
      {3, 2, true, true, true, true, false, true, false},
      {1, 0, true, true, true, false, false, false, false},
      {0, -1, false, false, false, false, false, false, false},
  };
  for (const Case &c : cases) {
    while (List()->GetItemCount() > c.rows)
      dlg->DeleteRow(List()->GetItemCount() - 1);
    dlg->EnableContextMenu(c.clicked);
    EXPECT_TRUE(IsMenuCommandEnabled(menu, ID_LIST_ADD_FILES));
    EXPECT_EQ(c.open, IsMenuCommandEnabled(menu, ID_LIST_OPEN_LOCATION)) << c.clicked;
    EXPECT_EQ(c.del, IsMenuCommandEnabled(menu, ID_LIST_DELETE)) << c.clicked;
    EXPECT_EQ(c.empty, IsMenuCommandEnabled(menu, ID_LIST_EMPTY)) << c.clicked;
    EXPECT_EQ(c.up, IsMenuCommandEnabled(menu, ID_LIST_MOVE_UP)) << c.clicked;
    EXPECT_EQ(c.down, IsMenuCommandEnabled(menu, ID_LIST_MOVE_DOWN)) << c.clicked;
    EXPECT_EQ(c.first, IsMenuCommandEnabled(menu, ID_LIST_MOVE_FIRST)) << c.clicked;
    EXPECT_EQ(c.last, IsMenuCommandEnabled(menu, ID_LIST_MOVE_LAST)) << c.clicked;
  }
}

TEST_F(ListEditing, RightClickPicksTheRowUnderThePointerAndShowsTheMenu) {
  AddRows();
  SetClickedRow(1);
  EXPECT_EQ(1, dlg->GetClickedRow());
  ASSERT_EQ(1u, dlg->popups.size());
  EXPECT_EQ(dlg->GetListMenu(), dlg->popups[0]);
  SetClickedRow(-1);
  EXPECT_EQ(-1, dlg->GetClickedRow());
  EXPECT_FALSE(IsMenuCommandEnabled(dlg->GetListMenu(), ID_LIST_DELETE));
}

TEST_F(ListEditing, ContextCommandsActOnTheClickedRow) {
  AddRows();
  Context(0, ID_LIST_MOVE_LAST);
  EXPECT_EQ("BCA", Names());
  EXPECT_EQ("123", Numbers());
  Context(2, ID_LIST_MOVE_FIRST);
  EXPECT_EQ("ABC", Names());
  Context(1, ID_LIST_MOVE_DOWN);
  EXPECT_EQ("ACB", Names());
  Context(1, ID_LIST_MOVE_UP);
  EXPECT_EQ("CAB", Names());
  Context(1, ID_LIST_OPEN_LOCATION);
  ASSERT_EQ(1u, dlg->shownInFileManager.size());
  EXPECT_EQ(Wide(Home("A.pdf")), dlg->shownInFileManager[0]);
  Context(0, ID_LIST_DELETE);
  EXPECT_EQ("AB", Names());
  Context(-1, ID_LIST_EMPTY);
  EXPECT_EQ("", Names());
}

TEST_F(ListEditing, PageRangeIsRefusedForPicturesAndUnreadablePdfs) {
  AddRows(true);
  WriteFileBytes(Home("broken.pdf"), "not a pdf");
  AddRead(Wide(Home("broken.pdf")));
  bool opened = false;
  dlg->pageRange = [&](CDlgChangePageRange &) { return opened = true; };
  dlg->ChangePageRange(3);
  dlg->ChangePageRange(4);
  ASSERT_EQ(2u, dlg->messages.size());
  EXPECT_EQ("Image file has only one page.There is no need to change its range.", dlg->messages[0]);
  // The engine's reason follows the message.
  EXPECT_TRUE(dlg->messages[1].StartsWith("Selected PDF File Load failed\n\n")) << dlg->messages[1];
  EXPECT_TRUE(dlg->messages[1].Contains("not a PDF")) << dlg->messages[1].ToStdString();
  EXPECT_FALSE(opened);
}

TEST_F(ListEditing, PageRangeSetAndBackToAllPages) {
  AddRows();
  dlg->pageRange = [](CDlgChangePageRange &d) {
    EXPECT_EQ(3, d.nTotalPages);
    EXPECT_EQ(0, d.nMode);
    d.nMode = 1;
    d.strRange = "1-2";
    return true;
  };
  // A double click on the third row opens the dialog.
  wxListEvent activate(wxEVT_LIST_ITEM_ACTIVATED, List()->GetId());
  activate.SetEventObject(List());
  activate.m_itemIndex = 2;
  List()->GetEventHandler()->ProcessEvent(activate);
  EXPECT_EQ("1-2", List()->GetItemText(2, 4));
  EXPECT_EQ(L"1-2", *dlg->GetFileList()->GetItemData(2)->pszPageRange);

  dlg->pageRange = [](CDlgChangePageRange &d) {
    EXPECT_EQ(1, d.nMode);
    EXPECT_EQ("1-2", d.strRange);
    d.nMode = 0;
    return true;
  };
  dlg->ChangePageRange(2);
  EXPECT_EQ("All(Double click to change the page range)", List()->GetItemText(2, 4));
  ASSERT_TRUE(dlg->GetFileList()->GetItemData(2)->pszPageRange);
  EXPECT_TRUE(dlg->GetFileList()->GetItemData(2)->HasAllPages());

  // Cancel changes nothing; a double click below the rows opens nothing.
  dlg->pageRange = [](CDlgChangePageRange &d) {
    d.nMode = 1;
    d.strRange = "3";
    return false;
  };
  dlg->ChangePageRange(2);
  EXPECT_EQ("All(Double click to change the page range)", List()->GetItemText(2, 4));
  activate.m_itemIndex = 7;
  int calls = 0;
  dlg->pageRange = [&](CDlgChangePageRange &) { return ++calls, false; };
  List()->GetEventHandler()->ProcessEvent(activate);
  EXPECT_EQ(0, calls);
}
