#include "MergeWorker.h"

#include "AnsiText.h"
#include "MergeJob.h"
#include "MergerTool.h"
#include "OutputNaming.h"
#include "PathText.h"

namespace {

const char *TextOrNull(const std::unique_ptr<std::string> &text) {
  return text ? text->c_str() : nullptr;
}

std::wstring JoinNotes(const std::vector<std::wstring> &notes) {
  std::wstring text;
  for (const std::wstring &note : notes) {
    if (!text.empty())
      text += L"\n";
    text += note;
  }
  return text;
}

// Callbacks and passwords, the same for every tool of a job. The open password is set in
// per-row runs only when it has a text. The permission text is passed only while the
// permission password is switched on: a text left in the disabled box must not become the
// owner password without the user knowing; with it off the engine makes the open password
// the owner password.
void PrepareTool(MergerTool &tool, MergeJob &job, bool perRow) {
  const CFSMSettings &s = job.settings;
  tool.SetCallBack(&job, MergeProgressCallback, MergeCancelCallback);
  tool.SetPasswordsUtf8(true);
  if (s.bOpenPwd && !(perRow && s.strOpenPwd.empty()))
    tool.SetOpenPwd(WideToUtf8(s.strOpenPwd).c_str());
  if (s.bPermissionPwd || s.bOpenPwd) {
    const std::string permission = s.bPermissionPwd ? WideToUtf8(s.strPermissionPwd) : "";
    tool.SetPemissionPwd(s.bPermissionPwd ? permission.c_str() : nullptr, s.bEditingAllowed != 0,
                         s.bCopyingAllowed != 0, s.bPrintingAllowed != 0);
  }
}

bool PasswordsFit(const CFSMSettings &s) {
  std::string unused;
  return (!s.bOpenPwd || ToEnginePassword(s.strOpenPwd, &unused)) &&
         (!s.bPermissionPwd || ToEnginePassword(s.strPermissionPwd, &unused));
}

const wchar_t kPasswordRefused[] = L"The password has a character that is no text.";

// What the run left out or mended, and why it failed, for the user.
void NoteOutcome(MergeJob &job, const MergerTool &tool, bool ok) {
  for (const MergeSourceNote &note : tool.GetNotices())
    job.vecNotes.push_back(
        FileNameOfPath(note.strPath) + L": " + (note.bSkipped ? L"skipped: " : L"") +
        (note.nPage > 0 ? L"page " + std::to_wstring(note.nPage) + L": " : L"") + note.strText);
  if (!ok && tool.GetFailureCode() != MERGE_FAILURE_CANCELLED && !tool.GetFailureText().empty())
    job.vecNotes.push_back(tool.GetFailureText());
}

void AppendRow(MergerTool &tool, const _stru_ItemData_ &row) {
  const std::unique_ptr<std::string> range = ToEngineText(row.pszPageRange);
  // The row's password (the job's copy keeps it alive for the run) opens an encrypted source.
  tool.AppendMergeSrc(row.nItemID, row.szFilePath.c_str(), row.nTotalPage, TextOrNull(range),
                      row.strPassword.empty() ? nullptr : row.strPassword.c_str());
}

} // namespace

bool ToEnginePassword(const std::wstring &text, std::string *out) {
  for (const wchar_t c : text)
    if (c == 0 || (c >= 0xD800 && c <= 0xDFFF) || static_cast<uint32_t>(c) > 0x10FFFF)
      return false;
  *out = WideToUtf8(text);
  return true;
}

std::unique_ptr<std::string> ToEngineText(const std::shared_ptr<std::wstring> &text) {
  if (!text || text->empty())
    return nullptr;
  return std::make_unique<std::string>(WideToAnsi(*text));
}

int RunMergeWorker(MergeJob &job) {
  return job.settings.bMergeOn == 1 ? RunSingleFile(job) : RunPerRow(job);
}

int RunSingleFile(MergeJob &job) {
  if (job.arrRows.empty()) {
    // The dialog waits for this notice; without it nothing would ever close it.
    job.Post(job.nMsgFinished, 0, 0, L"There are no files to merge.");
    return -1;
  }
  job.arrRows[0].nStatus = STATUS_WORKING;
  if (!PasswordsFit(job.settings)) {
    job.arrRows[0].nStatus = STATUS_LOAD_FAILED;
    job.Post(job.nMsgFinished, 0, 0, kPasswordRefused);
    return -2;
  }
  bool ok = false;
  {
    MergerTool tool;
    PrepareTool(tool, job, false);
    tool.SetLayout(job.settings.nPaperSize, job.settings.nNUp, job.settings.nOrientation);
    const std::wstring out = MakeMergedOutputPath(job);
    if (!out.empty()) {
      tool.SetOutPDFPath(out.c_str());
      for (const _stru_ItemData_ &row : job.arrRows)
        if (row.nStatus != STATUS_LOAD_FAILED)
          AppendRow(tool, row);
      ok = tool.StartMerge(0);
      NoteOutcome(job, tool, ok);
    }
  }
  job.arrRows[0].nStatus = ok ? STATUS_SUCCESS : STATUS_LOAD_FAILED;
  job.Post(job.nMsgFinished, ok ? 1 : 0, 0, JoinNotes(job.vecNotes));
  return ok ? 0 : -2;
}

int RunPerRow(MergeJob &job) {
  if (!PasswordsFit(job.settings)) {
    job.Post(job.nMsgFinished, 0, 0, kPasswordRefused);
    return -2;
  }
  const std::wstring suffix = GetRowSuffix(job.settings.nNUp);
  for (size_t i = 0; i < job.arrRows.size(); ++i) {
    _stru_ItemData_ &row = job.arrRows[i];
    if (row.nStatus == STATUS_LOAD_FAILED)
      continue;
    row.nStatus = STATUS_WORKING;
    const int nRow = static_cast<int>(i);
    const std::wstring out = MakeRowOutputPath(job, nRow, suffix);
    bool ok = false;
    if (!out.empty()) {
      MergerTool tool;
      PrepareTool(tool, job, true);
      // Every file of this mode is laid out with the automatic orientation.
      tool.SetLayout(job.settings.nPaperSize, job.settings.nNUp, 0);
      tool.SetOutPDFPath(out.c_str());
      AppendRow(tool, row);
      ok = tool.StartMerge(nRow);
      if (ok)
        job.WriteOutPath(nRow, out);
      else if (!job.cancelEvent.IsSignalled())
        job.vecNotes.push_back(L"Failed to merge:\n" + row.szFilePath);
      NoteOutcome(job, tool, ok);
    }
    row.nStatus = ok ? STATUS_SUCCESS : STATUS_FAILED;
    if (job.cancelEvent.IsSignalled())
      break;
  }
  job.Post(job.nMsgFinished, 1, 0, JoinNotes(job.vecNotes));
  return 0;
}
