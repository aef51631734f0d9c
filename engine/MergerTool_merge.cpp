// StartMerge and what it leaves behind: the run itself is engine::RunMerge.

#include "MergerTool.h"

#include "MergeRun.h"
#include "pdf/PasswordText.h"

bool MergerTool::StartMerge(int32_t nIndex) {
  engine::MergeSettings settings;
  settings.pSources = &m_lstSrc;
  settings.dWidth = m_nPageWidth;
  settings.dHeight = m_nPageHeight;
  settings.nNUp = m_nNUp;
  settings.nOrientation = m_nOrientation;
  settings.bBookmarks = m_bBookmarks;
  settings.bObjectStreams = m_bObjectStreams;
  settings.bFlattenForms = m_bFlattenForms;
  settings.bSkipBadSources = m_bSkipBadSources;
  if (!m_bOpenPwd)
    m_strOpenPwd.clear();
  settings.bProtect = m_bOpenPwd || m_bPermissionPwd;
  // Passwords are UTF-8 inside the engine; older callers give Windows-1252.
  auto utf8 = [this](const std::string &text) {
    return m_bPasswordsUtf8 ? text : engine::pdf::Cp1252ToUtf8(text);
  };
  settings.strUserPwd = utf8(m_strOpenPwd);
  settings.strOwnerPwd = utf8(m_strPermissionPwd);
  // Source passwords too, for this run only: the records keep the caller's pointers.
  std::list<std::string> converted;
  std::vector<std::pair<MergeSrc *, const char *>> given;
  for (const auto &pSrc : m_lstSrc)
    if (!m_bPasswordsUtf8 && pSrc->pszPassword != nullptr) {
      given.emplace_back(pSrc.get(), pSrc->pszPassword);
      pSrc->pszPassword = converted.emplace_back(utf8(pSrc->pszPassword)).c_str();
    }
  settings.nPermissions = m_nPermissions;
  settings.nEncryption = m_nEncryption;
  settings.strOutPath = m_strOutPath;
  settings.nPagesBefore = m_nTotalPages;
  settings.progress = [this](int32_t nReportIndex, int32_t nPercent) {
    NotifyProcess(nReportIndex, nPercent);
  };
  settings.cancel = [this] { return TestCancel(); };

  engine::MergeOutcome outcome = engine::RunMerge(settings, nIndex);
  for (const auto &[pSrc, pszPassword] : given)
    pSrc->pszPassword = pszPassword;
  m_nTotalPages += outcome.nPagesCounted;
  m_nFailure = outcome.nFailure;
  m_strFailure = std::move(outcome.strFailure);
  m_vecNotices = std::move(outcome.notices);
  return outcome.bOk;
}

int32_t MergerTool::GetFailureCode() const { return m_nFailure; }

const std::wstring &MergerTool::GetFailureText() const { return m_strFailure; }

const std::vector<MergeSourceNote> &MergerTool::GetNotices() const { return m_vecNotices; }
