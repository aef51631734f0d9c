// The merge run. Sources are counted first (the page total drives the progress steps), then
// placed in list order: each distinct path is read once, the objects its placed pages need are
// written as the pages are placed, and a source is closed after its last occurrence. Links and
// outline entries are written when their occurrence is placed; only links into pages that a
// later occurrence of the same file may place wait for the end. Cancellation is tested before
// every page and while objects are written.

#include "MergeRun.h"

#include "AnnotationCarrier.h"
#include "AnsiText.h"
#include "Destinations.h"
#include "DocumentInfo.h"
#include "DocumentSettings.h"
#include "EmbeddedFiles.h"
#include "FileIdentity.h"
#include "FormFields.h"
#include "LinkCarrier.h"
#include "OptionalContent.h"
#include "OutlineBuilder.h"
#include "PageLabels.h"
#include "PathText.h"
#include "PdfText.h"
#include "Protection.h"
#include "SheetComposer.h"
#include "SourceCache.h"
#include "SourcePages.h"
#include "StructureTree.h"
#include "pdf/StreamFilters.h"

#include <podofo/podofo.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <unistd.h>

namespace engine {

using pdf::Value;

namespace {

// A bare file name is a name in the current folder.
std::wstring FullPath(const std::wstring &strPath) {
  return strPath.find(L'/') == std::wstring::npos ? L"./" + strPath : strPath;
}

// The file name without folder and extension: the title of a source's outline entry.
std::wstring FileTitle(const std::wstring &strPath) { return FileTitleOfPath(FullPath(strPath)); }

std::wstring FileName(const std::wstring &strPath) { return FileNameOfPath(FullPath(strPath)); }

// A file identifier: unique per written file, as the standard asks.
std::string DocumentId(const std::wstring &strOutPath) {
  const auto now = std::chrono::system_clock::now().time_since_epoch().count();
  const std::string seed =
      WideToUtf8(strOutPath) + ":" + std::to_string(now) + ":" + std::to_string(getpid());
  return Sha256(seed).substr(0, 16);
}

class Run {
public:
  Run(const MergeSettings &settings, int32_t nIndex)
      : m_settings(settings), m_request(*settings.pRequest), m_nIndex(nIndex),
        m_bPerSource(nIndex < 0), m_strOutPath(Utf8ToWide(m_request.strOutPath)),
        m_out(m_request.strOutPath), m_context{m_out, settings.cancel, {}, {}, 14, false, {}},
        m_cache(m_context), m_forms(m_request.nNUp == 0 && !m_request.bFlattenForms,
                                    [this] { m_context.CheckCancel(); }),
        m_annots([this] { m_context.CheckCancel(); }), m_structure(m_out, m_context),
        m_labels(m_request.nNUp == 0) {}

  MergeOutcome Execute();

private:
  void Report(int32_t nIndex, int32_t nPercent) {
    if (m_settings.progress)
      m_settings.progress(nIndex, nPercent);
  }
  void CountPages();
  void PlaceSources();
  void PlacePdf(const MergeRequestSource &src, const std::wstring &strPath, SourceEntry &entry,
                Occurrence &occurrence, int32_t nReportIndex);
  void PlacePicture(SourceEntry &entry, Occurrence &occurrence, int32_t nReportIndex);
  void Stepped(int32_t nReportIndex);
  void Notice(int nPosition, const std::wstring &strPath, int nPage, bool bSkipped,
              const std::wstring &text);
  void Protect();
  // A password switched on without a text is none, as SetOpenPwd and SetPemissionPwd take it.
  bool HasOpenPassword() const { return m_request.bOpenPwd && !m_request.strOpenPwd.empty(); }
  bool HasPermissionPassword() const {
    return m_request.bPermissionPwd && !m_request.strPermissionPwd.empty();
  }
  // The password that opens the output: empty when it opens without one.
  std::string UserPassword() const {
    return HasOpenPassword() ? m_request.strOpenPwd : std::string();
  }
  void WriteDocument();
  void CheckStagedOutput();

  const MergeSettings &m_settings;
  const MergeRequest &m_request;
  int32_t m_nIndex;
  bool m_bPerSource;
  std::wstring m_strOutPath;
  OutputBuilder m_out;
  MergeContext m_context;
  SourceCache m_cache;
  std::unique_ptr<SheetComposer> m_pComposer;
  std::vector<Occurrence> m_occurrences;
  OptionalContent m_layers;
  FormFields m_forms;
  AnnotationCarrier m_annots;
  StructureTree m_structure;
  PageLabels m_labels;
  EmbeddedFiles m_files;
  DocumentSettings m_documentSettings;
  MergeOutcome m_outcome;
  double m_dStep = 0, m_dValue = 5;
  std::vector<const MergeRequestSource *> m_sources;
  std::vector<std::wstring> m_paths; // of m_sources, as the run names them
  std::string m_strId;
  uint32_t m_nEncrypt = 0;
  int m_nProtectionVersion = 14;
};

// Encryption is set up before the first object is written: every object goes to the file
// encrypted as soon as it is made.
void Run::Protect() {
  m_strId = DocumentId(m_strOutPath);
  m_out.Writer().SetObjectStreams(m_request.bObjectStreams);
  if (!HasOpenPassword() && !HasPermissionPassword())
    return;
  // Without a permission password of its own, the open password is the owner's too.
  const std::string &strOwner =
      HasPermissionPassword() ? m_request.strPermissionPwd : m_request.strOpenPwd;
  OutputProtection protection;
  std::wstring why;
  if (!MakeProtection(UserPassword(), strOwner, m_request.nPermissions, m_request.nEncryption,
                      m_strId, protection, why))
    throw MergeFailed{MERGE_FAILURE_PASSWORD, why};
  m_nProtectionVersion = protection.nVersion;
  m_nEncrypt = m_out.Writer().Reserve();
  // Set first: the dictionary itself is then written as it is, outside any object stream.
  m_out.Writer().SetEncryption(std::move(protection.pCipher), m_nEncrypt);
  m_out.Writer().WriteObject(m_nEncrypt, protection.dict);
  // An encrypted output replaces nothing before it has been read back with its own password.
  m_out.Writer().SetCommitCheck([this](const std::string &strStaged) {
    return CheckProtectedOutput(strStaged, UserPassword(), m_out.FinishedSheets());
  });
}

void Run::Notice(int nPosition, const std::wstring &strPath, int nPage, bool bSkipped,
                 const std::wstring &text) {
  MergeSourceNote notice;
  notice.nSource = nPosition;
  notice.strPath = strPath;
  notice.nPage = nPage;
  notice.bSkipped = bSkipped;
  notice.strText = text;
  m_outcome.notices.push_back(std::move(notice));
}

void Run::CountPages() {
  int nPosition = 0;
  int64_t nTotal = 0;
  for (const MergeRequestSource *pSrc : m_sources) {
    m_context.CheckCancel();
    const SourceEntry &entry = m_cache.Register(m_paths[static_cast<size_t>(nPosition)], nPosition);
    ++nPosition;
    if (entry.nKind == SRC_PDF)
      nTotal += pSrc->bAllPages ? std::max(pSrc->nPageCount, 0)
                                : static_cast<int64_t>(pSrc->vecPages.size());
    else if (entry.nKind == SRC_IMAGE)
      nTotal += 1;
  }
  if (nTotal > kMaxMergePages)
    throw MergeFailed{MERGE_FAILURE_PAGE, L"too many pages selected (" + std::to_wstring(nTotal) +
                                              L"; one output holds at most " +
                                              std::to_wstring(kMaxMergePages) + L")"};
  m_outcome.nPagesCounted = static_cast<int32_t>(nTotal);
}

void Run::Stepped(int32_t nReportIndex) {
  m_dValue += m_dStep;
  // Percent values are truncated towards zero; placed pages never report past 95.
  Report(nReportIndex, m_bPerSource ? static_cast<int32_t>(std::min(m_dValue, 100.0))
                                    : static_cast<int32_t>(std::min(m_dValue, 95.0)));
}

void Run::PlacePicture(SourceEntry &entry, Occurrence &occurrence, int32_t nReportIndex) {
  m_context.CheckCancel();
  double w = entry.dImageWidth, h = entry.dImageHeight;
  // Orientations 5 to 8 store the picture on its side.
  if (entry.nOrientation >= 5 && entry.nOrientation <= 8)
    std::swap(w, h);
  const Matrix toUpright =
      Multiply(SheetComposer::OrientationMatrix(entry.nOrientation), Matrix{w, 0, 0, h, 0, 0});
  const Placement placement = m_pComposer->Place(entry.nImage, w, h, toUpright);
  m_pComposer->Advance();
  occurrence.bPlaced = true;
  occurrence.first = placement;
  m_structure.PicturePlaced(occurrence.nPosition);
  m_labels.Placed(nullptr, 0, placement.nSheet, occurrence.nPosition, m_context);
  if (m_bPerSource)
    m_dValue += 95.0 - m_dStep; // a picture is the whole of its source
  Stepped(nReportIndex);
}

void Run::PlacePdf(const MergeRequestSource &src, const std::wstring &strPath, SourceEntry &entry,
                   Occurrence &occurrence, int32_t nReportIndex) {
  const auto &pages = entry.doc->Pages();
  int32_t nCount = src.bAllPages ? src.nPageCount : static_cast<int32_t>(src.vecPages.size());
  // A range that selected nothing contributes nothing; all pages of an unknown count means
  // every page the document has.
  if (src.bAllPages && nCount == 0)
    nCount = static_cast<int32_t>(pages.size());
  if (m_bPerSource)
    m_dStep = nCount > 0 ? 95.0 / nCount : 0.0;
  for (int32_t k = 0; k < nCount; ++k) {
    m_context.CheckCancel();
    const int32_t nPage = src.bAllPages ? k : src.vecPages[static_cast<size_t>(k)] - 1;
    // A page outside the document (a stale page count, page 0) fails the run.
    if (nPage < 0 || nPage >= static_cast<int32_t>(pages.size()))
      throw MergeFailed{MERGE_FAILURE_PAGE, FileName(strPath) + L": page " +
                                                std::to_wstring(nPage + 1) +
                                                L" is not in the file (it has " +
                                                std::to_wstring(pages.size()) + L" pages)"};
    const pdf::PageEntry &page = pages[static_cast<size_t>(nPage)];
    const PageGeometry geometry = ReadPageGeometry(entry, page);
    const std::optional<int64_t> nStructParents = m_structure.FormKey();
    const auto overlays = AnnotationOverlays(entry, page, m_out, [this, &entry](uint32_t nAnnot) {
      return m_forms.Carries(entry, nAnnot);
    });
    const bool bTurned = geometry.nRotate == 90 || geometry.nRotate == 270;
    const double w = bTurned ? geometry.box.height : geometry.box.width;
    const double h = bTurned ? geometry.box.width : geometry.box.height;
    uint32_t nForm = 0;
    Placement placement;
    if (!nStructParents && overlays.empty() && m_pComposer->FillsNewSheet(w, h) &&
        CanShowAsSheet(entry, page, geometry)) {
      // A page that fills its sheet as it is becomes the sheet: no form, no drawing of it.
      SheetContent content = MakeSheetContent(entry, page, static_cast<size_t>(nPage) + 1);
      placement = m_pComposer->PlaceAsSheet(content.nContents, std::move(content.resources), w, h);
    } else {
      nForm = MakePageForm(entry, page, geometry.box, m_out, static_cast<size_t>(nPage) + 1,
                           m_request.nNUp != 0, nStructParents);
      placement = m_pComposer->Place(
          nForm, w, h, SheetComposer::UprightMatrix(geometry.box, geometry.nRotate), overlays);
    }
    if (!occurrence.bPlaced) {
      occurrence.bPlaced = true;
      occurrence.first = placement;
    }
    if (m_request.nNUp == 0)
      m_out.SetSheetGroup(SheetGroup(entry, page));
    occurrence.pages.emplace(page.ref.num, placement);
    m_structure.PagePlaced(page.ref.num, nForm, placement.nSheet, nStructParents);
    m_labels.Placed(&entry, static_cast<size_t>(nPage), placement.nSheet, occurrence.nPosition,
                    m_context);
    const uint64_t nPlaces = m_out.ReserveAnnotationPlaces();
    CollectLinks(entry, page, placement, nPlaces, m_occurrences, m_occurrences.size() - 1, m_out);
    m_forms.PlacePage(entry, page, placement, nPlaces, m_out);
    m_annots.PlacePage(entry, page, placement, nPlaces, occurrence, m_out);
    m_pComposer->Advance();
    if (entry.doc->Truncated())
      throw MergeFailed{MERGE_FAILURE_SOURCE,
                        FileName(strPath) + (entry.doc->Changed()
                                                 ? L": changed while it was read"
                                                 : L": the file was cut short while it was read")};
    entry.copier->Flush();
    entry.doc->ReleasePages(); // what this page needed of the file is written
    Stepped(nReportIndex);
  }
}

void Run::PlaceSources() {
  for (size_t i = 0; i < m_sources.size(); ++i) {
    const MergeRequestSource &src = *m_sources[i];
    const std::wstring &strPath = m_paths[i];
    const int nPosition = static_cast<int>(i);
    const int32_t nReportIndex = m_bPerSource ? src.nIndex - 1 : m_nIndex;
    if (m_bPerSource)
      m_dValue = 5.0;
    SourceEntry *pEntry =
        m_cache.Fetch(strPath, src.bHasPassword ? src.strPassword.c_str() : nullptr, src.nFileSize,
                      src.nFileModified);
    m_context.CheckCancel();
    if (pEntry == nullptr && !m_request.bSkipBadSources)
      throw MergeFailed{MERGE_FAILURE_SOURCE, FileName(strPath) + L": " + m_cache.Failure(strPath)};
    if (pEntry == nullptr) {
      // Skipped sources are said once, at their first occurrence.
      bool bSaid = false;
      for (const MergeSourceNote &n : m_outcome.notices)
        bSaid = bSaid || (n.bSkipped && n.strPath == strPath);
      if (!bSaid)
        Notice(nPosition, strPath, 0, true, m_cache.Failure(strPath));
      continue;
    }
    m_occurrences.emplace_back();
    Occurrence &occurrence = m_occurrences.back();
    occurrence.pEntry = pEntry;
    occurrence.strTitle = FileTitle(strPath);
    occurrence.nPosition = nPosition;
    occurrence.bStructured = pEntry->doc && pEntry->doc->Catalog().Get("StructTreeRoot");
    occurrence.embeddedFileName = [this, pEntry](const std::string &name) {
      return m_files.OutputName(*pEntry, m_out.Writer(), name);
    };
    if (pEntry->nKind == SRC_IMAGE) {
      PlacePicture(*pEntry, occurrence, nReportIndex);
    } else {
      m_structure.BeginOccurrence(*pEntry, nPosition);
      PlacePdf(src, strPath, *pEntry, occurrence, nReportIndex);
      if (occurrence.bPlaced) {
        // Everything this occurrence points at inside itself has landed: its links and its
        // outline go to the file now, so that they are not held until the end.
        WriteLinks(m_occurrences, m_occurrences.size() - 1, false, m_out);
        m_forms.WriteOccurrence(*pEntry, occurrence, m_out);
        m_annots.WriteOccurrence(*pEntry, occurrence, m_out);
        if (m_request.bBookmarks)
          WriteSourceOutline(*pEntry, m_occurrences, m_occurrences.size() - 1, m_out);
        m_layers.Take(*pEntry);
        m_structure.EndOccurrence();
        m_files.Take(*pEntry, m_out.Writer());
        m_documentSettings.Take(*pEntry);
        m_context.nHighestVersion = std::max(m_context.nHighestVersion, pEntry->doc->Version());
      }
      pEntry->copier->Flush();
      m_context.CheckCancel();
      if (pEntry->nLastUse != nPosition)
        pEntry->doc->Trim(); // held for a later occurrence: only what sharing needs
      if (pEntry->nLastUse == nPosition) {
        for (const std::string &warning : pEntry->doc->Warnings())
          Notice(nPosition, strPath, 0, false, Utf8ToWide(warning));
        m_cache.Release(*pEntry);
        // Links of earlier occurrences that waited for this one are settled, and no later
        // occurrence of the file will look for its pages.
        for (size_t k = 0; k < m_occurrences.size(); ++k)
          if (m_occurrences[k].pEntry == pEntry)
            WriteLinks(m_occurrences, k, true, m_out);
        for (Occurrence &earlier : m_occurrences)
          if (earlier.pEntry == pEntry)
            earlier.pages = {};
      }
    }
    // Per source, each finished source reports its own completion.
    if (m_bPerSource && i + 1 < m_sources.size())
      Report(nReportIndex, 100);
  }
  m_pComposer->FinishSheet();
  if (m_out.SheetCount() == 0) {
    bool bSkipped = false;
    for (const MergeSourceNote &n : m_outcome.notices)
      bSkipped = bSkipped || n.bSkipped;
    throw MergeFailed{MERGE_FAILURE_EMPTY, m_sources.empty()
                                               ? L"nothing to merge: no file was given"
                                           : bSkipped ? L"nothing to merge: no file could be used"
                                                      : L"nothing to merge: no page was selected"};
  }
}

// Everything that must hold before the finished output may replace anything at its path is
// checked here, after the last byte is on the disk: the sources are still the files that were
// read (one rewritten while it was read may have given pages of two versions). A check that
// reads the staged file back (m_out.Writer().StagedPath()) belongs here too.
void Run::CheckStagedOutput() {
  const std::wstring changed = m_cache.ChangedSource();
  if (!changed.empty())
    throw MergeFailed{MERGE_FAILURE_SOURCE,
                      FileName(changed) + L": changed while it was read; nothing was written"};
}

void Run::WriteDocument() {
  for (size_t k = 0; k < m_occurrences.size(); ++k)
    WriteLinks(m_occurrences, k, true, m_out);
  m_context.CheckCancel();
  pdf::Dict catalog;
  for (const Occurrence &occurrence : m_occurrences)
    for (const auto &[nPage, text] : occurrence.notes)
      Notice(occurrence.nPosition, m_paths[static_cast<size_t>(occurrence.nPosition)], nPage, false,
             Utf8ToWide(text));
  if (m_request.bBookmarks) {
    if (const uint32_t nOutline = WriteOutline(m_occurrences, m_out))
      catalog.Set("Outlines", Value(pdf::Ref{nOutline, 0}));
  }
  Value layers = m_layers.Build();
  if (!layers.IsNull())
    catalog.Set("OCProperties", std::move(layers));
  Value form = m_forms.Build();
  if (!form.IsNull())
    catalog.Set("AcroForm", std::move(form));
  catalog.Set("PageMode", Value::MakeName("UseOutlines"));
  m_structure.Build(catalog);
  m_files.Build(catalog, m_out.Writer());
  m_documentSettings.Build(catalog);
  Value labels = m_labels.Build(m_out.Writer());
  if (!labels.IsNull())
    catalog.Set("PageLabels", std::move(labels));
  for (const RunNotice &notice : m_context.notices)
    Notice(notice.nSource, m_paths[static_cast<size_t>(notice.nSource)], notice.nPage,
           notice.bSkipped, notice.strText);
  m_context.notices.clear();
  if (!m_bPerSource)
    Report(m_nIndex, 95);
  m_context.CheckCancel();
  if (!m_bPerSource)
    Report(m_nIndex, 97);

  int nVersion = std::max({m_context.nHighestVersion, m_nProtectionVersion, 14});
  if (m_context.features.bTransparency)
    nVersion = std::max(nVersion, 14);
  m_context.CheckCancel();
  const DocumentInfo info = MakeDocumentInfo(std::time(nullptr));
  const uint32_t nMetadata = m_out.Writer().Reserve();
  // Compressed like everything else: readers and metadata tools decode it, and it is a
  // third of a small output.
  Value metadataDict = info.metadataDict;
  metadataDict.dict().Set("Filter", Value::MakeName("FlateDecode"));
  m_out.Writer().WriteStream(nMetadata, std::move(metadataDict), pdf::FlateEncode(info.strXmp));
  catalog.Set("Metadata", Value(pdf::Ref{nMetadata, 0}));
  const Value idArray(
      pdf::Array{Value::MakeString(m_strId, true), Value::MakeString(m_strId, true)});
  if (!m_out.Finish(std::move(catalog), info.info, idArray, m_nEncrypt, nVersion))
    throw MergeFailed{MERGE_FAILURE_OUTPUT,
                      m_strOutPath + L": cannot be written: " + Utf8ToWide(m_out.Writer().Error())};
  m_context.CheckCancel();
  CheckStagedOutput();
  // The last moment a cancel is honoured: once the file is moved into place the run is done.
  m_context.CheckCancel();
  if (!m_out.Writer().Commit())
    throw MergeFailed{MERGE_FAILURE_OUTPUT, m_strOutPath + L": cannot be replaced: " +
                                                Utf8ToWide(m_out.Writer().Error())};
}

MergeOutcome Run::Execute() {
  try {
    m_context.CheckCancel();
    if (!m_bPerSource)
      Report(m_nIndex, 5);
    if (!m_out.Writer().Ok())
      throw MergeFailed{MERGE_FAILURE_OUTPUT, m_strOutPath + L": cannot be written: " +
                                                  Utf8ToWide(m_out.Writer().Error())};
    Protect();
    m_out.SetAnnotationKeys([this](int nPosition, uint32_t nSource, uint32_t nOut, size_t nSheet) {
      return m_structure.AnnotationWritten(nPosition, nSource, nOut, nSheet);
    });
    for (const MergeRequestSource &src : m_request.vecSources) {
      m_sources.push_back(&src);
      m_paths.push_back(Utf8ToWide(src.strPath));
    }
    CountPages();
    m_context.CheckCancel();
    const int32_t nTotal = m_settings.nPagesBefore + m_outcome.nPagesCounted;
    m_dStep = nTotal > 0 ? 90.0 / nTotal : 0.0;
    // A sheet size that is not one is taken from each sheet's first item; an orientation that
    // is none of the three is Auto.
    const bool bSized = m_request.nPageWidth > 0 && m_request.nPageHeight > 0;
    const int nOrientation =
        m_request.nOrientation >= 0 && m_request.nOrientation <= 2 ? m_request.nOrientation : 0;
    m_pComposer = std::make_unique<SheetComposer>(bSized ? m_request.nPageWidth : -1,
                                                  bSized ? m_request.nPageHeight : -1, m_out,
                                                  m_request.nNUp, nOrientation);
    PlaceSources();
    WriteDocument();
    int32_t nFinalIndex = m_nIndex;
    if (m_bPerSource)
      nFinalIndex = m_sources.empty() ? 0 : m_sources.back()->nIndex - 1;
    Report(nFinalIndex, 100);
    m_outcome.bOk = true;
  } catch (const MergeCancelled &) {
    m_outcome.nFailure = MERGE_FAILURE_CANCELLED;
    m_outcome.strFailure = L"cancelled";
  } catch (const MergeFailed &failure) {
    m_outcome.nFailure = failure.nCode;
    m_outcome.strFailure = failure.strText;
  } catch (const std::bad_alloc &) {
    m_outcome.nFailure = MERGE_FAILURE_INTERNAL;
    m_outcome.strFailure = L"out of memory";
  } catch (const std::exception &e) {
    m_outcome.nFailure = MERGE_FAILURE_INTERNAL;
    m_outcome.strFailure = L"internal error: " + Utf8ToWide(e.what());
  }
  return std::move(m_outcome);
}

} // namespace

MergeOutcome RunMerge(const MergeSettings &settings, int32_t nIndex) {
  // Refused before anything is read or made beside it: the output would replace a source.
  const MergeRequest &request = *settings.pRequest;
  MergeOutcome refused;
  if (request.nNUp < 0 || request.nNUp > 2) {
    refused.nFailure = MERGE_FAILURE_REQUEST;
    refused.strFailure = L"pages per sheet code " + std::to_wstring(request.nNUp) +
                         L" is not 0 (one), 1 (two) or 2 (four)";
    return refused;
  }
  const std::wstring strOutPath = Utf8ToWide(request.strOutPath);
  for (const MergeRequestSource &src : request.vecSources) {
    const std::wstring strPath = Utf8ToWide(src.strPath);
    if (IsSameFile(strPath, strOutPath)) {
      refused.nFailure = MERGE_FAILURE_OUTPUT;
      refused.strFailure = FileName(strPath) + L": is also the output file";
      return refused;
    }
  }
  Run run(settings, nIndex);
  return run.Execute();
}

} // namespace engine
