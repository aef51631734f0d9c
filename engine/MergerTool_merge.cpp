// StartMerge and what it leaves behind: the run itself is engine::RunMerge.

#include "MergerTool.h"

#include "MergeRun.h"

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
  settings.strUserPwd = m_strOpenPwd;
  settings.strOwnerPwd = m_strPermissionPwd;
  settings.nPermissions = m_nPermissions;
  settings.nEncryption = m_nEncryption;
  settings.strOutPath = m_strOutPath;
  settings.nPagesBefore = m_nTotalPages;
  settings.progress = [this](int32_t nReportIndex, int32_t nPercent) {
    NotifyProcess(nReportIndex, nPercent);
  };
  settings.cancel = [this] { return TestCancel(); };

  engine::MergeOutcome outcome = engine::RunMerge(settings, nIndex);
  m_nTotalPages += outcome.nPagesCounted;
  m_nFailure = outcome.nFailure;
  m_strFailure = std::move(outcome.strFailure);
  m_vecNotices = std::move(outcome.notices);
  return outcome.bOk;
}

int32_t MergerTool::GetFailureCode() const { return m_nFailure; }

const std::wstring &MergerTool::GetFailureText() const { return m_strFailure; }

const std::vector<MergeSourceNote> &MergerTool::GetNotices() const { return m_vecNotices; }
