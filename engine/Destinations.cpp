#include "Destinations.h"

#include "PageAnnotations.h"

using namespace PoDoFo;

namespace engine {

namespace {

std::string KeyOf(const PdfObject *pName) {
  if (pName->IsName())
    return pName->GetName().GetName();
  if (pName->IsString() || pName->IsHexString())
    return std::string(pName->GetString().GetString(), pName->GetString().GetLength());
  return {};
}

bool IsNumber(const PdfObject *p) { return p != nullptr && (p->IsNumber() || p->IsReal()); }

} // namespace

PdfArray Destinations::CellDestination(const Placement &placement) {
  const PdfRect &c = placement.cell;
  // A sheet with /Rotate 270 is shown turned left: its top-right corner is the shown top-left.
  const double x = placement.nSheetRotation == 270 ? c.GetLeft() + c.GetWidth() : c.GetLeft();
  PdfArray dest;
  dest.push_back(placement.sheet);
  dest.push_back(PdfName("XYZ"));
  dest.push_back(PdfObject(x));
  dest.push_back(PdfObject(c.GetBottom() + c.GetHeight()));
  dest.push_back(PdfObject()); // zoom kept as it is
  return dest;
}

void Destinations::CollectNameTree(const PdfObject *pNode,
                                   std::map<std::string, const PdfObject *> &names, int nDepth) {
  pNode = m_rDoc.Resolve(pNode);
  if (pNode == nullptr || !pNode->IsDictionary() || nDepth > 32)
    return;
  const PdfObject *pNames = m_rDoc.Resolve(pNode->GetDictionary().GetKey("Names"));
  if (pNames != nullptr && pNames->IsArray()) {
    const PdfArray &pairs = pNames->GetArray();
    for (size_t i = 0; i + 1 < pairs.size(); i += 2) {
      const PdfObject *pKey = m_rDoc.Resolve(&pairs[i]);
      if (pKey != nullptr)
        names.emplace(KeyOf(pKey), &pairs[i + 1]);
    }
  }
  const PdfObject *pKids = m_rDoc.Resolve(pNode->GetDictionary().GetKey("Kids"));
  if (pKids != nullptr && pKids->IsArray())
    for (const PdfObject &kid : pKids->GetArray())
      CollectNameTree(&kid, names, nDepth + 1);
}

const PdfObject *Destinations::LookupNamed(const SourceEntry *pEntry, const PdfObject *pName) {
  auto found = m_mapNamed.find(pEntry);
  if (found == m_mapNamed.end()) {
    std::map<std::string, const PdfObject *> names;
    const PdfObject *pCatalog = m_rDoc.Objects().GetObject(pEntry->catalog);
    if (pCatalog != nullptr && pCatalog->IsDictionary()) {
      // Old style: a dictionary of names; new style: a name tree under /Names /Dests.
      const PdfObject *pDests = m_rDoc.Resolve(pCatalog->GetDictionary().GetKey("Dests"));
      if (pDests != nullptr && pDests->IsDictionary())
        for (const auto &entry : pDests->GetDictionary().GetKeys())
          names.emplace(entry.first.GetName(), entry.second);
      const PdfObject *pNames = m_rDoc.Resolve(pCatalog->GetDictionary().GetKey("Names"));
      if (pNames != nullptr && pNames->IsDictionary())
        CollectNameTree(pNames->GetDictionary().GetKey("Dests"), names, 0);
    }
    found = m_mapNamed.emplace(pEntry, std::move(names)).first;
  }
  auto name = found->second.find(KeyOf(pName));
  if (name == found->second.end())
    return nullptr;
  const PdfObject *pDest = m_rDoc.Resolve(name->second);
  if (pDest != nullptr && pDest->IsDictionary()) // { /D [...] }
    pDest = m_rDoc.Resolve(pDest->GetDictionary().GetKey("D"));
  return pDest;
}

bool Destinations::Retarget(const PdfObject *pDest, size_t nOccurrence, PdfArray &out,
                            bool bOtherOccurrences) {
  const Occurrence &occurrence = m_occurrences[nOccurrence];
  pDest = m_rDoc.Resolve(pDest);
  if (pDest != nullptr && (pDest->IsName() || pDest->IsString() || pDest->IsHexString()))
    pDest = LookupNamed(occurrence.pEntry, pDest);
  if (pDest == nullptr || !pDest->IsArray() || pDest->GetArray().empty() ||
      !pDest->GetArray()[0].IsReference())
    return false;
  const PdfArray &dest = pDest->GetArray();
  const PdfReference page = dest[0].GetReference();

  // The page as placed in this occurrence, else in another occurrence of the same file.
  const Placement *pPlacement = nullptr;
  auto here = occurrence.mapPages.find(page);
  if (here != occurrence.mapPages.end())
    pPlacement = &here->second;
  for (size_t k = 0; bOtherOccurrences && pPlacement == nullptr && k < m_occurrences.size(); ++k) {
    if (m_occurrences[k].pEntry != occurrence.pEntry)
      continue;
    auto there = m_occurrences[k].mapPages.find(page);
    if (there != m_occurrences[k].mapPages.end())
      pPlacement = &there->second;
  }
  if (pPlacement == nullptr)
    return false;

  // The point the source meant to show at the top-left, on the source page.
  const PdfObject *pPage = m_rDoc.Objects().GetObject(page);
  const PdfRect box = pPage ? m_rDoc.PageBox(pPage) : PdfRect();
  double x = box.GetLeft(), y = box.GetBottom() + box.GetHeight();
  const std::string type = dest.size() > 1 && dest[1].IsName() ? dest[1].GetName().GetName() : "";
  auto number = [&dest](size_t i) { return i < dest.size() && IsNumber(&dest[i]); };
  if (type == "XYZ") {
    if (number(2))
      x = dest[2].GetReal();
    if (number(3))
      y = dest[3].GetReal();
  } else if (type == "FitH" || type == "FitBH") {
    if (number(2))
      y = dest[2].GetReal();
  } else if (type == "FitV" || type == "FitBV") {
    if (number(2))
      x = dest[2].GetReal();
  } else if (type == "FitR") {
    if (number(2))
      x = dest[2].GetReal();
    if (number(5))
      y = dest[5].GetReal();
  } else {
    out = CellDestination(*pPlacement); // Fit, FitB: the whole cell
    return true;
  }
  MapPoint(pPlacement->matrix, x, y);
  out.clear();
  out.push_back(pPlacement->sheet);
  out.push_back(PdfName("XYZ"));
  out.push_back(PdfObject(x));
  out.push_back(PdfObject(y));
  out.push_back(PdfObject());
  return true;
}

} // namespace engine
