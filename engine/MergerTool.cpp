// Job state and its setters: the older way into the engine, Windows-1252 texts and range texts.
// StartMerge turns the state into one MergeRequest (MergerTool_merge.cpp).

#include "MergerTool.h"

#include "pdf/PasswordText.h"

#include <new>

namespace {

bool HasText(const char *psz) { return psz != nullptr && psz[0] != '\0'; }

} // namespace

MergerTool::MergerTool()
    : m_pfnProcess(nullptr), m_pfnCancel(nullptr), m_pUserData(nullptr), m_bOpenPwd(false),
      m_bPermissionPwd(false), m_nPermissions(0), m_nPageWidth(595), m_nPageHeight(842), m_nNUp(0),
      m_nOrientation(0), m_nTotalPages(0), m_nEncryption(ENCRYPT_AES_256), m_bBookmarks(true),
      m_bObjectStreams(true), m_bFlattenForms(false), m_bPasswordsUtf8(false),
      m_bSkipBadSources(true), m_nFailure(MERGE_FAILURE_NONE) {}

MergerTool::MergerTool(const MergerTool &other) : MergerTool() { CopyFrom(other); }

MergerTool &MergerTool::operator=(const MergerTool &other) {
  if (this != &other) {
    ClearMergeData();
    CopyFrom(other);
  }
  return *this;
}

MergerTool::~MergerTool() { ClearMergeData(); }

void MergerTool::CopyFrom(const MergerTool &other) {
  m_pfnProcess = other.m_pfnProcess;
  m_pfnCancel = other.m_pfnCancel;
  m_pUserData = other.m_pUserData;
  m_bOpenPwd = other.m_bOpenPwd;
  m_strOpenPwd = other.m_strOpenPwd;
  m_bPermissionPwd = other.m_bPermissionPwd;
  m_strPermissionPwd = other.m_strPermissionPwd;
  m_nPermissions = other.m_nPermissions;
  m_nPageWidth = other.m_nPageWidth;
  m_nPageHeight = other.m_nPageHeight;
  m_nNUp = other.m_nNUp;
  m_nOrientation = other.m_nOrientation;
  m_nTotalPages = other.m_nTotalPages;
  m_strOutPath = other.m_strOutPath;
  m_strProcessPath = other.m_strProcessPath;
  m_nEncryption = other.m_nEncryption;
  m_bPasswordsUtf8 = other.m_bPasswordsUtf8;
  m_bBookmarks = other.m_bBookmarks;
  m_bObjectStreams = other.m_bObjectStreams;
  m_bFlattenForms = other.m_bFlattenForms;
  m_bSkipBadSources = other.m_bSkipBadSources;
  m_nFailure = other.m_nFailure;
  m_strFailure = other.m_strFailure;
  m_vecNotices = other.m_vecNotices;
  // Each object owns its own records, so each is released exactly once.
  for (const auto &pSrc : other.m_lstSrc)
    m_lstSrc.push_back(std::make_unique<MergeSrc>(*pSrc));
}

void MergerTool::SetCallBack(void *pUserData, MergeProcessFn pfnProcess, MergeCancelFn pfnCancel) {
  m_pUserData = pUserData;
  m_pfnProcess = pfnProcess;
  m_pfnCancel = pfnCancel;
}

bool MergerTool::SetLayout(int32_t nWidth, int32_t nHeight, int32_t nNUp, int32_t nOrientation) {
  bool bResult = true;
  if (nWidth <= 0 || nHeight <= 0) {
    m_nPageWidth = m_nPageHeight = -1;
    bResult = false;
  } else {
    m_nPageWidth = nWidth;
    m_nPageHeight = nHeight;
  }
  if (static_cast<uint32_t>(nNUp) > 2)
    bResult = false;
  else
    m_nNUp = nNUp;
  m_nOrientation = (nOrientation < 0 || nOrientation > 2) ? 0 : nOrientation;
  return bResult;
}

bool MergerTool::SetLayout(int32_t nPaper, int32_t nNUp, int32_t nOrientation) {
  if (nPaper >= PAPER_A5 && nPaper <= PAPER_TABLOID) {
    m_nPageWidth = kMergePaperSizes[nPaper].nWidth;
    m_nPageHeight = kMergePaperSizes[nPaper].nHeight;
  } else {
    m_nPageWidth = m_nPageHeight = -1;
  }
  bool bResult = true;
  if (static_cast<uint32_t>(nNUp) > 2)
    bResult = false;
  else
    m_nNUp = nNUp;
  m_nOrientation = (nOrientation < 0 || nOrientation > 2) ? 0 : nOrientation;
  return bResult;
}

void MergerTool::SetOutPDFPath(const wchar_t *pszPath) { m_strOutPath = pszPath ? pszPath : L""; }

void MergerTool::SetProcessPath(const wchar_t *pszPath) {
  m_strProcessPath = pszPath ? pszPath : L"";
}

bool MergerTool::AppendMergeSrc(int32_t nIndex, const wchar_t *pszPath, int32_t nPageCount,
                                const char *pszRange, const char *pszPassword) {
  if (nIndex < 0 || pszPath == nullptr)
    return false;
  auto pSrc = std::make_unique<MergeSrc>();
  pSrc->nIndex = nIndex;
  pSrc->strPath = pszPath;
  pSrc->pszPassword = pszPassword;
  pSrc->nPageCount = nPageCount;
  if (pszRange != nullptr) {
    // A partly malformed range keeps the pages that could be read.
    pSrc->bAllPages = false;
    try {
      GetSelectPage(pszRange, pSrc->vecPages, nPageCount);
    } catch (const std::bad_alloc &) {
      return false; // a selection larger than memory: nothing is appended
    }
  } else {
    pSrc->bAllPages = true;
  }
  m_lstSrc.push_back(std::move(pSrc));
  return true;
}

bool MergerTool::AppendMergeSrc(int32_t nIndex, const wchar_t *pszPath, int32_t nPageCount,
                                const char *pszRange, const char *pszPassword, int64_t nFileSize,
                                int64_t nFileModified) {
  if (!AppendMergeSrc(nIndex, pszPath, nPageCount, pszRange, pszPassword))
    return false;
  m_lstSrc.back()->nFileSize = nFileSize;
  m_lstSrc.back()->nFileModified = nFileModified;
  return true;
}

void MergerTool::ClearMergeData() { m_lstSrc.clear(); }

void MergerTool::SetOpenPwd(const char *pszPassword) {
  if (HasText(pszPassword)) {
    m_bOpenPwd = true;
    m_strOpenPwd = pszPassword;
  } else {
    m_bOpenPwd = false; // the old text stays; it is cleared when the output is protected
  }
}

void MergerTool::SetPemissionPwd(const char *pszPassword, bool bEdit, bool bCopy, bool bPrint) {
  if (HasText(pszPassword)) {
    m_bPermissionPwd = true;
    m_strPermissionPwd = pszPassword;
  } else if (m_bOpenPwd) {
    m_bPermissionPwd = true;
    m_strPermissionPwd = m_strOpenPwd;
  } else {
    m_bPermissionPwd = false;
  }
  // Grants are only ever added: a later call with a switch off withdraws nothing.
  if (m_bPermissionPwd) {
    if (bEdit)
      m_nPermissions |= 8;
    if (bCopy)
      m_nPermissions |= 16;
    if (bPrint)
      m_nPermissions |= 4;
  }
}

bool MergerTool::SetEncryption(int32_t nEncryption) {
  if (nEncryption < ENCRYPT_RC4_40 || nEncryption > ENCRYPT_AES_256)
    return false;
  m_nEncryption = nEncryption;
  return true;
}

void MergerTool::SetPasswordsUtf8(bool bUtf8) { m_bPasswordsUtf8 = bUtf8; }

std::vector<std::string> MergerTool::GetPasswordForms(const char *pszPassword) {
  return pszPassword == nullptr ? std::vector<std::string>()
                                : engine::pdf::SourcePasswordForms(pszPassword, 4);
}

void MergerTool::SetBookmarks(bool bBookmarks) { m_bBookmarks = bBookmarks; }

void MergerTool::SetObjectStreams(bool bObjectStreams) { m_bObjectStreams = bObjectStreams; }

void MergerTool::SetFlattenForms(bool bFlattenForms) { m_bFlattenForms = bFlattenForms; }

void MergerTool::SetSkipBadSources(bool bSkip) { m_bSkipBadSources = bSkip; }

void MergerTool::NotifyProcess(int32_t nIndex, int32_t nPercent) {
  if (m_pUserData != nullptr && m_pfnProcess != nullptr)
    m_pfnProcess(m_pUserData, nIndex, WM_MERGE_PROGRESS, nPercent);
}

bool MergerTool::TestCancel() {
  if (m_pUserData != nullptr && m_pfnCancel != nullptr)
    return m_pfnCancel(m_pUserData);
  return false;
}
