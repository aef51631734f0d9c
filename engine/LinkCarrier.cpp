// Links of placed pages onto their sheets.

#include "Destinations.h"
#include "PageAnnotations.h"

#include <set>

using namespace PoDoFo;

namespace engine {

namespace {

std::string NameOf(const OutputDocument &rDoc, const PdfObject *pValue) {
  pValue = rDoc.Resolve(pValue);
  return (pValue != nullptr && pValue->IsName()) ? pValue->GetName().GetName() : std::string();
}

// The link's target on the sheets, in place in the copy; false when it has none left.
bool RetargetLink(OutputDocument &rDoc, PdfDictionary &link, size_t nOccurrence,
                  Destinations &destinations) {
  PdfArray dest;
  if (const PdfObject *pDest = link.GetKey("Dest")) {
    if (!destinations.Retarget(pDest, nOccurrence, dest, true))
      return false;
    link.AddKey("Dest", dest);
    return true;
  }
  const PdfObject *pAction = rDoc.Resolve(link.GetKey("A"));
  if (pAction == nullptr || !pAction->IsDictionary())
    return false;
  const std::string kind = NameOf(rDoc, pAction->GetDictionary().GetKey("S"));
  if (kind == "URI" || kind == "GoToR" || kind == "Named")
    return true; // addresses and other files mean the same from the merged file
  if (kind != "GoTo" || !destinations.Retarget(pAction->GetDictionary().GetKey("D"), nOccurrence, dest, true))
    return false; // launching programs and scripts are not carried over
  PdfDictionary action;
  action.AddKey("S", PdfName("GoTo"));
  action.AddKey("D", dest);
  link.AddKey("A", action);
  return true;
}

} // namespace

void CarryLinks(OutputDocument &rDoc, const std::vector<Occurrence> &occurrences,
                Destinations &destinations) {
  // The first placement of a link takes the source's link object itself; a page placed again
  // gets copies.
  std::set<PdfReference> taken;
  for (size_t k = 0; k < occurrences.size(); ++k) {
    for (const auto &[pageRef, placement] : occurrences[k].vecPlaced) {
      const PdfObject *pPage = rDoc.Objects().GetObject(pageRef);
      const PdfObject *pAnnots = pPage ? rDoc.Resolve(pPage->GetDictionary().GetKey("Annots")) : nullptr;
      if (pAnnots == nullptr || !pAnnots->IsArray())
        continue;
      std::vector<PdfReference> links;
      for (const PdfObject &item : pAnnots->GetArray()) {
        const PdfObject *pAnnot = rDoc.Resolve(&item);
        if (item.IsReference() && pAnnot != nullptr && pAnnot->IsDictionary() &&
            NameOf(rDoc, pAnnot->GetDictionary().GetKey("Subtype")) == "Link")
          links.push_back(item.GetReference());
      }
      for (const PdfReference &ref : links) {
        PdfObject *pLink = rDoc.Objects().GetObject(ref);
        if (!taken.insert(ref).second)
          pLink = rDoc.Objects().CreateObject(pLink->GetDictionary());
        PdfDictionary &link = pLink->GetDictionary();
        PdfRect rect;
        if (!ReadRect(rDoc, link.GetKey("Rect"), rect) || !RetargetLink(rDoc, link, k, destinations))
          continue; // left unreachable, dropped before writing
        const PdfRect mapped = MapRect(placement.matrix, rect);
        PdfArray rectArray;
        for (double v : {mapped.GetLeft(), mapped.GetBottom(), mapped.GetLeft() + mapped.GetWidth(),
                         mapped.GetBottom() + mapped.GetHeight()})
          rectArray.push_back(PdfObject(v));
        link.AddKey("Rect", rectArray);
        const PdfObject *pQuads = rDoc.Resolve(link.GetKey("QuadPoints"));
        if (pQuads != nullptr && pQuads->IsArray() && pQuads->GetArray().size() % 8 == 0) {
          PdfArray quads;
          const PdfArray &points = pQuads->GetArray();
          for (size_t i = 0; i + 1 < points.size(); i += 2) {
            double x = (points[i].IsNumber() || points[i].IsReal()) ? points[i].GetReal() : 0;
            double y = (points[i + 1].IsNumber() || points[i + 1].IsReal()) ? points[i + 1].GetReal() : 0;
            MapPoint(placement.matrix, x, y);
            quads.push_back(PdfObject(x));
            quads.push_back(PdfObject(y));
          }
          link.AddKey("QuadPoints", quads);
        }
        // Ties to the source page and its structure do not hold on the sheet.
        for (const char *key : {"P", "Parent", "Popup", "StructParent", "IRT"})
          link.RemoveKey(key);
        PdfDictionary &sheet = rDoc.Objects().GetObject(placement.sheet)->GetDictionary();
        if (!sheet.HasKey("Annots"))
          sheet.AddKey("Annots", PdfArray());
        sheet.GetKey("Annots")->GetArray().push_back(pLink->Reference());
      }
    }
  }
}

} // namespace engine
