#include "LinkCarrier.h"

namespace engine {

using pdf::Value;

namespace {

constexpr size_t kMaxLinksPerPage = 10000;

// Keys of a link that mean the same on the sheet; everything else ties it to the source page,
// its structure or scripts.
constexpr const char *kKeptKeys[] = {"Border", "BS", "C", "H", "F", "Contents", "NM", "M"};

// A mapped action that is safe to carry: web addresses, other files, named reader commands.
bool CarryAction(SourceEntry &entry, const Value &action, Value &out) {
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
  } else {
    return false; // launching programs and scripts are not carried over
  }
  out = Value(std::move(carried));
  return true;
}

} // namespace

namespace {

void WriteLink(PendingLink &link, const Value *pDest, OutputBuilder &out) {
  if (link.bGoTo) {
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
  out.Writer().WriteObject(nNum, link.annot);
  out.SettleAnnotation(link.nSheet, link.nOrder, nNum);
}

// Writes the link when its page has landed in this occurrence; otherwise it waits.
void Offer(PendingLink &&link, std::vector<Occurrence> &occurrences, size_t nOccurrence,
           OutputBuilder &out) {
  Value dest;
  if (!link.bGoTo) {
    WriteLink(link, nullptr, out);
  } else if (ResolveDest(link.dest, occurrences, nOccurrence, false, out, dest)) {
    WriteLink(link, &dest, out);
  } else {
    const uint32_t nPage = link.dest.nPage;
    occurrences[nOccurrence].waiting[nPage].push_back(std::move(link));
  }
}

} // namespace

void CollectLinks(SourceEntry &entry, const pdf::PageEntry &page, const Placement &placement,
                  std::vector<Occurrence> &occurrences, size_t nOccurrence, OutputBuilder &out) {
  Occurrence &occurrence = occurrences[nOccurrence];
  auto landed = occurrence.waiting.find(page.ref.num);
  if (landed != occurrence.waiting.end()) {
    std::vector<PendingLink> links = std::move(landed->second);
    occurrence.waiting.erase(landed);
    for (PendingLink &link : links)
      Offer(std::move(link), occurrences, nOccurrence, out);
  }
  pdf::SourceDocument &doc = *entry.doc;
  const pdf::ObjectPtr pageObject = doc.Load(page.ref);
  pdf::ObjectPtr annotsHolder;
  const Value *pAnnots = doc.Resolve(pageObject->value.Get("Annots"), annotsHolder);
  if (pAnnots == nullptr || !pAnnots->IsArray())
    return;
  size_t nSeen = 0;
  bool bBadRect = false;
  for (const Value &item : pAnnots->array()) {
    if (++nSeen > kMaxLinksPerPage)
      break;
    pdf::ObjectPtr holder;
    const Value *pAnnot = doc.Resolve(&item, holder);
    if (pAnnot == nullptr || !pAnnot->IsDict() || pAnnot->Get("Subtype") == nullptr ||
        !pAnnot->Get("Subtype")->IsName("Link"))
      continue;
    Rect rect;
    if (!ReadRect(pAnnot->Get("Rect"), rect)) {
      bBadRect = true;
      continue;
    }
    PendingLink link;
    link.nSheet = placement.nSheet;
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

    if (const Value *pDest = pAnnot->Get("Dest")) {
      if (!ReadDest(entry, pDest, link.dest))
        continue;
      link.bGoTo = true;
    } else {
      pdf::ObjectPtr actionHolder;
      const Value *pAction = doc.Resolve(pAnnot->Get("A"), actionHolder);
      if (pAction == nullptr || !pAction->IsDict())
        continue;
      const Value *pKind = pAction->Get("S");
      if (pKind != nullptr && pKind->IsName("GoTo")) {
        if (!ReadDest(entry, pAction->Get("D"), link.dest))
          continue;
        link.bGoTo = true;
        link.bInAction = true;
      } else {
        Value action;
        if (!CarryAction(entry, *pAction, action))
          continue;
        annot.Set("A", std::move(action));
      }
    }
    link.annot = Value(std::move(annot));
    link.nOrder = out.BeginAnnotation(placement.nSheet);
    Offer(std::move(link), occurrences, nOccurrence, out);
  }
  if (bBadRect)
    doc.Warn("a link has no usable rectangle and was left out");
}

void WriteLinks(std::vector<Occurrence> &occurrences, size_t nOccurrence, bool bFinal,
                OutputBuilder &out) {
  Occurrence &occurrence = occurrences[nOccurrence];
  const bool bMayLandLater = !bFinal && occurrence.pEntry->nLastUse > occurrence.nPosition;
  std::unordered_map<uint32_t, std::vector<PendingLink>> still;
  for (auto &[nPage, links] : occurrence.waiting) {
    for (PendingLink &link : links) {
      Value dest;
      if (ResolveDest(link.dest, occurrences, nOccurrence, true, out, dest))
        WriteLink(link, &dest, out);
      else if (bMayLandLater)
        still[nPage].push_back(std::move(link));
      else
        out.SettleAnnotation(link.nSheet, link.nOrder, 0); // into a page that was not placed
    }
  }
  occurrence.waiting = std::move(still);
}

} // namespace engine
