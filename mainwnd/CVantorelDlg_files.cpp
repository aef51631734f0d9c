// Adding files to the list: one file, the Add Files dialog and the folder scan. Drops arrive
// through CURLDropTarget and end in AddFile as well. PDFs are read afterwards, in the
// background: their answers, and the password of a PDF that needs one, are taken here too.
#include "CVantorelDlg.h"

#include "BarCommand.h"
#include "CCoolToolBar.h"
#include "CDlgSourcePassword.h"
#include "CFileList.h"
#include "CLvCover.h"
#include "FileAdding.h"
#include "LeftOutRows.h"
#include "Localization.h"
#include "MergeWorker.h"
#include "MergerTool.h"
#include "PathText.h"
#include "SourceProbeQueue.h"
#include "controls/CXListCtrl.h"

#include <wx/utils.h>
#include <wx/wupdlock.h>

namespace {
const int IDS_WRONG_PASSWORD = 234;
const int IDS_PASSWORD_UNUSABLE = 242;
} // namespace

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

void CVantorelDlg::AddFiles(const std::vector<std::wstring> &paths) {
  if (paths.empty())
    return;
  // The list redraws each changed cell at once, and with it whatever else waits to be redrawn
  // (the list tool bar after each row): with the window frozen, a folder costs one redraw.
  wxWindowUpdateLocker frozen(this);
  for (const std::wstring &path : paths)
    AddFile(path);
}

void CVantorelDlg::OnAddFiles() {
  std::vector<std::wstring> paths;
  if (AskFilesToAdd(m_settings.TrackFolder, &paths)) {
    AddFiles(paths);
    std::wstring folder;
    if (!paths.empty() && FolderOfPath(paths.back(), &folder, PathSeparators::kSlashOrBackslash) &&
        folder != m_settings.TrackFolder) {
      m_settings.TrackFolder = folder;
      SaveSettingsNow();
    }
  }
  m_addBar->RefreshHover();
}

std::wstring CVantorelDlg::GetAddFolderStart() const {
  return m_addFolderStart.empty() ? wxGetHomeDir().ToStdWstring() : m_addFolderStart;
}

void CVantorelDlg::OnAddFolder() {
  std::wstring folder;
  if (!AskFolder(GetAddFolderStart(), &folder))
    return;
  m_addFolderStart = folder;
  std::vector<std::wstring> paths;
  ScanFolder(folder, [&paths](const std::wstring &path) { paths.push_back(path); });
  AddFiles(paths);
  m_folderBar->RefreshHover();
}

bool CVantorelDlg::IsReadingFiles() const { return m_files && m_files->GetReadingCount() > 0; }

void CVantorelDlg::OnReadAnswer(int32_t id, const ProbeReply &reply) {
  if (!m_files)
    return; // shut down meanwhile
  if (id < 0) {
    // A password check of the password dialog.
    if (m_passwordCheck && id == m_passwordCheckId)
      m_passwordCheck(reply);
    return;
  }
  // A row removed while it was read takes nothing. A reader that crashed or hung gave no reason
  // of its own: the row says what happened.
  const std::wstring reason = reply.reason.empty() && reply.nStatus == kProbeHelperFailed
                                  ? LoadLangString(IDS_READER_STOPPED)
                                  : reply.reason;
  if (m_files->TakeReadAnswer(id, reply.nPages, reply.nStatus == PROBE_NEEDS_PASSWORD, reason,
                              reply.nFileSize, reply.nFileModified))
    ScheduleStatusLine();
}

void CVantorelDlg::AskSourcePassword(int row) {
  const _stru_ItemData_ *item = m_files->GetItemData(row);
  if (!item || item->nReadState != READ_NEEDS_PASSWORD)
    return;
  const int32_t id = item->nItemID;
  const std::wstring path = item->szFilePath;
  CDlgSourcePassword dialog(this, ShownFileName(path));
  std::string accepted;
  ProbeReply answer;
  dialog.onCheck = [&](const wxString &typed) {
    std::string password;
    if (!ToEnginePassword(typed.ToStdWstring(), &password)) {
      dialog.Answer(false, LoadLangString(IDS_PASSWORD_UNUSABLE));
      return;
    }
    // Checked by the reader, ahead of the rows that wait: a wrong password is said in the
    // dialog, which stays open for another try.
    // Each check its own (negative) identifier: an answer to a check given up before cannot
    // pass for this one.
    m_passwordCheckId = --m_lastPasswordCheckId;
    m_passwordCheck = [&dialog, &accepted, &answer, password](const ProbeReply &reply) {
      if (reply.nPages <= 0 &&
          (reply.nStatus == PROBE_WRONG_PASSWORD || reply.nStatus == PROBE_NEEDS_PASSWORD)) {
        dialog.Answer(false, LoadLangString(IDS_WRONG_PASSWORD));
        return;
      }
      // Damaged encryption (or any other failure) is no accepted password: the dialog says
      // why, and the row keeps waiting for a password that opens it.
      if (reply.nPages < 0) {
        dialog.Answer(false, reply.reason);
        return;
      }
      accepted = password;
      answer = reply;
      dialog.Answer(true);
    };
    ProbeRequest request;
    request.path = path;
    request.hasPassword = true;
    request.password = password;
    m_reader->Add(m_passwordCheckId, request, true);
  };
  const bool ok = RunPasswordDialog(dialog);
  m_passwordCheck = nullptr;
  m_passwordCheckId = 0;
  if (!ok || !dialog.IsAccepted())
    return;
  const int now = m_files->FindRow(id);
  if (now < 0)
    return;
  // The password stays with the row, in memory only, for the merge.
  m_files->GetItemData(now)->strPassword = answer.nPages > 0 ? accepted : std::string();
  m_files->TakeReadAnswer(id, answer.nPages, false, answer.reason, answer.nFileSize,
                          answer.nFileModified);
  UpdateListButtons();
}
