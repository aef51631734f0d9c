// List editing: deleting and moving rows, the list tool bar's enabled buttons, the context
// menu, the page range of a row and showing a file in the file manager.
#include "CVantorelDlg.h"

#include "BarCommand.h"
#include "CCoolToolBar.h"
#include "CDlgChangePageRange.h"
#include "CFileList.h"
#include "FileListTexts.h"
#include "LangFormat.h"
#include "LeftOutRows.h"
#include "Localization.h"
#include "MainMenus.h"
#include "SourceProbeQueue.h"
#include "controls/CXListCtrl.h"

#include <wx/stattext.h>
#include <wx/utils.h>

namespace {
const int IDS_IMAGE_ONE_PAGE = 185;
const int IDS_NO_DATA = 186;
const int IDS_PDF_LOAD_FAILED = 188;
const int IDS_STILL_READING = 241;

const int kListCommands[] = {kCmdMergeSwitch, kCmdPageRange, kCmdMoveUp, kCmdMoveDown,
                             kCmdRemove,      kCmdClear,     kCmdUpgrade};
} // namespace

void CVantorelDlg::DeleteRow(int row) {
  if (row < 0 || row >= m_files->GetCount())
    return;
  // A row that waits for its reading is not read any more.
  if (const _stru_ItemData_ *item = m_files->GetItemData(row))
    m_reader->Cancel(item->nItemID);
  m_files->DeleteRow(row);
  if (m_files->GetCount() == 0) {
    m_listBar->DisableButton(kCmdClear, true);
    m_buildBar->DisableButton(kCmdBuild, true);
  }
  UpdateListButtons();
}

void CVantorelDlg::RemoveSelectedRows() {
  const std::vector<int> selected = m_list->GetSelectedItems(); // ascending
  for (auto it = selected.rbegin(); it != selected.rend(); ++it)
    DeleteRow(*it);
}

void CVantorelDlg::RemoveAllRows() {
  for (int row = m_files->GetCount() - 1; row >= 0; --row)
    DeleteRow(row);
}

void CVantorelDlg::MoveRow(int from, int to) {
  if (m_files->MoveRow(from, to))
    m_list->Refresh();
}

void CVantorelDlg::UpdateListButtons() {
  for (int command : kListCommands)
    m_listBar->EnableButton(command, true, false);
  const int count = m_list->GetItemCount();
  if (count == 0) {
    for (int command : kListCommands)
      m_listBar->EnableButton(command, false, false);
  } else {
    const std::vector<int> selected = m_list->GetSelectedItems();
    if (selected.empty()) {
      for (int command : {kCmdMoveUp, kCmdMoveDown, kCmdRemove, kCmdPageRange})
        m_listBar->EnableButton(command, false, false);
    } else if (selected.size() == 1) {
      const int s = selected.front();
      if (s == 0)
        m_listBar->EnableButton(kCmdMoveUp, false, false);
      if (s == count - 1)
        m_listBar->EnableButton(kCmdMoveDown, false, false);
      const _stru_ItemData_ *item = m_files->GetItemData(s);
      if (!item || !EndsWithPdf(item->szFilePath))
        m_listBar->EnableButton(kCmdPageRange, false, false);
    } else {
      for (int command : {kCmdMoveUp, kCmdMoveDown, kCmdPageRange})
        m_listBar->EnableButton(command, false, false);
    }
  }
  m_listBar->Refresh();
  ScheduleStatusLine();
}

void CVantorelDlg::ScheduleStatusLine() {
  // The line looks at every row: a folder of thousands of files added and read row by row sets
  // it once per batch of events rather than once per row.
  if (m_bStatusLinePending)
    return;
  m_bStatusLinePending = true;
  CallAfter([this] {
    m_bStatusLinePending = false;
    // The window may have been shut down while the call waited.
    if (!m_shutDown)
      UpdateStatusLine();
  });
}

void CVantorelDlg::UpdateStatusLine() {
  const std::vector<int> selected = m_list->GetSelectedItems();
  std::wstring text;
  LeftOutReason reason;
  int leftOut = 0;
  for (int row = 0; row < m_files->GetCount(); ++row) {
    const _stru_ItemData_ *item = m_files->GetItemData(row);
    if (item && FindLeftOutReason(*item, &reason))
      ++leftOut;
  }
  const _stru_ItemData_ *first = selected.empty() ? nullptr : m_files->GetItemData(selected[0]);
  if (first && FindLeftOutReason(*first, &reason))
    text = ShownFileName(first->szFilePath) + L": " + DescribeLeftOutReason(*first, reason);
  else if (leftOut > 0)
    text = FormatLangText(LoadLangString(IDS_LEFT_OUT_SUMMARY), {leftOut});
  if (m_statusLine->GetLabelText() == text)
    return;
  m_statusLine->SetLabelText(text);
  // The line is cut to the window's width; its tool tip holds all of it.
  m_statusLine->SetToolTip(text);
}

void CVantorelDlg::EnableContextMenu(int clickedRow) {
  wxMenu *menu = m_listMenu.get();
  const int n = m_list->GetItemCount();
  EnableMenuCommand(menu, ID_LIST_ADD_FILES, true);
  EnableMenuCommand(menu, ID_LIST_EMPTY, n >= 1);
  EnableMenuCommand(menu, ID_PREVIEW, n >= 1);
  const _stru_ItemData_ *clicked = m_files->GetItemData(clickedRow);
  EnableMenuCommand(menu, ID_LIST_CHOOSE_PAGES, clicked && EndsWithPdf(clicked->szFilePath));
  const int moves[] = {ID_LIST_MOVE_UP, ID_LIST_MOVE_DOWN, ID_LIST_MOVE_LAST, ID_LIST_MOVE_FIRST};
  if (clickedRow == -1) {
    EnableMenuCommand(menu, ID_LIST_OPEN_LOCATION, false);
    EnableMenuCommand(menu, ID_LIST_DELETE, false);
    for (int command : moves)
      EnableMenuCommand(menu, command, false);
    return;
  }
  EnableMenuCommand(menu, ID_LIST_OPEN_LOCATION, true);
  EnableMenuCommand(menu, ID_LIST_DELETE, true);
  if (clickedRow == 0) {
    EnableMenuCommand(menu, ID_LIST_MOVE_UP, false);
    EnableMenuCommand(menu, ID_LIST_MOVE_FIRST, false);
    EnableMenuCommand(menu, ID_LIST_MOVE_DOWN, n > 1);
    EnableMenuCommand(menu, ID_LIST_MOVE_LAST, n > 1);
  } else if (n == clickedRow + 1) {
    EnableMenuCommand(menu, ID_LIST_MOVE_DOWN, false);
    EnableMenuCommand(menu, ID_LIST_MOVE_LAST, false);
    EnableMenuCommand(menu, ID_LIST_MOVE_UP, true);
    EnableMenuCommand(menu, ID_LIST_MOVE_FIRST, true);
  } else {
    for (int command : moves)
      EnableMenuCommand(menu, command, true);
  }
}

void CVantorelDlg::OnListRightClick(const wxPoint &screenPoint) {
  m_nClickedRow = m_list->HitTest(m_list->ScreenToClient(screenPoint));
  EnableContextMenu(m_nClickedRow);
  PopupAt(m_listMenu.get(), ScreenToClient(screenPoint));
}

const _stru_ItemData_ *CVantorelDlg::PdfRowForPages(int row) {
  const _stru_ItemData_ *item = m_files->GetItemData(row);
  if (!item) {
    ShowMessage(LoadLangString(IDS_NO_DATA));
    return nullptr;
  }
  if (!EndsWithPdf(item->szFilePath)) {
    ShowMessage(LoadLangString(IDS_IMAGE_ONE_PAGE));
    return nullptr;
  }
  if (item->nReadState == READ_PENDING) {
    ShowMessage(LoadLangString(IDS_STILL_READING));
    return nullptr;
  }
  if (item->nReadState == READ_NEEDS_PASSWORD) {
    AskSourcePassword(row);
    return nullptr;
  }
  if (item->nTotalPage <= 0) {
    // The reason comes from the reading: the file is not read again here.
    wxString text = LoadLangString(IDS_PDF_LOAD_FAILED);
    if (!item->strReadProblem.empty())
      text += "\n\n" + item->strReadProblem;
    ShowMessage(text);
    return nullptr;
  }
  return item;
}

void CVantorelDlg::ChangePageRange(int row) {
  const _stru_ItemData_ *item = PdfRowForPages(row);
  if (!item)
    return;
  CDlgChangePageRange dialog(this);
  dialog.nTotalPages = item->nTotalPage;
  if (!item->HasAllPages()) {
    dialog.nMode = 1;
    dialog.strRange = *item->pszPageRange;
  } else {
    dialog.nMode = 0;
  }
  dialog.pOwner = this;
  if (!RunPageRangeDialog(dialog))
    return;
  if (dialog.nMode == 1)
    m_files->SetPageRange(row, dialog.strRange.ToStdWstring());
  else if (dialog.nMode == 0)
    m_files->SetAllPages(row);
  UpdateStatusLine();
}

void CVantorelDlg::OpenInExplorer(const std::wstring &path) {
  wxBusyCursor wait;
  ShowInFileManagerAt(path);
}

void CVantorelDlg::OnListSelection(wxListEvent &event) {
  event.Skip();
  UpdateListButtons();
}

void CVantorelDlg::ActivateRow(int row) {
  if (row >= 0 && row < m_list->GetItemCount())
    ChangePageRange(row);
}

void CVantorelDlg::OnListActivated(wxListEvent &event) {
  ActivateRow(static_cast<int>(event.GetIndex()));
}

void CVantorelDlg::ShowContextMenuForSelection() {
  const std::vector<int> selected = m_list->GetSelectedItems();
  m_nClickedRow = selected.empty() ? -1 : selected.front();
  EnableContextMenu(m_nClickedRow);
  // Below the row's text, as if the row had been right-clicked there; at the list's top-left
  // without a selection.
  wxPoint at = m_list->GetPosition() + wxPoint(8, 8);
  if (m_nClickedRow >= 0) {
    m_list->EnsureVisible(m_nClickedRow);
    const wxRect cell = m_list->GetCellRect(m_nClickedRow, 1);
    at = m_list->GetPosition() + m_list->GetClientAreaOrigin() + cell.GetBottomLeft() +
         wxPoint(4, 0);
  }
  PopupAt(m_listMenu.get(), at);
}

void CVantorelDlg::OnListContextMenu(wxContextMenuEvent &event) {
  // GTK asks for the menu from the keyboard (the Menu key, Shift+F10) without a position; a
  // request with a position comes from a right click, which has opened the menu already.
  if (event.GetPosition() == wxDefaultPosition)
    ShowContextMenuForSelection();
  else
    event.Skip();
}

void CVantorelDlg::OnListRightClickEvent(wxListEvent &) {
  // The mouse pointer's current position, as the menu is shown where the pointer is.
  OnListRightClick(wxGetMousePosition());
}
