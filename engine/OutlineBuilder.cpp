// The merged file's outline. Each merged source gets one closed entry titled with its file
// name; below it the source's own outline keeps its order, nesting and open state, with every
// entry pointing at the sheet that shows its page. Entries whose page was not placed stay as
// plain titles while something below them was placed, and are dropped otherwise.

#include "Destinations.h"
#include "AnsiText.h"

#include <set>

using namespace PoDoFo;

namespace engine {

namespace {

struct OutlineNode {
  PdfObject title;
  bool bHasDest = false;
  PdfArray dest;
  bool bOpen = false;
  std::vector<OutlineNode> kids;
};

class OutlineReader {
public:
  OutlineReader(OutputDocument &rDoc, Destinations &destinations, size_t nOccurrence)
      : m_rDoc(rDoc), m_destinations(destinations), m_nOccurrence(nOccurrence) {}

  // The siblings starting at pFirst, each with what is below it.
  std::vector<OutlineNode> Read(const PdfObject *pFirst, int nDepth) {
    std::vector<OutlineNode> nodes;
    for (const PdfObject *pRef = pFirst; pRef != nullptr && pRef->IsReference() && nDepth < 64;) {
      // Malformed outlines may loop; every entry is read once.
      if (!m_visited.insert(pRef->GetReference()).second)
        break;
      const PdfObject *pItem = m_rDoc.Resolve(pRef);
      if (pItem == nullptr || !pItem->IsDictionary())
        break;
      const PdfDictionary &item = pItem->GetDictionary();
      OutlineNode node;
      const PdfObject *pTitle = m_rDoc.Resolve(item.GetKey("Title"));
      node.title = (pTitle != nullptr && (pTitle->IsString() || pTitle->IsHexString())) ? *pTitle
                                                                                      : PdfObject(PdfString(""));
      const PdfObject *pDest = item.GetKey("Dest");
      if (pDest == nullptr) {
        const PdfObject *pAction = m_rDoc.Resolve(item.GetKey("A"));
        if (pAction != nullptr && pAction->IsDictionary())
          pDest = pAction->GetDictionary().GetKey("D");
      }
      if (pDest != nullptr)
        node.bHasDest = m_destinations.Retarget(pDest, m_nOccurrence, node.dest, false);
      const PdfObject *pCount = m_rDoc.Resolve(item.GetKey("Count"));
      node.bOpen = pCount != nullptr && pCount->IsNumber() && pCount->GetNumber() > 0;
      node.kids = Read(item.GetKey("First"), nDepth + 1);
      if (node.bHasDest || !node.kids.empty())
        nodes.push_back(std::move(node));
      pRef = item.GetKey("Next");
    }
    return nodes;
  }

private:
  OutputDocument &m_rDoc;
  Destinations &m_destinations;
  size_t m_nOccurrence;
  std::set<PdfReference> m_visited;
};

// Entries shown when all open entries are open.
int64_t Visible(const std::vector<OutlineNode> &nodes) {
  int64_t n = 0;
  for (const OutlineNode &node : nodes)
    n += 1 + (node.bOpen ? Visible(node.kids) : 0);
  return n;
}

// Writes the siblings under pParent; returns their first and last objects.
std::pair<PdfObject *, PdfObject *> Write(OutputDocument &rDoc, const std::vector<OutlineNode> &nodes,
                                          PdfObject *pParent) {
  PdfObject *pFirst = nullptr, *pPrev = nullptr;
  for (const OutlineNode &node : nodes) {
    PdfObject *pItem = rDoc.Objects().CreateObject();
    PdfDictionary &item = pItem->GetDictionary();
    item.AddKey("Title", node.title);
    item.AddKey("Parent", pParent->Reference());
    if (node.bHasDest)
      item.AddKey("Dest", node.dest);
    if (!node.kids.empty()) {
      auto [pKidFirst, pKidLast] = Write(rDoc, node.kids, pItem);
      pItem->GetDictionary().AddKey("First", pKidFirst->Reference());
      pItem->GetDictionary().AddKey("Last", pKidLast->Reference());
      const int64_t nBelow = Visible(node.kids);
      pItem->GetDictionary().AddKey(
          "Count", PdfVariant(static_cast<pdf_int64>(node.bOpen ? nBelow : -nBelow)));
    }
    if (pPrev != nullptr) {
      pPrev->GetDictionary().AddKey("Next", pItem->Reference());
      pItem->GetDictionary().AddKey("Prev", pPrev->Reference());
    }
    if (pFirst == nullptr)
      pFirst = pItem;
    pPrev = pItem;
  }
  return {pFirst, pPrev};
}

} // namespace

void BuildOutline(OutputDocument &rDoc, const std::vector<Occurrence> &occurrences,
                  Destinations &destinations) {
  std::vector<OutlineNode> top;
  for (size_t k = 0; k < occurrences.size(); ++k) {
    const Occurrence &occurrence = occurrences[k];
    if (!occurrence.bPlaced)
      continue;
    OutlineNode node;
    const std::string title = WideToUtf8(occurrence.strTitle);
    node.title = PdfObject(PdfString(reinterpret_cast<const pdf_utf8 *>(title.c_str())));
    node.bHasDest = true;
    node.dest = Destinations::CellDestination(occurrence.first);
    const PdfObject *pCatalog = rDoc.Objects().GetObject(occurrence.pEntry->catalog);
    const PdfObject *pOutlines =
        pCatalog && pCatalog->IsDictionary() ? rDoc.Resolve(pCatalog->GetDictionary().GetKey("Outlines")) : nullptr;
    if (pOutlines != nullptr && pOutlines->IsDictionary())
      node.kids = OutlineReader(rDoc, destinations, k).Read(pOutlines->GetDictionary().GetKey("First"), 0);
    top.push_back(std::move(node));
  }
  if (top.empty())
    return;
  PdfObject *pRoot = rDoc.Objects().CreateObject("Outlines");
  auto [pFirst, pLast] = Write(rDoc, top, pRoot);
  pRoot->GetDictionary().AddKey("First", pFirst->Reference());
  pRoot->GetDictionary().AddKey("Last", pLast->Reference());
  pRoot->GetDictionary().AddKey("Count", PdfVariant(static_cast<pdf_int64>(Visible(top))));
  rDoc.GetCatalog()->GetDictionary().AddKey("Outlines", pRoot->Reference());
}

} // namespace engine
