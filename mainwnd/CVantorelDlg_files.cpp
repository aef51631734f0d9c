// Adding files to the list: one file, the Add Files dialog and the folder scan. Drops arrive
// through CURLDropTarget and end in AddFile as well.
#include "CVantorelDlg.h"

#include "BarCommand.h"
#include "CCoolToolBar.h"
#include "CFileList.h"
#include "CLvCover.h"
#include "FileAdding.h"
#include "PathText.h"
#include "controls/CXListCtrl.h"

void CVantorelDlg::AddFile(const std::wstring &path) {
  // The cover goes at the first attempt, also for a name that is then refused.
  if (m_cover->IsShown())
    m_cover->Hide();
  if (!m_list->IsShown())
    m_list->Show();
  if (m_files->AppendFile(path) < 0)
    return;
  if (!m_buildBar->IsButtonEnabled(0)) {
    m_buildBar->EnableButton(kCmdBuild, true, false);
    m_buildBar->Refresh();
  }
  UpdateListButtons();
}

void CVantorelDlg::OnAddFiles() {
  std::vector<std::wstring> paths;
  if (AskFilesToAdd(m_settings.TrackFolder, &paths)) {
    for (const std::wstring &path : paths)
      AddFile(path);
    std::wstring folder;
    if (!paths.empty() && FolderOfPath(paths.back(), &folder, PathSeparators::kSlashOrBackslash))
      m_settings.TrackFolder = folder;
  }
  m_addBar->RefreshHover();
}

void CVantorelDlg::OnAddFolder() {
  std::wstring folder;
  if (!AskFolder(std::wstring(), &folder))
    return;
  ScanFolder(folder, [this](const std::wstring &path) { AddFile(path); });
  m_folderBar->RefreshHover();
}
