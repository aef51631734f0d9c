#include "SourceCache.h"

#include "AnsiText.h"
#include "ImageSource.h"

#include <cwctype>

using namespace PoDoFo;

namespace engine {

namespace {

bool EndsWithNoCase(const std::wstring &text, const wchar_t *pszEnd) {
  const std::wstring end(pszEnd);
  if (text.size() < end.size())
    return false;
  for (size_t i = 0; i < end.size(); ++i) {
    if (static_cast<wchar_t>(std::towlower(text[text.size() - end.size() + i])) != end[i])
      return false;
  }
  return true;
}

} // namespace

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

SourceEntry &SourceCache::Register(const std::wstring &strPath) {
  auto &pEntry = mapEntries[strPath];
  if (!pEntry) {
    pEntry = std::make_unique<SourceEntry>();
    pEntry->nKind = KindFromPath(strPath);
  }
  ++pEntry->nRefCount;
  return *pEntry;
}

SourceEntry *SourceCache::Fetch(const std::wstring &strPath, const char *pszPassword) {
  auto found = mapEntries.find(strPath);
  if (found == mapEntries.end())
    return nullptr;
  SourceEntry &entry = *found->second;
  if (entry.nLoadState == 0) {
    entry.nLoadState = 2; // stays failed unless loading gets through
    if (entry.nKind == SRC_PDF)
      LoadPdf(entry, strPath, pszPassword);
    else if (entry.nKind == SRC_IMAGE)
      LoadImageSource(*pOutDoc, strPath, entry, encoder);
  }
  return entry.nLoadState == 1 ? &entry : nullptr;
}

void SourceCache::LoadPdf(SourceEntry &entry, const std::wstring &strPath,
                          const char *pszPassword) {
  auto pDoc = std::make_unique<PdfMemDocument>();
  try {
    const std::string path = WideToUtf8(strPath);
    try {
      pDoc->Load(path.c_str());
    } catch (PdfError &e) {
      if (e.GetError() != ePdfError_InvalidPassword || pszPassword == nullptr)
        throw;
      pDoc->SetPassword(pszPassword);
    }
    if (pOutDoc == nullptr)
      return;
    std::vector<PdfReference> pages;
    const int nPages = pDoc->GetPageCount();
    pages.reserve(static_cast<size_t>(nPages));
    for (int i = 0; i < nPages; ++i)
      pages.push_back(pDoc->GetPage(i)->GetObject()->Reference());
    const PdfReference catalog = pDoc->GetCatalog()->Reference();
    entry.nObjectOffset = pOutDoc->AppendObjects(*pDoc);
    entry.catalog = PdfReference(static_cast<pdf_objnum>(catalog.ObjectNumber() + entry.nObjectOffset),
                                 catalog.GenerationNumber());
    for (PdfReference &ref : pages)
      ref = PdfReference(static_cast<pdf_objnum>(ref.ObjectNumber() + entry.nObjectOffset),
                         ref.GenerationNumber());
    entry.vecPages = std::move(pages);
    entry.nLoadState = 1;
  } catch (PdfError &) {
    // Unreadable, not a PDF, wrong password, damaged beyond repair: the source is skipped.
    // Objects already moved are unreachable from the output and dropped before writing.
    entry.vecPages.clear();
  }
}

} // namespace engine
