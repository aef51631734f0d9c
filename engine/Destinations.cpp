#include "Destinations.h"

#include "SourcePages.h"
#include "pdf/Limits.h"

#include <algorithm>
#include <unordered_set>

namespace engine {

using pdf::Value;

namespace {

std::string KeyOf(const Value &name) {
  if (name.IsName())
    return name.name();
  if (name.IsString())
    return name.string().bytes;
  return {};
}

// A destination array (or a { /D array } dictionary) in the source's terms.
bool ReadExplicit(SourceEntry &entry, const Value *pDest, SourceDest &out) {
  pdf::SourceDocument &doc = *entry.doc;
  pdf::ObjectPtr holder;
  pDest = doc.Resolve(pDest, holder);
  pdf::ObjectPtr innerHolder;
  if (pDest != nullptr && pDest->IsDict())
    pDest = doc.Resolve(pDest->Get("D"), innerHolder);
  if (pDest == nullptr || !pDest->IsArray() || pDest->array().empty())
    return false;
  const pdf::Array &dest = pDest->array();
  size_t nIndex = 0;
  if (dest[0].IsRef()) {
    auto found = entry.pageIndex.find(dest[0].ref().num);
    if (found == entry.pageIndex.end())
      return false;
    nIndex = found->second;
  } else if (dest[0].IsInt() && dest[0].integer() >= 0 &&
             static_cast<size_t>(dest[0].integer()) < doc.Pages().size()) {
    nIndex = static_cast<size_t>(dest[0].integer()); // a page number where a page belongs
  } else {
    return false;
  }
  const pdf::PageEntry &page = doc.Pages()[nIndex];
  out.nPage = page.ref.num;
  const PageGeometry geometry = ReadPageGeometry(entry, page);
  out.x = geometry.box.left;
  out.y = geometry.box.Top();
  const std::string type = dest.size() > 1 && dest[1].IsName() ? dest[1].name() : "";
  auto number = [&dest](size_t i, double &v) {
    if (i < dest.size() && dest[i].IsNumber() && IsCoordinate(dest[i].number()))
      v = dest[i].number();
  };
  if (type == "XYZ") {
    number(2, out.x);
    number(3, out.y);
  } else if (type == "FitH" || type == "FitBH") {
    number(2, out.y);
  } else if (type == "FitV" || type == "FitBV") {
    number(2, out.x);
  } else if (type == "FitR") {
    number(2, out.x);
    number(5, out.y);
  } else {
    out.bWholePage = true; // Fit, FitB and anything unknown: the whole page
  }
  return true;
}

class NameTreeReader {
public:
  NameTreeReader(SourceEntry &entry, std::map<std::string, Value> &names)
      : m_entry(entry), m_names(names) {}

  void Read(const Value *pNode, int nDepth) {
    if (nDepth > limits::kMaxTreeDepth || m_nEntries > limits::kMaxTreeEntries)
      return;
    if (pNode != nullptr && pNode->IsRef() && !m_visited.insert(pNode->ref().num).second)
      return; // a node listed again: a loop or a shared node, read once
    pdf::ObjectPtr holder;
    pNode = m_entry.doc->Resolve(pNode, holder);
    if (pNode == nullptr || !pNode->IsDict())
      return;
    pdf::ObjectPtr namesHolder;
    const Value *pPairs = m_entry.doc->Resolve(pNode->Get("Names"), namesHolder);
    if (pPairs != nullptr && pPairs->IsArray()) {
      const pdf::Array &pairs = pPairs->array();
      for (size_t i = 0; i + 1 < pairs.size() && m_nEntries <= limits::kMaxTreeEntries;
           i += 2, ++m_nEntries) {
        pdf::ObjectPtr keyHolder;
        const Value *pKey = m_entry.doc->Resolve(&pairs[i], keyHolder);
        if (pKey != nullptr)
          m_names.emplace(KeyOf(*pKey), pairs[i + 1]);
      }
    }
    pdf::ObjectPtr kidsHolder;
    const Value *pKids = m_entry.doc->Resolve(pNode->Get("Kids"), kidsHolder);
    if (pKids != nullptr && pKids->IsArray())
      for (const Value &kid : pKids->array())
        Read(&kid, nDepth + 1);
  }

private:
  SourceEntry &m_entry;
  std::map<std::string, Value> &m_names;
  std::unordered_set<uint32_t> m_visited;
  size_t m_nEntries = 0;
};

const NamedDestinations &Names(SourceEntry &entry) {
  if (entry.names)
    return *entry.names;
  entry.names = std::make_unique<NamedDestinations>();
  pdf::SourceDocument &doc = *entry.doc;
  const Value &catalog = doc.Catalog();
  std::map<std::string, Value> written;
  // Old style: a dictionary of names; new style: a name tree under /Names /Dests.
  pdf::ObjectPtr destsHolder;
  const Value *pDests = doc.Resolve(catalog.Get("Dests"), destsHolder);
  if (pDests != nullptr && pDests->IsDict()) {
    size_t n = 0;
    for (const pdf::DictEntry &item : pDests->dict()) {
      if (++n > limits::kMaxTreeEntries)
        break;
      written.emplace(item.key, item.value);
    }
  }
  pdf::ObjectPtr namesHolder;
  const Value *pNames = doc.Resolve(catalog.Get("Names"), namesHolder);
  if (pNames != nullptr && pNames->IsDict())
    NameTreeReader(entry, written).Read(pNames->Get("Dests"), 0);
  // Every destination is read now, in the order of the objects that hold them: a book's links
  // name thousands, scattered over its object streams, which are then each decoded once
  // instead of once per link.
  std::vector<std::pair<std::string, SourceDest>> &names = entry.names->names;
  std::vector<std::pair<uint32_t, const Value *>> order;
  names.reserve(written.size());
  order.reserve(written.size());
  for (const auto &[name, value] : written) {
    order.emplace_back(value.IsRef() ? value.ref().num : 0, &value);
    names.emplace_back(name, SourceDest());
  }
  std::vector<size_t> byObject(order.size());
  for (size_t i = 0; i < byObject.size(); ++i)
    byObject[i] = i;
  std::stable_sort(byObject.begin(), byObject.end(),
                   [&order](size_t a, size_t b) { return order[a].first < order[b].first; });
  size_t nRead = 0;
  for (size_t i : byObject) {
    if (!ReadExplicit(entry, order[i].second, names[i].second))
      names[i].second = SourceDest();
    // What was read of the file goes back to the system as the reading moves on.
    if (++nRead % 256 == 0)
      doc.ReleasePages();
  }
  doc.ReleasePages();
  return *entry.names;
}

} // namespace

const SourceDest *NamedDestinations::Find(const std::string &name) const {
  auto found =
      std::lower_bound(names.begin(), names.end(), name,
                       [](const auto &item, const std::string &key) { return item.first < key; });
  return found != names.end() && found->first == name ? &found->second : nullptr;
}

void Occurrence::Note(int nPage, const std::string &text) {
  if (noted.emplace(nPage, text).second)
    notes.emplace_back(nPage, text);
}

int Occurrence::PageNumber(uint32_t nPage) const {
  auto found = pEntry->pageIndex.find(nPage);
  return found == pEntry->pageIndex.end() ? 0 : static_cast<int>(found->second) + 1;
}

bool SafeAction(pdf::SourceDocument &doc, const Value *pAction) {
  pdf::ObjectPtr holder;
  pAction = doc.Resolve(pAction, holder);
  const Value *pKind = pAction ? pAction->Get("S") : nullptr;
  return pKind != nullptr && (pKind->IsName("URI") || pKind->IsName("Named")) &&
         !pAction->Get("Next");
}

bool ReadDest(SourceEntry &entry, const Value *pDest, SourceDest &out) {
  pdf::ObjectPtr holder;
  const Value *pValue = entry.doc->Resolve(pDest, holder);
  if (pValue != nullptr && (pValue->IsName() || pValue->IsString())) {
    const SourceDest *pFound = Names(entry).Find(KeyOf(*pValue));
    if (pFound == nullptr || pFound->nPage == 0)
      return false;
    out = *pFound;
    return true;
  }
  return ReadExplicit(entry, pValue, out);
}

Value CellDestination(const Placement &placement, const OutputBuilder &out) {
  double x = placement.cell.left, y = placement.cell.Top();
  MapPoint(placement.toSheet, x, y);
  // The zoom is null: the reader keeps its own.
  return Value(pdf::Array{Value(pdf::Ref{out.SheetNumber(placement.nSheet), 0}),
                          Value::MakeName("XYZ"), Value(x), Value(y), Value()});
}

bool ResolveDest(const SourceDest &dest, const std::vector<Occurrence> &occurrences,
                 size_t nOccurrence, bool bOtherOccurrences, const OutputBuilder &out,
                 Value &array) {
  const Occurrence &occurrence = occurrences[nOccurrence];
  const Placement *pPlacement = nullptr;
  auto here = occurrence.pages.find(dest.nPage);
  if (here != occurrence.pages.end())
    pPlacement = &here->second;
  for (size_t k = 0; bOtherOccurrences && pPlacement == nullptr && k < occurrences.size(); ++k) {
    if (occurrences[k].pEntry != occurrence.pEntry)
      continue;
    auto there = occurrences[k].pages.find(dest.nPage);
    if (there != occurrences[k].pages.end())
      pPlacement = &there->second;
  }
  if (pPlacement == nullptr)
    return false;
  if (dest.bWholePage) {
    array = CellDestination(*pPlacement, out);
    return true;
  }
  double x = dest.x, y = dest.y;
  MapPoint(pPlacement->matrix, x, y);
  array = Value(pdf::Array{Value(pdf::Ref{out.SheetNumber(pPlacement->nSheet), 0}),
                           Value::MakeName("XYZ"), Value(x), Value(y), Value()});
  return true;
}

} // namespace engine
