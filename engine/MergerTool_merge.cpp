// The merge run. Sources are counted first (the page total drives the progress steps), then
// placed in list order; each distinct path is loaded and copied once. Every library error
// ends the run as failed; cancellation is tested before every page.

#include "MergerTool.h"

#include "Destinations.h"
#include "AnsiText.h"
#include "PodofoSetup.h"
#include "Protection.h"
#include "SheetComposer.h"
#include "SourceCache.h"
#include "StagedOutput.h"

#include <algorithm>
#include <memory>
#include <new>

using namespace PoDoFo;

namespace {

// Thrown inside the run when the cancel callback says stop; never leaves StartMerge.
struct MergeCancelled {};

// The file name without folder and extension: the title of a source's outline entry.
std::wstring FileTitle(const std::wstring &strPath) {
  const size_t slash = strPath.find_last_of(L'/');
  std::wstring name = slash == std::wstring::npos ? strPath : strPath.substr(slash + 1);
  const size_t dot = name.find_last_of(L'.');
  if (dot != std::wstring::npos && dot > 0)
    name.erase(dot);
  return name;
}

// Percent values are truncated towards zero; placed pages never report past 95.
int32_t Percent(double value) { return static_cast<int32_t>(std::min(value, 95.0)); }

} // namespace

bool MergerTool::StartMerge(int32_t nIndex) {
  engine::EnsurePodofoReady();
  const bool bPerSource = nIndex < 0;
  auto checkCancel = [this] {
    if (TestCancel())
      throw MergeCancelled();
  };

  try {
    checkCancel();
    if (!bPerSource)
      NotifyProcess(nIndex, 5);

    engine::OutputDocument doc;
    engine::SourceCache cache(&doc);

    for (const MergeSrc *pSrc : m_lstSrc) {
      checkCancel();
      const engine::SourceEntry &entry = cache.Register(pSrc->strPath);
      if (entry.nKind == engine::SRC_PDF)
        m_nTotalPages += pSrc->bAllPages ? pSrc->nPageCount
                                         : static_cast<int32_t>(pSrc->vecPages.size());
      else if (entry.nKind == engine::SRC_IMAGE)
        m_nTotalPages += 1;
    }
    checkCancel();

    double dStep = m_nTotalPages > 0 ? 90.0 / m_nTotalPages : 0.0;
    double dValue = 5.0;
    engine::SheetComposer composer(m_nPageWidth, m_nPageHeight, &doc, m_nNUp, m_nOrientation);
    std::vector<engine::Occurrence> occurrences;
    auto record = [&occurrences](const engine::Placement &placement) {
      engine::Occurrence &occurrence = occurrences.back();
      if (!occurrence.bPlaced) {
        occurrence.bPlaced = true;
        occurrence.first = placement;
      }
    };

    for (auto it = m_lstSrc.begin(); it != m_lstSrc.end(); ++it) {
      const MergeSrc &src = **it;
      const int32_t nReportIndex = bPerSource ? src.nIndex - 1 : nIndex;
      if (bPerSource)
        dValue = 5.0;
      engine::SourceEntry *pEntry = cache.Fetch(src.strPath, src.pszPassword);
      if (pEntry == nullptr)
        continue;
      occurrences.emplace_back();
      occurrences.back().pEntry = pEntry;
      occurrences.back().strTitle = FileTitle(src.strPath);

      if (pEntry->nKind == engine::SRC_IMAGE) {
        checkCancel();
        record(composer.PlaceImage(pEntry->imageRef, pEntry->dImageWidth, pEntry->dImageHeight,
                                   pEntry->nOrientation));
        dValue += bPerSource ? 95.0 : dStep;
        NotifyProcess(nReportIndex, bPerSource ? static_cast<int32_t>(dValue) : Percent(dValue));
      } else {
        const auto &pages = pEntry->vecPages;
        int32_t nCount = src.bAllPages ? src.nPageCount : static_cast<int32_t>(src.vecPages.size());
        // A range that selected nothing contributes nothing; all pages of an unknown count
        // means every page the document has.
        if (src.bAllPages && nCount == 0)
          nCount = static_cast<int32_t>(pages.size());
        if (bPerSource)
          dStep = nCount > 0 ? 95.0 / nCount : 0.0;
        for (int32_t k = 0; k < nCount; ++k) {
          checkCancel();
          const int32_t nPage = src.bAllPages ? k : src.vecPages[static_cast<size_t>(k)] - 1;
          // A page outside the document (a stale page count, page 0) fails the run.
          if (nPage < 0 || nPage >= static_cast<int32_t>(pages.size()))
            PODOFO_RAISE_ERROR_INFO(ePdfError_PageNotFound, "selected page is outside the document");
          const PdfReference &page = pages[static_cast<size_t>(nPage)];
          const engine::Placement placement = composer.PlacePdfPage(page);
          record(placement);
          occurrences.back().mapPages.emplace(page, placement);
          occurrences.back().vecPlaced.emplace_back(page, placement);
          dValue += dStep;
          NotifyProcess(nReportIndex,
                        bPerSource ? static_cast<int32_t>(std::min(dValue, 100.0)) : Percent(dValue));
        }
      }
      // Per source, each finished source reports its own completion.
      if (bPerSource && std::next(it) != m_lstSrc.end())
        NotifyProcess(nReportIndex, 100);
    }
    composer.FinishSheet();
    doc.FinishPages();
    engine::Destinations destinations(doc, occurrences);
    engine::CarryLinks(doc, occurrences, destinations);
    if (m_bBookmarks)
      engine::BuildOutline(doc, occurrences, destinations);
    if (!bPerSource)
      NotifyProcess(nIndex, 95);

    checkCancel();
    doc.RemoveUnreachable();
    checkCancel();
    if (!bPerSource)
      NotifyProcess(nIndex, 97);

    if (!m_bOpenPwd)
      m_strOpenPwd.clear();
    if (m_bOpenPwd || m_bPermissionPwd)
      engine::ApplyProtection(doc, m_strOpenPwd, m_strPermissionPwd, m_nPermissions,
                              m_nEncryption);
    checkCancel();
    doc.SetPageMode(ePdfPageModeUseBookmarks);

    engine::StagedOutput output(WideToUtf8(m_strOutPath));
    if (!output.Ok())
      return false;
    doc.Write(output.TempPath().c_str());
    if (!output.Commit())
      return false;

    int32_t nFinalIndex = nIndex;
    if (bPerSource)
      nFinalIndex = m_lstSrc.empty() ? 0 : m_lstSrc.back()->nIndex - 1;
    NotifyProcess(nFinalIndex, 100);
    return true;
  } catch (const MergeCancelled &) {
    return false;
  } catch (const PdfError &) {
    return false;
  } catch (const std::exception &) {
    // Out of memory or a library fault on a malformed source: the run fails, the caller lives.
    return false;
  }
}
