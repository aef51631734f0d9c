#include "LinkCarrier.h"

#include "SourcePages.h"
#include "pdf/PdfParser.h"
#include "pdf/PdfWriter.h"

#include <algorithm>
#include <map>

namespace engine {

using pdf::Value;

namespace {

// Keys of a link that mean the same on the sheet; everything else ties it to the source page,
// its structure or scripts.
constexpr const char *kKeptKeys[] = {"Border", "BS", "C", "H", "F", "Contents", "NM", "M"};

// A mapped action that is safe to carry: web addresses, other files, embedded files, layer
// switches, named reader commands.
bool CarryAction(SourceEntry &entry, const Value &action, std::vector<Occurrence> &occurrences,
                 size_t nOccurrence, Value &out) {
  const Value *pKind = action.Get("S");
  const std::string kind = pKind != nullptr && pKind->IsName() ? pKind->name() : "";
  pdf::Dict carried;
  carried.Set("S", Value::MakeName(kind));
  if (kind == "URI") {
    pdf::ObjectPtr holder;
    const Value *pUri = entry.doc->Resolve(action.Get("URI"), holder);
    if (pUri == nullptr || !pUri->IsString())
      return false;
    carried.Set("URI", *pUri);
  } else if (kind == "GoToR") {
    for (const char *pszKey : {"F", "D", "NewWindow"})
      if (const Value *pValue = action.Get(pszKey))
        carried.Set(pszKey, entry.copier->Map(*pValue));
  } else if (kind == "Named") {
    const Value *pName = action.Get("N");
    if (pName == nullptr || !pName->IsName())
      return false;
    carried.Set("N", *pName);
  } else if (kind == "GoToE") {
    for (const char *pszKey : {"F", "D", "NewWindow"})
      if (const Value *pValue = action.Get(pszKey))
        carried.Set(pszKey, entry.copier->Map(*pValue));
    pdf::ObjectPtr targetHolder;
    const Value *pTarget = entry.doc->Resolve(action.Get("T"), targetHolder);
    if (pTarget != nullptr && pTarget->IsDict()) {
      Value target = entry.copier->Map(*pTarget);
      // A file of this document's own list goes to the output's list, under the name it gets
      // there; other targets (an attachment on a page, a parent) are as the source gives them.
      const Value *pRelation = pTarget->Get("R"), *pName = pTarget->Get("N");
      if (action.Get("F") == nullptr && pRelation && pRelation->IsName("C") && pName &&
          pName->IsString()) {
        const Occurrence &occurrence = occurrences[nOccurrence];
        const std::string name = occurrence.embeddedFileName
                                     ? occurrence.embeddedFileName(pName->string().bytes)
                                     : std::string();
        if (name.empty())
          return false;
        target.dict().Set("N", Value::MakeString(name));
      }
      carried.Set("T", std::move(target));
    }
  } else if (kind == "SetOCGState") {
    // The layers are the output's copies of the source's, which its layer list names too.
    pdf::ObjectPtr stateHolder;
    const Value *pState = entry.doc->Resolve(action.Get("State"), stateHolder);
    if (pState == nullptr || !pState->IsArray())
      return false;
    pdf::Array state;
    for (const Value &item : pState->array())
      if (item.IsName())
        state.push_back(item);
      else if (item.IsRef())
        state.push_back(entry.copier->MapRef(item.ref()));
    carried.Set("State", Value(std::move(state)));
    if (const Value *pKeep = action.Get("PreserveRB"); pKeep && pKeep->IsBool())
      carried.Set("PreserveRB", *pKeep);
  } else {
    return false; // launching programs and scripts are not carried over
  }
  out = Value(std::move(carried));
  return true;
}

} // namespace

namespace {

void WriteLink(PendingLink &link, const Value *pDest, Occurrence &occurrence, OutputBuilder &out) {
  if (!link.held.empty()) {
    pdf::Parser(link.held.data(), link.held.size()).ReadValue(link.annot);
    std::string().swap(link.held);
  }
  if (link.bGoTo && pDest != nullptr) {
    if (link.bInAction) {
      pdf::Dict action;
      action.Set("S", Value::MakeName("GoTo"));
      action.Set("D", *pDest);
      link.annot.dict().Set("A", Value(std::move(action)));
    } else {
      link.annot.dict().Set("Dest", *pDest);
    }
  }
  const uint32_t nNum = out.Writer().Reserve();
  if (const auto nKey = out.AnnotationKey(link.nPosition, link.nSource, nNum, link.nSheet))
    link.annot.dict().Set("StructParent", pdf::Value(*nKey));
  out.Writer().WriteObject(nNum, link.annot);
  out.SettleAnnotation(link.nSheet, link.nOrder, nNum);
  occurrence.Wrote(link.nSource, nNum, false);
}

// Writes the link when its page has landed in this occurrence; otherwise it waits.
void Offer(PendingLink &&link, std::vector<Occurrence> &occurrences, size_t nOccurrence,
           OutputBuilder &out) {
  Value dest;
  if (!link.bGoTo) {
    WriteLink(link, nullptr, occurrences[nOccurrence], out);
  } else if (ResolveDest(link.dest, occurrences, nOccurrence, false, out, dest)) {
    WriteLink(link, &dest, occurrences[nOccurrence], out);
  } else {
    const uint32_t nPage = link.dest.nPage;
    pdf::AppendValue(link.held, link.annot);
    link.annot = Value();
    occurrences[nOccurrence].waiting[nPage].push_back(std::move(link));
  }
}

// One note for the file however many links were left out (a selection of even pages leaves
// out half of a manual's links), naming the pages that held them.
void NoteLinksLeftOut(Occurrence &occurrence, const std::map<int, int> &leftOut) {
  constexpr size_t kPagesNamed = 12;
  int nLinks = 0;
  std::string pages;
  size_t nPages = 0;
  for (const auto &[nPageNumber, nCount] : leftOut) {
    nLinks += nCount;
    if (nPages++ < kPagesNamed)
      pages += (pages.empty() ? "" : ", ") + std::to_string(nPageNumber);
  }
  if (nLinks == 0)
    return;
  if (nPages > kPagesNamed)
    pages += ", ...";
  occurrence.Note(0, (nLinks == 1 ? std::string("a link") : std::to_string(nLinks) + " links") +
                         " into pages that are not selected " + (nLinks == 1 ? "was" : "were") +
                         " left out (on page" + (nPages == 1 ? " " : "s ") + pages + ")");
}

} // namespace

void CollectLinks(SourceEntry &entry, const pdf::PageEntry &page, const Placement &placement,
                  uint64_t nPlaces, std::vector<Occurrence> &occurrences, size_t nOccurrence,
                  OutputBuilder &out) {
  Occurrence &occurrence = occurrences[nOccurrence];
  auto landed = occurrence.waiting.find(page.ref.num);
  if (landed != occurrence.waiting.end()) {
    std::vector<PendingLink> links = std::move(landed->second);
    occurrence.waiting.erase(landed);
    for (PendingLink &link : links)
      Offer(std::move(link), occurrences, nOccurrence, out);
  }
  pdf::SourceDocument &doc = *entry.doc;
  const PageAnnotations items = ReadPageAnnotations(doc, page);
  const int nPageNumber = occurrence.PageNumber(page.ref.num);
  for (size_t nIndex = 0; nIndex < items.size(); ++nIndex) {
    const Value &item = items[nIndex];
    pdf::ObjectPtr holder;
    const Value *pAnnot = doc.Resolve(&item, holder);
    if (pAnnot == nullptr || !pAnnot->IsDict() || pAnnot->Get("Subtype") == nullptr ||
        !pAnnot->Get("Subtype")->IsName("Link"))
      continue;
    Rect rect;
    if (!ReadRect(pAnnot->Get("Rect"), rect)) {
      occurrence.Note(nPageNumber, "a link has no usable rectangle and was left out");
      continue;
    }
    PendingLink link;
    link.nSource = item.IsRef() ? item.ref().num : 0;
    link.nSheet = placement.nSheet;
    link.nPosition = occurrence.nPosition;
    link.nPageNumber = nPageNumber;
    pdf::Dict annot;
    annot.Set("Type", Value::MakeName("Annot"));
    annot.Set("Subtype", Value::MakeName("Link"));
    annot.Set("Rect", RectArray(MapRect(placement.matrix, rect)));
    for (const char *pszKey : kKeptKeys)
      if (const Value *pValue = pAnnot->Get(pszKey))
        annot.Set(pszKey, entry.copier->Map(*pValue));
    pdf::ObjectPtr quadsHolder;
    const Value *pQuads = doc.Resolve(pAnnot->Get("QuadPoints"), quadsHolder);
    if (pQuads != nullptr && pQuads->IsArray() && !pQuads->array().empty() &&
        pQuads->array().size() % 8 == 0) {
      pdf::Array quads;
      const pdf::Array &points = pQuads->array();
      bool bGood = true;
      for (size_t i = 0; i + 1 < points.size() && bGood; i += 2) {
        bGood = points[i].IsNumber() && points[i + 1].IsNumber() &&
                IsCoordinate(points[i].number()) && IsCoordinate(points[i + 1].number());
        double x = bGood ? points[i].number() : 0, y = bGood ? points[i + 1].number() : 0;
        MapPoint(placement.matrix, x, y);
        quads.push_back(Value(x));
        quads.push_back(Value(y));
      }
      if (bGood)
        annot.Set("QuadPoints", Value(std::move(quads)));
    }

    // A destination that names no page of the file: the link stays, without a target.
    auto readDest = [&](const Value *pDest) {
      if (ReadDest(entry, pDest, link.dest)) {
        link.bGoTo = true;
        return;
      }
      pdf::ObjectPtr destHolder;
      const Value *pName = doc.Resolve(pDest, destHolder);
      if (pName != nullptr && (pName->IsName() || pName->IsString()))
        occurrence.Note(nPageNumber, "a link to the named destination \"" +
                                         (pName->IsName() ? pName->name() : pName->string().bytes) +
                                         "\", which the file does not define, is kept without "
                                         "a target");
      else
        occurrence.Note(nPageNumber, "a link whose destination is not a page of the file is "
                                     "kept without a target");
    };
    pdf::ObjectPtr actionHolder;
    const Value *pAction = doc.Resolve(pAnnot->Get("A"), actionHolder);
    const Value *pKind = pAction ? pAction->Get("S") : nullptr;
    if (const Value *pDest = pAnnot->Get("Dest")) {
      readDest(pDest);
    } else if (pAction == nullptr || !pAction->IsDict()) {
      // No target at all: kept as it is, a plain rectangle.
    } else if (pKind != nullptr && pKind->IsName("GoTo")) {
      readDest(pAction->Get("D"));
      link.bInAction = true;
    } else {
      Value action;
      const std::string kind = pKind && pKind->IsName() ? pKind->name() : "unknown";
      if (CarryAction(entry, *pAction, occurrences, nOccurrence, action)) {
        annot.Set("A", std::move(action));
      } else if (kind == "GoToE") {
        // As a name the file does not define: the rectangle stays, without a target.
        occurrence.Note(nPageNumber, "a link to an embedded file that the file does not hold is "
                                     "kept without a target");
      } else {
        occurrence.Note(nPageNumber, "a link with a " + kind +
                                         " action (it could run a program or a script) was left "
                                         "out");
        continue;
      }
    }
    link.annot = Value(std::move(annot));
    link.nOrder = nPlaces + nIndex;
    out.BeginAnnotation(placement.nSheet);
    Offer(std::move(link), occurrences, nOccurrence, out);
  }
}

void WriteLinks(std::vector<Occurrence> &occurrences, size_t nOccurrence, bool bFinal,
                OutputBuilder &out) {
  Occurrence &occurrence = occurrences[nOccurrence];
  const bool bMayLandLater = !bFinal && occurrence.pEntry->nLastUse > occurrence.nPosition;
  std::unordered_map<uint32_t, std::vector<PendingLink>> still;
  std::map<int, int> leftOut; // links into pages the selection left out, by the page holding them
  for (auto &[nPage, links] : occurrence.waiting) {
    for (PendingLink &link : links) {
      Value dest;
      if (ResolveDest(link.dest, occurrences, nOccurrence, true, out, dest)) {
        WriteLink(link, &dest, occurrence, out);
      } else if (bMayLandLater) {
        still[nPage].push_back(std::move(link));
      } else {
        // Into a page the selection left out: a link to nowhere is no use on the sheet, but the
        // user hears of it.
        out.SettleAnnotation(link.nSheet, link.nOrder, 0);
        ++leftOut[link.nPageNumber];
      }
    }
  }
  occurrence.waiting = std::move(still);
  NoteLinksLeftOut(occurrence, leftOut);
}

} // namespace engine
