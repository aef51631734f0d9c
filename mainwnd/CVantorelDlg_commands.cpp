// The main window's commands: the bars, the main menu, Build with its checks, the merge switch,
// help, the output folder buttons and the keys.
#include "CVantorelDlg.h"

#include "BarCommand.h"
#include "BuildCheck.h"
#include "CCoolButtonBar.h"
#include "CCoolToolBar.h"
#include "CFileList.h"
#include "COutputSetting.h"
#include "CReadOnlyComboBox.h"
#include "CoolBarTables.h"
#include "LanguageChanged.h"
#include "LanguageMenu.h"
#include "LeftOutRows.h"
#include "Localization.h"
#include "MainMenus.h"
#include "MenuCommandId.h"
#include "VendorSite.h"
#include "controls/CXListCtrl.h"

#include <wx/textctrl.h>
#include <wx/utils.h>

void CVantorelDlg::OnBarCommandEvent(wxCommandEvent &event) { OnBarCommand(event.GetInt()); }

void CVantorelDlg::OnBarCommand(int command) {
  switch (command) {
  case kCmdMainMenu: {
    const wxRect bar = m_titleBar->GetRect();
    PopupAt(m_mainMenu.get(), wxPoint(bar.GetLeft(), bar.GetBottom() + 1));
    m_titleBar->RefreshHover();
    break;
  }
  case kCmdMinimise:
    CallAfter([this] { Iconize(true); });
    break;
  case kCmdClose:
    EndMainWindow();
    break;
  case kCmdAddFiles:
    OnAddFiles();
    break;
  case kCmdAddFolder:
    OnAddFolder();
    break;
  case kCmdBuild:
    Build();
    m_buildBar->RefreshHover();
    break;
  case kCmdUpgrade:
    ShowUpgradeDialog();
    break;
  case kCmdMoveUp: {
    const int s = m_list->GetCurSel();
    if (s > 0)
      MoveRow(s, s - 1);
    break;
  }
  case kCmdMoveDown: {
    const int s = m_list->GetCurSel();
    if (s >= 0 && s < m_list->GetItemCount() - 1)
      MoveRow(s, s + 2);
    break;
  }
  case kCmdRemove:
    RemoveSelectedRows();
    break;
  case kCmdClear:
    RemoveAllRows();
    break;
  case kCmdPageRange: {
    const int s = m_list->GetCurSel();
    if (s >= 0) {
      ChangePageRange(s);
      m_listBar->RefreshHover();
    }
    break;
  }
  case kCmdMergeSwitch:
    ToggleMergeSwitch();
    break;
  default:
    break;
  }
}

void CVantorelDlg::OnMenu(wxCommandEvent &event) {
  OnMenuCommand(CommandFromMenuItemId(event.GetId()));
}

void CVantorelDlg::OnMenuCommand(int command) {
  if (command >= kLanguageCommandFirst && command <= kLanguageCommandLast) {
    const std::wstring code = ChooseLanguage(m_languageMenu, command, m_languageCodes);
    if (code.empty())
      return;
    m_settings.languageID = code;
    SaveSettingsNow();
    Retranslate();
    SendLanguageChanged(this);
    return;
  }
  const int c = m_nClickedRow;
  const int n = m_list->GetItemCount();
  switch (command) {
  case ID_HELP:
    Help();
    break;
  case ID_CHECK_UPDATE:
    ShowUpdateDialog();
    break;
  case ID_HOMEPAGE:
    OpenAddress(GetHomePageUrl());
    break;
  case ID_ABOUT:
    ShowAboutDialog();
    break;
  case ID_LIST_ADD_FILES:
    OnAddFiles();
    break;
  case ID_LIST_DELETE:
    if (c != -1)
      DeleteRow(c);
    break;
  case ID_LIST_EMPTY:
    RemoveAllRows();
    break;
  case ID_LIST_OPEN_LOCATION:
    if (c >= 0 && m_files->GetItemData(c))
      OpenInExplorer(m_files->GetItemData(c)->szFilePath);
    break;
  case ID_LIST_MOVE_UP:
    if (c != -1 && c > 0)
      MoveRow(c, c - 1);
    break;
  case ID_LIST_MOVE_DOWN:
    if (c != -1 && c < n - 1)
      MoveRow(c, c + 2);
    break;
  case ID_LIST_MOVE_FIRST:
    if (c != -1 && c > 0)
      MoveRow(c, 0);
    break;
  case ID_LIST_MOVE_LAST:
    if (c != -1 && c < n - 1)
      MoveRow(c, n);
    break;
  case ID_LIST_CHOOSE_PAGES:
    if (c != -1)
      ChoosePages(c);
    break;
  case ID_PREVIEW:
    OpenPreview();
    break;
  default:
    break;
  }
}

void CVantorelDlg::Build() {
  ReadOutputFolder();
  // The panel refuses values outside their ranges; merging with the old ones would not be what
  // the user sees.
  if (!m_panel->ExchangeFromControls())
    return;
  m_settings.strOutputFileName = m_outputName->GetValue().ToStdWstring();
  const std::wstring errors = CollectBuildErrors(m_settings);
  if (!errors.empty()) {
    ShowMessage(errors);
    return;
  }
  std::vector<_stru_ItemData_> rows;
  for (int row = 0; row < m_files->GetCount(); ++row)
    if (const _stru_ItemData_ *item = m_files->GetItemData(row))
      rows.push_back(*item);
  // No row is left out without a word: the user learns which and why before anything runs, and
  // an output without a page is never made.
  const std::vector<LeftOutRow> leftOut = FindLeftOutRows(rows);
  if (leftOut.size() == rows.size()) {
    ShowMessage(DescribeNothingToMerge(rows, leftOut));
    return;
  }
  if (!leftOut.empty() &&
      !AskYesNo(LoadLangString(IDS_LEFT_OUT_QUESTION) + L"\n" + ListLeftOutRows(rows, leftOut) +
                L"\n\n" + LoadLangString(IDS_BUILD_WITHOUT)))
    return;
  RunMergeProgress(rows, m_settings);
  ShowUpgradeDialog();
}

void CVantorelDlg::ToggleMergeSwitch() {
  m_settings.bMergeOn = m_settings.bMergeOn == 1 ? 0 : 1;
  m_listBar->SetButtonsWithPictures(kListToolBarCount, ListToolBarTable(m_settings.bMergeOn == 1));
  m_listBar->Refresh();
  PlaceListBar();
  SaveSettingsNow();
}

void CVantorelDlg::Help() { OpenAddress(GetTutorialPageUrl(GetCurrentLanguage())); }

void CVantorelDlg::ChooseOutputFolder() {
  std::wstring chosen;
  if (!AskFolder(m_settings.OutputFolder, &chosen))
    return;
  ReadOutputFolder();
  m_settings.OutputFolder = chosen;
  m_strOutputFolder = chosen;
  m_outputFolderEdit->ChangeValue(m_strOutputFolder);
  SaveSettingsNow();
}

void CVantorelDlg::OpenOutputFolder() {
  ReadOutputFolder();
  wxBusyCursor wait;
  OpenAddress(m_settings.OutputFolder);
}

void CVantorelDlg::OnBrowse(wxCommandEvent &) { ChooseOutputFolder(); }

void CVantorelDlg::OnOpenFolder(wxCommandEvent &) { OpenOutputFolder(); }

void CVantorelDlg::OnHelpEvent(wxHelpEvent &) { Help(); }

void CVantorelDlg::OnCharHook(wxKeyEvent &event) {
  const int key = event.GetKeyCode();
  if (m_list->IsShown() && FindFocus() == m_list && OnListKey(event))
    return;
  // Enter and Escape neither close the window nor press a button, wherever they are typed (a
  // focused bar takes its Space and Enter before they come here).
  if (key == WXK_ESCAPE || key == WXK_RETURN || key == WXK_NUMPAD_ENTER)
    return;
  if (key == WXK_F1) {
    Help();
    return;
  }
  if (OnPageViewKey(event))
    return;
  event.Skip();
}

bool CVantorelDlg::OnListKey(const wxKeyEvent &event) {
  const int key = event.GetKeyCode();
  const int modifiers = event.GetModifiers();
  const std::vector<int> selected = m_list->GetSelectedItems();
  const int single = selected.size() == 1 ? selected.front() : -1;
  const int count = m_list->GetItemCount();
  if (modifiers == wxMOD_NONE && key == WXK_DELETE) {
    if (selected.empty())
      return false;
    RemoveSelectedRows();
    return true;
  }
  // GTK names the Menu key WXK_MENU; WXK_WINDOWS_MENU is its name elsewhere.
  if ((modifiers == wxMOD_NONE && (key == WXK_RETURN || key == WXK_NUMPAD_ENTER)) ||
      (modifiers == wxMOD_NONE && (key == WXK_MENU || key == WXK_WINDOWS_MENU)) ||
      (modifiers == wxMOD_SHIFT && key == WXK_F10)) {
    if (key == WXK_RETURN || key == WXK_NUMPAD_ENTER) {
      if (!selected.empty())
        ActivateRow(selected.front());
    } else {
      ShowContextMenuForSelection();
    }
    return true;
  }
  if (modifiers != wxMOD_CONTROL)
    return false;
  // Ctrl with the arrows moves the one selected row, as the tool bar's Up and Down do, and
  // the keyboard stays on it.
  const auto move = [this](int from, int to, int landing) {
    MoveRow(from, to);
    m_list->SetFocusedItem(landing);
    m_list->EnsureVisible(landing);
  };
  switch (key) {
  case WXK_UP:
  case WXK_NUMPAD_UP:
    if (single > 0)
      move(single, single - 1, single - 1);
    return true;
  case WXK_DOWN:
  case WXK_NUMPAD_DOWN:
    if (single >= 0 && single < count - 1)
      move(single, single + 2, single + 1);
    return true;
  case WXK_HOME:
  case WXK_NUMPAD_HOME:
    if (single > 0)
      move(single, 0, 0);
    return true;
  case WXK_END:
  case WXK_NUMPAD_END:
    if (single >= 0 && single < count - 1)
      move(single, count, count - 1);
    return true;
  default:
    return false;
  }
}

void CVantorelDlg::OnClose(wxCloseEvent &event) {
  // Closing from the desktop (task bar, window manager keys) ends the run as the close button
  // does.
  if (IsModal()) {
    EndModal(wxID_CANCEL);
    return;
  }
  event.Skip();
}
