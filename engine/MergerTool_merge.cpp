// StartMerge and what it leaves behind: the run itself is engine::RunMerge, which takes one
// MergeRequest. The tool's own state becomes that request here, at the edge where its
// Windows-1252 passwords and wide paths turn into UTF-8.

#include "MergeRequest.h"

#include "AnsiText.h"
#include "MergeRun.h"
#include "pdf/PasswordText.h"

bool MergerTool::StartMerge(int32_t nIndex) {
  if (!m_bOpenPwd)
    m_strOpenPwd.clear();
  auto utf8 = [this](const std::string &text) {
    return m_bPasswordsUtf8 ? text : Cp1252ToUtf8(text);
  };
  MergeRequest request;
  request.strOutPath = WideToUtf8(m_strOutPath);
  request.nPageWidth = m_nPageWidth;
  request.nPageHeight = m_nPageHeight;
  request.nNUp = m_nNUp;
  request.nOrientation = m_nOrientation;
  request.bOpenPwd = m_bOpenPwd;
  request.strOpenPwd = utf8(m_strOpenPwd);
  request.bPermissionPwd = m_bPermissionPwd;
  request.strPermissionPwd = utf8(m_strPermissionPwd);
  request.nPermissions = m_nPermissions;
  request.nEncryption = m_nEncryption;
  request.bBookmarks = m_bBookmarks;
  request.bObjectStreams = m_bObjectStreams;
  request.bFlattenForms = m_bFlattenForms;
  request.bSkipBadSources = m_bSkipBadSources;
  request.vecSources.reserve(m_lstSrc.size());
  for (const auto &pSrc : m_lstSrc) {
    MergeRequestSource &source = request.vecSources.emplace_back();
    source.nIndex = pSrc->nIndex;
    source.strPath = WideToUtf8(pSrc->strPath);
    source.nPageCount = pSrc->nPageCount;
    source.bAllPages = pSrc->bAllPages;
    // Lent for the run, not copied: a selection may hold millions of pages.
    source.vecPages.swap(pSrc->vecPages);
    source.bHasPassword = pSrc->pszPassword != nullptr;
    source.strPassword = source.bHasPassword ? utf8(pSrc->pszPassword) : std::string();
    source.nFileSize = pSrc->nFileSize;
    source.nFileModified = pSrc->nFileModified;
  }
  const bool bOk = StartMerge(request, nIndex);
  auto source = request.vecSources.begin();
  for (const auto &pSrc : m_lstSrc)
    pSrc->vecPages.swap((source++)->vecPages);
  return bOk;
}

bool MergerTool::StartMerge(const MergeRequest &request, int32_t nIndex) {
  engine::MergeSettings settings;
  settings.pRequest = &request;
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
