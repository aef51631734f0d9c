#include "AnnotationCarrier.h"

#include "AnnotationGeometry.h"
#include "SourcePages.h"

#include <algorithm>

namespace engine {

using pdf::Value;

namespace {

constexpr int64_t kFlagNoRotate = 16;

// Keys written anew on the sheet rather than copied: the page, the links between annotations,
// the structure (set by whoever carries it), actions (kept only when safe), appearances and
// geometry.
constexpr const char *kRewrittenKeys[] = {
    "P",  "Popup", "Parent", "IRT",     "StructParent", "A",        "AA",
    "AP", "Rect",  "Path",   "InkList", "QuadPoints",   "Vertices", "L",
    "CL", "RD",    "LL",     "LLE",     "LLO",          "Border",   "BS"};

std::string SubtypeOf(const Value &annot) {
  const Value *pSubtype = annot.Get("Subtype");
  return pSubtype != nullptr && pSubtype->IsName() ? pSubtype->name() : "unnamed";
}

} // namespace

bool AnnotationCarrier::Rides(const Value &annot) {
  const Value *pSubtype = annot.Get("Subtype");
  return pSubtype != nullptr && pSubtype->IsName() && !pSubtype->IsName("Link") &&
         !pSubtype->IsName("Widget");
}

void AnnotationCarrier::PlacePage(SourceEntry &entry, const pdf::PageEntry &page,
                                  const Placement &placement, uint64_t nPlaces,
                                  Occurrence &occurrence, OutputBuilder &out) {
  pdf::SourceDocument &doc = *entry.doc;
  const PageAnnotations annots = ReadPageAnnotations(doc, page);
  const int nPageNumber = occurrence.PageNumber(page.ref.num);
  if (annots.Listed() > kMaxAnnotations)
    occurrence.Note(nPageNumber, "the page has more than " + std::to_string(kMaxAnnotations) +
                                     " annotations; the rest were left out");
  for (size_t i = 0; i < annots.size(); ++i) {
    pdf::ObjectPtr holder;
    const Value *pAnnot = doc.Resolve(&annots[i], holder);
    if (pAnnot == nullptr || !pAnnot->IsDict() || !Rides(*pAnnot))
      continue;
    Rect rect;
    pdf::ObjectPtr rectHolder;
    if (!ReadRect(doc.Resolve(pAnnot->Get("Rect"), rectHolder), rect)) {
      occurrence.Note(nPageNumber, "a " + SubtypeOf(*pAnnot) +
                                       " annotation has no usable rectangle and was left out");
      continue;
    }
    Pending pending;
    pending.nSource = annots[i].IsRef() ? annots[i].ref().num : 0;
    if (pending.nSource == 0)
      pending.direct = *pAnnot;
    pending.nPage = page.ref.num;
    pending.nPlaces = nPlaces;
    pending.nOrder = nPlaces + i;
    pending.placement = placement;
    pending.nOut = out.Writer().Reserve();
    out.BeginAnnotation(placement.nSheet);
    if (pending.nSource != 0) {
      m_placed.emplace(std::make_pair(pending.nSource, nPlaces), pending.nOut);
      m_first.emplace(pending.nSource, pending.nOut);
    }
    m_pending.push_back(std::move(pending));
  }
}

uint32_t AnnotationCarrier::Target(uint32_t nSource, uint64_t nPlaces) const {
  // The copy on the same placement of the page, else the occurrence's first copy, else an
  // annotation another carrier wrote for this occurrence (a widget, a link).
  auto same = m_placed.find(std::make_pair(nSource, nPlaces));
  if (same != m_placed.end())
    return same->second;
  auto first = m_first.find(nSource);
  if (first != m_first.end())
    return first->second;
  auto other = m_others.find(nSource);
  return other != m_others.end() ? other->second : 0;
}

void AnnotationCarrier::WriteOccurrence(SourceEntry &entry, Occurrence &occurrence,
                                        OutputBuilder &out) {
  pdf::SourceDocument &doc = *entry.doc;
  // What other carriers wrote is looked up only when some annotation points at another.
  bool bPointing = false;
  for (const Pending &pending : m_pending) {
    const pdf::ObjectPtr holder =
        pending.nSource != 0 ? doc.Load(pdf::Ref{pending.nSource, 0}) : nullptr;
    const Value &source = holder ? holder->value : pending.direct;
    bPointing = bPointing || source.Get("IRT") || source.Get("Popup") || source.Get("Parent");
  }
  if (bPointing)
    for (const auto &[nSource, nOut] : occurrence.annotations)
      m_others.emplace(nSource, nOut);
  size_t nWritten = 0;
  for (const Pending &pending : m_pending) {
    if ((++nWritten & 1023) == 0 && m_checkCancel)
      m_checkCancel();
    pdf::ObjectPtr holder;
    const Value &source = pending.nSource != 0
                              ? (holder = doc.Load(pdf::Ref{pending.nSource, 0}))->value
                              : pending.direct;
    const int nPageNumber = occurrence.PageNumber(pending.nPage);
    const std::string kind = SubtypeOf(source);
    Value dict = source;
    for (const char *pszKey : kRewrittenKeys)
      dict.dict().Remove(pszKey);
    Value annot = entry.copier->Map(dict);
    const Matrix &m = pending.placement.matrix;
    MapAnnotationGeometry(entry, source, m, annot.dict());
    annot.dict().Set("P", Value(pdf::Ref{out.SheetNumber(pending.placement.nSheet), 0}));

    if (kind == "Popup") {
      // A pop-up keeps its size (readers show it as a window) and stays on its sheet.
      Rect rect, mapped;
      const Rect sheet = out.SheetMedia(pending.placement.nSheet);
      pdf::ObjectPtr rectHolder;
      if (ReadRect(doc.Resolve(source.Get("Rect"), rectHolder), rect) && sheet.width > 0 &&
          ReadRect(annot.Get("Rect"), mapped)) {
        const double w = std::min(rect.width, sheet.width), h = std::min(rect.height, sheet.height);
        const double left = std::clamp(mapped.left, sheet.left, sheet.Right() - w);
        const double top = std::clamp(mapped.Top(), sheet.bottom + h, sheet.Top());
        annot.dict().Set("Rect", RectArray(Rect{left, top - h, w, h}));
      }
    }
    for (const char *pszKey : {"Popup", "Parent", "IRT"}) {
      const Value *pTarget = source.Get(pszKey);
      if (pTarget == nullptr || !pTarget->IsRef())
        continue;
      if (const uint32_t nTarget = Target(pTarget->ref().num, pending.nPlaces))
        annot.dict().Set(pszKey, Value(pdf::Ref{nTarget, 0}));
      else if (std::string(pszKey) == "IRT")
        annot.dict().Remove("RT"); // a reply to nothing carried stands on its own
    }
    bool bDropped = false;
    if (const Value *pAction = source.Get("A")) {
      if (SafeAction(doc, pAction))
        annot.dict().Set("A", entry.copier->Map(*pAction));
      else
        bDropped = true;
    }
    pdf::ObjectPtr aaHolder;
    if (const Value *pAdditional = doc.Resolve(source.Get("AA"), aaHolder);
        pAdditional && pAdditional->IsDict()) {
      pdf::Dict kept;
      for (const pdf::DictEntry &trigger : pAdditional->dict()) {
        if (SafeAction(doc, &trigger.value))
          kept.Set(trigger.key, entry.copier->Map(trigger.value));
        else
          bDropped = true;
      }
      if (!kept.empty())
        annot.dict().Set("AA", Value(std::move(kept)));
    }
    if (bDropped)
      occurrence.Note(nPageNumber, "a " + kind +
                                       " annotation's action (a script or a command) was left "
                                       "out; the annotation is kept");

    const bool bNoRotate = (IntegerOr(source.Get("F"), 0) & kFlagNoRotate) != 0;
    Value appearances =
        PlacedAppearances(entry, source.Get("AP"), bNoRotate ? 0 : QuarterTurn(m), out);
    if (!appearances.IsNull())
      annot.dict().Set("AP", std::move(appearances));
    if (const auto nKey = out.AnnotationKey(occurrence.nPosition, pending.nSource, pending.nOut,
                                            pending.placement.nSheet))
      annot.dict().Set("StructParent", Value(*nKey));
    out.Writer().WriteObject(pending.nOut, annot);
    out.SettleAnnotation(pending.placement.nSheet, pending.nOrder, pending.nOut);
    occurrence.Wrote(pending.nSource, pending.nOut, true);
  }
  m_pending.clear();
  m_placed.clear();
  m_first.clear();
  m_others.clear();
}

} // namespace engine
