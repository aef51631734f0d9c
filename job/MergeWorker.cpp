#include "MergeWorker.h"

#include "AnsiText.h"
#include "MergeJob.h"
#include "MergeRequest.h"
#include "OutputNaming.h"
#include "PathText.h"

namespace {

std::wstring JoinNotes(const std::vector<std::wstring> &notes) {
  std::wstring text;
  for (const std::wstring &note : notes) {
    if (!text.empty())
      text += L"\n";
    text += note;
  }
  return text;
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

// Runs the request with the job's callbacks; what the run left out or mended, and why it
// failed, go to the job's notes.
bool Run(MergeJob &job, const MergeRequest &request, int32_t nIndex) {
  MergerTool tool;
  tool.SetCallBack(&job, MergeProgressCallback, MergeCancelCallback);
  const bool ok = tool.StartMerge(request, nIndex);
  NoteOutcome(job, tool, ok);
  return ok;
}

} // namespace

MergeRequest MakeJobRequest(const CFSMSettings &s, bool perRow) {
  MergeRequest request;
  request.SetPaper(s.nPaperSize);
  request.nNUp = s.nNUp;
  // Every file of a per-row run is laid out with the automatic orientation.
  request.nOrientation = perRow ? 0 : s.nOrientation;
  // The permission text counts only while its password is switched on: a text left in the
  // disabled box must not become the owner password without the user knowing; the open
  // password is the owner's then.
  request.bOpenPwd = s.bOpenPwd != 0;
  request.strOpenPwd = request.bOpenPwd ? WideToUtf8(s.strOpenPwd) : std::string();
  request.bPermissionPwd = s.bPermissionPwd != 0;
  request.strPermissionPwd = request.bPermissionPwd ? WideToUtf8(s.strPermissionPwd) : "";
  if (request.bOpenPwd || request.bPermissionPwd)
    request.nPermissions =
        (s.bEditingAllowed ? 8 : 0) | (s.bCopyingAllowed ? 16 : 0) | (s.bPrintingAllowed ? 4 : 0);
  return request;
}

bool AppendRowSource(MergeRequest &request, const _stru_ItemData_ &row, std::wstring *why) {
  MergeRequestSource source;
  source.nIndex = row.nItemID;
  source.strPath = WideToUtf8(row.szFilePath);
  source.nPageCount = row.nTotalPage;
  source.bAllPages = row.HasAllPages();
  if (!source.bAllPages) {
    // The text was checked against this page count when it was set; read it the same way now
    // rather than merge something else than was chosen.
    PageRangeReading reading;
    if (!MergerTool::ReadPageRange(WideToUtf8(*row.pszPageRange).c_str(), row.nTotalPage,
                                   reading)) {
      // A long text (Choose Pages writes one for a scattered choice) is named by its start.
      const std::wstring &text = *row.pszPageRange;
      *why = FileNameOfPath(row.szFilePath) + L": the page range \"" +
             (text.size() > 60 ? text.substr(0, 50) + L"..." : text) +
             L"\" does not read at character " + std::to_wstring(reading.nPosition + 1) + L": " +
             reading.strReason;
      return false;
    }
    source.vecPages = std::move(reading.vecPages);
  }
  // The row's password opens an encrypted source.
  source.bHasPassword = !row.strPassword.empty();
  source.strPassword = row.strPassword;
  source.nFileSize = row.nReadSize;
  source.nFileModified = row.nReadModified;
  request.vecSources.push_back(std::move(source));
  return true;
}

bool ToEnginePassword(const std::wstring &text, std::string *out) {
  for (const wchar_t c : text)
    if (c == 0 || (c >= 0xD800 && c <= 0xDFFF) || static_cast<uint32_t>(c) > 0x10FFFF)
      return false;
  *out = WideToUtf8(text);
  return true;
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
  MergeRequest request = MakeJobRequest(job.settings, false);
  bool usable = true;
  for (const _stru_ItemData_ &row : job.arrRows) {
    std::wstring why;
    if (row.nStatus != STATUS_LOAD_FAILED && !AppendRowSource(request, row, &why)) {
      job.vecNotes.push_back(why);
      usable = false;
    }
  }
  // Named only when the rows are usable: a numbered name is not taken for a run that fails.
  const std::wstring out = usable ? MakeMergedOutputPath(job) : std::wstring();
  if (!out.empty()) {
    request.strOutPath = WideToUtf8(out);
    ok = Run(job, request, 0);
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
    MergeRequest request = MakeJobRequest(job.settings, true);
    std::wstring why;
    if (!AppendRowSource(request, row, &why)) {
      job.vecNotes.push_back(L"Failed to merge:\n" + row.szFilePath);
      job.vecNotes.push_back(why);
    } else if (!out.empty()) {
      request.strOutPath = WideToUtf8(out);
      ok = Run(job, request, nRow);
      if (ok)
        job.WriteOutPath(nRow, out);
      else if (!job.cancelEvent.IsSignalled())
        job.vecNotes.push_back(L"Failed to merge:\n" + row.szFilePath);
    }
    row.nStatus = ok ? STATUS_SUCCESS : STATUS_FAILED;
    if (job.cancelEvent.IsSignalled())
      break;
  }
  job.Post(job.nMsgFinished, 1, 0, JoinNotes(job.vecNotes));
  return 0;
}
