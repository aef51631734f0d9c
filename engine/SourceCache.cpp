#include "SourceCache.h"

#include "AnsiText.h"
#include "Destinations.h"
#include "ImageSource.h"
#include "TextCompare.h"

#include <malloc.h>

namespace engine {

SourceEntry::~SourceEntry() = default;

SourceKind KindFromPath(const std::wstring &strPath) {
  for (const wchar_t *pszEnd : {L".jpg", L".bmp", L".png", L".tif"})
    if (EndsWithNoCase(strPath, pszEnd))
      return SRC_IMAGE;
  if (EndsWithNoCase(strPath, L".pdf"))
    return SRC_PDF;
  if (EndsWithNoCase(strPath, L".jpeg") || EndsWithNoCase(strPath, L".tiff"))
    return SRC_IMAGE;
  return SRC_OTHER;
}

std::wstring DescribeOpenFailure(pdf::OpenStatus status, const std::string &strDetail) {
  switch (status) {
  case pdf::OpenStatus::NotReadable:
    return L"cannot be read: " + Utf8ToWide(strDetail);
  case pdf::OpenStatus::NotPdf:
    return L"not a PDF (" + Utf8ToWide(strDetail) + L")";
  case pdf::OpenStatus::NeedsPassword:
    return L"needs a password";
  case pdf::OpenStatus::WrongPassword:
    return L"wrong password";
  default:
    return Utf8ToWide(strDetail);
  }
}

SourceEntry &SourceCache::Register(const std::wstring &strPath, int nPosition) {
  auto &pEntry = m_entries[strPath];
  if (!pEntry) {
    pEntry = std::make_unique<SourceEntry>();
    pEntry->nKind = KindFromPath(strPath);
  }
  ++pEntry->nRefCount;
  pEntry->nLastUse = nPosition;
  return *pEntry;
}

SourceEntry *SourceCache::Fetch(const std::wstring &strPath, const char *pszPassword, int64_t nSize,
                                int64_t nModified) {
  auto found = m_entries.find(strPath);
  if (found == m_entries.end())
    return nullptr;
  SourceEntry &entry = *found->second;
  if (entry.nLoadState == 0) {
    entry.nLoadState = 2; // stays failed unless loading gets through
    entry.opened = ReadFileStamp(strPath);
    // Pages were counted and chosen on the file the caller read; another one is not used.
    if (nSize >= 0 && entry.opened.bExists &&
        (entry.opened.nSize != nSize || entry.opened.nModified != nModified))
      entry.strFailure = L"changed since it was read (its size or time is not the same)";
    else if (entry.nKind == SRC_PDF)
      LoadPdf(entry, strPath, pszPassword);
    else if (entry.nKind == SRC_IMAGE)
      LoadImageSource(m_context, strPath, entry);
    else
      entry.strFailure = L"not a PDF or a picture the merge can use";
  }
  return entry.nLoadState == 1 ? &entry : nullptr;
}

void SourceCache::LoadPdf(SourceEntry &entry, const std::wstring &strPath,
                          const char *pszPassword) {
  pdf::OpenStatus status = pdf::OpenStatus::Ok;
  std::string why;
  MergeContext *pContext = &m_context;
  entry.doc = pdf::SourceDocument::Open(WideToUtf8(strPath), pszPassword, status, why,
                                        [pContext] { return pContext->Cancelled(); });
  if (status == pdf::OpenStatus::Cancelled)
    throw MergeCancelled();
  if (entry.doc == nullptr) {
    entry.strFailure = DescribeOpenFailure(status, why);
    return;
  }
  // Opening read the page tree and whatever the table pointed through: let the system have
  // those pages back before the copy starts.
  entry.doc->ReleasePages();
  const auto &pages = entry.doc->Pages();
  entry.nPageCount = pages.size();
  for (size_t i = 0; i < pages.size(); ++i)
    entry.pageIndex.emplace(pages[i].ref.num, i);
  entry.copier = std::make_unique<ObjectCopier>(
      *entry.doc, m_context.out.Writer(), m_context.features,
      [pContext] { pContext->CheckCancel(); }, &m_context.shared);
  entry.nLoadState = 1;
}

std::wstring SourceCache::ChangedSource() const {
  for (const auto &[path, pEntry] : m_entries) {
    if (pEntry->nLoadState != 1)
      continue;
    const FileStamp now = ReadFileStamp(path);
    const FileStamp &was = pEntry->opened;
    if (now.bExists != was.bExists || now.nDevice != was.nDevice || now.nInode != was.nInode ||
        now.nSize != was.nSize || now.nModified != was.nModified)
      return path;
  }
  return {};
}

std::wstring SourceCache::Failure(const std::wstring &strPath) const {
  auto found = m_entries.find(strPath);
  if (found == m_entries.end() || found->second->strFailure.empty())
    return L"cannot be used";
  return found->second->strFailure;
}

void SourceCache::Release(SourceEntry &entry) {
  if (entry.copier)
    entry.copier->Flush();
  struct Trim {
    ~Trim() {
      malloc_trim(0);
    } // what the source took goes back to the system, not just to the heap
  } trim;
  entry.copier.reset();
  entry.names.reset();
  entry.doc.reset();
  // Emptied by swapping: clear() would keep the tables' buckets for the rest of the run.
  entry.pageIndex = {};
  entry.forms = {};
  entry.sheetContents = {};
  entry.appearances = {};
  entry.turnedAppearances = {};
}

} // namespace engine
