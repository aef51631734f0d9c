#include "PreviewMerge.h"

#include "AnsiText.h"
#include "HeldFolder.h"
#include "MergeJob.h"
#include "SystemFolders.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

std::wstring TextOf(const std::shared_ptr<std::wstring> &buffer) {
  return buffer ? *buffer : std::wstring();
}

bool IsRegularFile(const std::wstring &path) {
  std::error_code error;
  return std::filesystem::is_regular_file(std::filesystem::path(WideToUtf8(path)), error);
}

bool SameRow(const _stru_ItemData_ &a, const _stru_ItemData_ &b) {
  return a.szFilePath == b.szFilePath && TextOf(a.pszPageRange) == TextOf(b.pszPageRange) &&
         a.nStatus == b.nStatus && a.nTotalPage == b.nTotalPage && a.strPassword == b.strPassword;
}

} // namespace

bool MakeSameSheets(const PreviewInputs &a, const PreviewInputs &b) {
  const CFSMSettings &s = a.settings, &t = b.settings;
  if (s.nPaperSize != t.nPaperSize || s.nNUp != t.nNUp || s.nOrientation != t.nOrientation ||
      (s.bMergeOn == 1) != (t.bMergeOn == 1) || a.rows.size() != b.rows.size())
    return false;
  for (size_t i = 0; i < a.rows.size(); ++i)
    if (!SameRow(a.rows[i], b.rows[i]))
      return false;
  return true;
}

PreviewMerge::PreviewMerge(MergeNotifySink *notify, const PreviewInputs &inputs,
                           const std::wstring &tmpFolder)
    : m_pNotify(notify), m_inputs(inputs), m_strTmpFolder(tmpFolder) {
  // Buffers of their own: the job writes output paths into them.
  for (_stru_ItemData_ &row : m_inputs.rows) {
    row.pszOutPath = std::make_shared<std::wstring>();
    if (row.pszPageRange)
      row.pszPageRange = std::make_shared<std::wstring>(*row.pszPageRange);
  }
}

PreviewMerge::~PreviewMerge() { RemoveFiles(); }

bool PreviewMerge::Start() {
  if (m_pJob)
    return false;
  std::wstring base = m_strTmpFolder;
  if (base.empty())
    return false;
  if (base.back() != L'/')
    base += L'/';
  CreateFolderPath(base);
  // Folders of previews whose program crashed go now.
  RemoveAbandonedFolders(base, "preview-");
  if (!m_folder.Create(base, "preview-"))
    return false;

  CFSMSettings settings = m_inputs.settings;
  settings.OutputFolder = m_folder.Path();
  settings.strOutputFileName = L"preview";
  settings.bOpenPwd = 0;
  settings.bPermissionPwd = 0;
  m_pJob = std::make_shared<MergeJob>(m_pNotify, m_inputs.rows, settings);
  if (!m_pJob->Start()) {
    m_pJob.reset();
    RemoveFiles();
    return false;
  }
  return true;
}

void PreviewMerge::Cancel() {
  if (m_pJob)
    m_pJob->Cancel();
}

std::vector<std::wstring> PreviewMerge::Outputs() {
  std::vector<std::wstring> outputs;
  if (!m_pJob)
    return outputs;
  m_pJob->Stop(); // the worker has posted its last notice: this only joins it
  const std::vector<_stru_ItemData_> &rows = m_pJob->arrRows;
  auto written = [](const _stru_ItemData_ &row) {
    return row.nStatus == STATUS_SUCCESS && row.pszOutPath && IsRegularFile(*row.pszOutPath);
  };
  if (m_pJob->settings.bMergeOn == 1) {
    if (!rows.empty() && written(rows[0])) // the single file's path is in row 0
      outputs.push_back(*rows[0].pszOutPath);
    return outputs;
  }
  // One file per row. Row 0's buffer holds the output folder while later rows are named, so its
  // file is the one in the folder that no other row wrote.
  std::vector<std::wstring> others;
  for (size_t i = 1; i < rows.size(); ++i)
    if (written(rows[i]))
      others.push_back(*rows[i].pszOutPath);
  if (!rows.empty() && rows[0].nStatus == STATUS_SUCCESS) {
    std::error_code error;
    for (const auto &entry : std::filesystem::directory_iterator(
             std::filesystem::path(WideToUtf8(m_folder.Path())), error)) {
      const std::wstring path = Utf8ToWide(entry.path().string());
      if (entry.is_regular_file() &&
          std::find(others.begin(), others.end(), path) == others.end()) {
        outputs.push_back(path);
        break;
      }
    }
  }
  outputs.insert(outputs.end(), others.begin(), others.end());
  return outputs;
}

void PreviewMerge::RemoveFiles() {
  if (m_pJob)
    m_pJob->Stop();
  m_folder.Remove();
}
