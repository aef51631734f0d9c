// One source's structure tree copied for the pages one occurrence placed. The tree is walked
// once per "pass": a page placed twice in the occurrence is in two passes, and each pass
// writes its own copy of the elements that have content on its pages. Elements are written
// after their kids (an element is kept only when something below it is), so numbers are taken
// only for what is written.

#include "ObjectCopier.h"
#include "StructureTree.h"
#include "pdf/Limits.h"

#include <algorithm>
#include <unordered_map>

namespace engine {

using pdf::Value;

namespace {

// Marked-content numbers beyond this are junk; slots for them are budgeted per pass.
constexpr int64_t kMaxMcid = 1'000'000;
constexpr size_t kMaxSlots = limits::kMaxTreeEntries;
constexpr unsigned kCancelEvery = 1024;

Value RefTo(uint32_t nNum) { return Value(pdf::Ref{nNum, 0}); }

bool IsType(const Value &dict, const char *pszType) {
  const Value *pType = dict.Get("Type");
  return pType != nullptr && pType->IsName(pszType);
}

uint32_t PageOf(const Value &dict, uint32_t nDefault) {
  const Value *pPage = dict.Get("Pg");
  return pPage != nullptr && pPage->IsRef() ? pPage->ref().num : nDefault;
}

} // namespace

class StructureTree::Walk {
public:
  using Pages = std::unordered_map<uint32_t, const PagePlacement *>;

  Walk(StructureTree &tree, SourceEntry &entry, const Pages &pages, size_t &nVisits)
      : m_tree(tree), m_entry(entry), m_doc(*entry.doc), m_state(tree.m_sources[&entry]),
        m_pages(pages), m_nVisits(nVisits) {}

  std::unordered_map<int64_t, std::vector<uint32_t>> arrays; // a placement's key -> elements
  bool bCut = false;                                         // a bound was reached
  int nBadContent = 0; // 1-based page of a content reference that was out of range

  void Run(const Value &root) {
    pdf::ObjectPtr holder;
    const Value *pKids = m_doc.Resolve(root.Get("K"), holder);
    if (pKids == nullptr)
      return;
    uint32_t nDocument = m_tree.DocumentElement();
    auto top = [&](const Value &kid) {
      uint32_t nOut = 0;
      Element(kid, nDocument, 0, true, nOut);
    };
    if (pKids->IsArray())
      for (const Value &kid : pKids->array())
        top(kid);
    else
      top(root.Get("K")->IsRef() ? *root.Get("K") : *pKids);
  }

private:
  enum class Outcome { Dropped, Kept, Empty };

  struct Kids {
    pdf::Array items;
    std::vector<std::pair<size_t, Value>> empties; // kept only when their parent is
    std::vector<std::pair<size_t, AnnotKey>> annots;
    bool bContent = false, bSelected = false;
  };

  bool Spend(int nDepth) {
    if (nDepth > limits::kMaxTreeDepth || ++m_nVisits > limits::kMaxTreeEntries) {
      bCut = true;
      return false;
    }
    if (m_nVisits % kCancelEvery == 0)
      m_tree.m_context.CheckCancel();
    return true;
  }

  uint32_t Self(uint32_t &nSelf) {
    if (nSelf == 0)
      nSelf = m_tree.m_out.Writer().Reserve();
    return nSelf;
  }

  int PageNumber(uint32_t nPage) const {
    auto found = m_entry.pageIndex.find(nPage);
    return found != m_entry.pageIndex.end() ? static_cast<int>(found->second) + 1 : 0;
  }

  // Marked content nMcid of a page (inside form nStm of the source, when not 0).
  void Content(Kids &kids, uint32_t nPage, uint32_t nStm, const Value *pMcid, uint32_t &nSelf) {
    kids.bContent = true;
    auto placed = m_pages.find(nPage);
    if (placed == m_pages.end())
      return;
    if (pMcid == nullptr || !pMcid->IsInt() || pMcid->integer() < 0 ||
        pMcid->integer() > kMaxMcid || m_nSlots > kMaxSlots) {
      if (nBadContent == 0)
        nBadContent = PageNumber(nPage);
      return;
    }
    const size_t nMcid = static_cast<size_t>(pMcid->integer());
    Value form = RefTo(placed->second->nForm);
    std::vector<uint32_t> *pArray = &arrays[placed->second->nKey];
    if (nStm != 0) {
      form = m_entry.copier->MapRef(pdf::Ref{nStm, 0});
      const Value key = m_tree.NestedKey(m_entry, nStm);
      if (form.IsNull() || !key.IsInt())
        return;
      pArray = &m_tree.m_nestedArrays[key.integer()];
    }
    if (pArray->size() <= nMcid) {
      m_nSlots += nMcid + 1 - pArray->size();
      pArray->resize(nMcid + 1, 0);
    }
    // A form inside pages drawn several times is one content: the first element to claim it
    // keeps it.
    if ((*pArray)[nMcid] == 0 || nStm == 0)
      (*pArray)[nMcid] = Self(nSelf);
    else
      Self(nSelf);
    kids.bSelected = true;
    pdf::Dict mcr;
    mcr.Set("Type", Value::MakeName("MCR"));
    mcr.Set("Pg", RefTo(m_tree.m_out.SheetNumber(placed->second->nSheet)));
    mcr.Set("Stm", std::move(form));
    mcr.Set("MCID", Value(static_cast<int64_t>(nMcid)));
    kids.items.push_back(Value(std::move(mcr)));
  }

  // An annotation of a page: completed now when its writer already said where it went.
  void Annotation(Kids &kids, uint32_t nPage, const Value *pObj, uint32_t &nSelf) {
    kids.bContent = true;
    auto placed = m_pages.find(nPage);
    if (placed == m_pages.end() || pObj == nullptr || !pObj->IsRef())
      return;
    kids.bSelected = true;
    const size_t nSheet = placed->second->nSheet;
    const AnnotKey key{m_tree.m_nPosition, pObj->ref().num, nSheet};
    auto early = m_tree.m_early.find(key);
    if (early != m_tree.m_early.end() && !early->second.empty()) {
      const Report report = early->second.front();
      early->second.pop_front();
      if (early->second.empty())
        m_tree.m_early.erase(early);
      pdf::Dict objr;
      objr.Set("Type", Value::MakeName("OBJR"));
      objr.Set("Pg", RefTo(m_tree.m_out.SheetNumber(nSheet)));
      objr.Set("Obj", RefTo(report.nAnnot));
      kids.items.push_back(Value(std::move(objr)));
      m_tree.m_parentTree.emplace_back(report.nKey, RefTo(Self(nSelf)));
      return;
    }
    kids.annots.emplace_back(kids.items.size(), key);
    kids.items.push_back(Value()); // filled when the annotation is written
  }

  Outcome Element(const Value &item, uint32_t &nParent, int nDepth, bool bTop, uint32_t &nOut) {
    if (!Spend(nDepth))
      return Outcome::Dropped;
    if (item.IsRef()) {
      const uint32_t nNum = item.ref().num;
      if (nNum >= m_visited.size())
        m_visited.resize(std::max<size_t>(nNum + 1, m_visited.size() * 2));
      if (m_visited[nNum])
        return Outcome::Dropped; // listed twice (or a loop): it has its place already
      m_visited[nNum] = true;
    }
    pdf::ObjectPtr holder;
    const Value *pElement = m_doc.Resolve(&item, holder);
    if (pElement == nullptr || !pElement->IsDict() || IsType(*pElement, "MCR") ||
        IsType(*pElement, "OBJR"))
      return Outcome::Dropped;
    const Value element = *pElement; // kept while the kids are read
    holder.reset();
    const uint32_t nPage = PageOf(element, 0);
    uint32_t nSelf = 0;
    Kids kids;
    auto kid = [&](const Value &raw) {
      if (raw.IsInt()) {
        Content(kids, nPage, 0, &raw, nSelf);
        return;
      }
      pdf::ObjectPtr kidHolder;
      const Value *pKid = m_doc.Resolve(&raw, kidHolder);
      if (pKid == nullptr)
        return;
      if (pKid->IsInt()) {
        Content(kids, nPage, 0, pKid, nSelf);
      } else if (pKid->IsDict() && IsType(*pKid, "MCR")) {
        const Value *pStm = pKid->Get("Stm");
        Content(kids, PageOf(*pKid, nPage), pStm != nullptr && pStm->IsRef() ? pStm->ref().num : 0,
                pKid->Get("MCID"), nSelf);
      } else if (pKid->IsDict() && IsType(*pKid, "OBJR")) {
        Annotation(kids, PageOf(*pKid, nPage), pKid->Get("Obj"), nSelf);
      } else {
        kidHolder.reset();
        uint32_t nKid = 0;
        switch (Element(raw, nSelf, nDepth + 1, false, nKid)) {
        case Outcome::Kept:
          kids.bSelected = kids.bContent = true;
          kids.items.push_back(RefTo(nKid));
          break;
        case Outcome::Empty:
          kids.empties.emplace_back(kids.items.size(), raw);
          kids.items.push_back(Value());
          break;
        case Outcome::Dropped:
          kids.bContent = true;
          break;
        }
      }
    };
    pdf::ObjectPtr kidsHolder;
    const Value *pKids = m_doc.Resolve(element.Get("K"), kidsHolder);
    if (pKids != nullptr && pKids->IsArray()) {
      const pdf::Array list = pKids->array();
      kidsHolder.reset();
      for (const Value &raw : list)
        kid(raw);
    } else if (const Value *pRaw = element.Get("K")) {
      kid(*pRaw);
    }
    if (!kids.bSelected)
      return kids.bContent ? Outcome::Dropped : Outcome::Empty;

    Self(nSelf);
    for (auto &[nIndex, raw] : kids.empties)
      kids.items[nIndex] = RefTo(WriteEmpty(raw, nSelf, nDepth + 1));
    // Empty kids that could not be written leave no trace; annotations keep their places.
    pdf::Array items;
    std::vector<size_t> moved(kids.items.size());
    for (size_t i = 0; i < kids.items.size(); ++i) {
      moved[i] = items.size();
      if (!(kids.items[i].IsRef() && kids.items[i].ref().num == 0))
        items.push_back(std::move(kids.items[i]));
    }
    Value dict = Dict(element, nSelf, Self(nParent), nPage, std::move(items));
    for (const auto &[nIndex, key] : kids.annots)
      m_tree.m_slots.emplace(key, Slot{nSelf, moved[nIndex], key.nSheet});
    m_tree.WriteOrHold(nSelf, std::move(dict), static_cast<int>(kids.annots.size()), bTop);
    nOut = nSelf;
    return Outcome::Kept;
  }

  // An element without content anywhere below it, under an element that is kept (an empty
  // table cell keeps the table's shape).
  uint32_t WriteEmpty(const Value &item, uint32_t nParent, int nDepth) {
    if (!Spend(nDepth))
      return 0;
    pdf::ObjectPtr holder;
    const Value *pElement = m_doc.Resolve(&item, holder);
    if (pElement == nullptr || !pElement->IsDict())
      return 0;
    const Value element = *pElement;
    holder.reset();
    const uint32_t nSelf = m_tree.m_out.Writer().Reserve();
    pdf::Array items;
    pdf::ObjectPtr kidsHolder;
    const Value *pKids = m_doc.Resolve(element.Get("K"), kidsHolder);
    pdf::Array list;
    if (pKids != nullptr && pKids->IsArray())
      list = pKids->array();
    else if (element.Get("K") != nullptr)
      list.push_back(*element.Get("K"));
    kidsHolder.reset();
    for (const Value &raw : list)
      if (const uint32_t nKid = WriteEmpty(raw, nSelf, nDepth + 1))
        items.push_back(RefTo(nKid));
    m_tree.m_out.Writer().WriteObject(nSelf, Dict(element, nSelf, nParent, 0, std::move(items)));
    return nSelf;
  }

  Value Dict(const Value &element, uint32_t nSelf, uint32_t nParent, uint32_t nPage,
             pdf::Array kids) {
    pdf::Dict out;
    out.Set("Type", Value::MakeName("StructElem"));
    const Value *pRole = element.Get("S");
    out.Set("S", Value::MakeName(m_tree.RoleName(
                     m_state, pRole != nullptr && pRole->IsName() ? pRole->name() : "NonStruct")));
    out.Set("P", RefTo(nParent));
    auto placed = m_pages.find(nPage);
    if (placed != m_pages.end())
      out.Set("Pg", RefTo(m_tree.m_out.SheetNumber(placed->second->nSheet)));
    out.Set("K", Value(std::move(kids)));
    for (const pdf::DictEntry &item : element.dict()) {
      const std::string &key = item.key;
      if (key == "Type" || key == "S" || key == "P" || key == "K" || key == "Pg" || key == "Ref")
        continue;
      if (key == "ID") {
        pdf::ObjectPtr holder;
        const Value *pId = m_doc.Resolve(&item.value, holder);
        Value id = pId != nullptr ? m_tree.UniqueId(*pId, nSelf) : Value();
        if (!id.IsNull())
          out.Set("ID", std::move(id));
      } else if (key == "C") {
        pdf::ObjectPtr holder;
        if (const Value *pClasses = m_doc.Resolve(&item.value, holder))
          out.Set("C", m_tree.ClassNames(m_state, *pClasses));
      } else {
        Value mapped = m_entry.copier->Map(item.value);
        if (!mapped.IsNull())
          out.Set(key, std::move(mapped));
      }
    }
    return Value(std::move(out));
  }

  StructureTree &m_tree;
  SourceEntry &m_entry;
  pdf::SourceDocument &m_doc;
  SourceState &m_state;
  const Pages &m_pages;
  size_t &m_nVisits;
  size_t m_nSlots = 0;
  std::vector<bool> m_visited;
};

void StructureTree::EndOccurrence() {
  if (m_pEntry == nullptr)
    return;
  SourceEntry &entry = *m_pEntry;
  const SourceState &state = m_sources[&entry];
  // Only occurrences that placed pages count towards the language and the tagged flag.
  m_langs.insert(state.lang);
  if (state.bTagged) {
    m_bAnyTagged = true;
  } else {
    m_bAllTagged = false;
    m_untagged.push_back(m_nPosition);
  }
  if (state.bTagged && !m_placements.empty()) {
    pdf::ObjectPtr holder;
    const Value *pRoot = entry.doc->Resolve(entry.doc->Catalog().Get("StructTreeRoot"), holder);
    const Value root = pRoot != nullptr ? *pRoot : Value();
    holder.reset();
    // Pass k holds the k-th placement of each page.
    std::vector<Walk::Pages> passes;
    for (const PagePlacement &placement : m_placements) {
      size_t nPass = 0;
      while (nPass < passes.size() && passes[nPass].count(placement.nPage) != 0)
        ++nPass;
      if (nPass == passes.size())
        passes.emplace_back();
      passes[nPass].emplace(placement.nPage, &placement);
    }
    size_t nVisits = 0;
    bool bCut = false;
    int nBadPage = 0;
    for (const Walk::Pages &pages : passes) {
      Walk walk(*this, entry, pages, nVisits);
      walk.Run(root);
      bCut = bCut || walk.bCut;
      nBadPage = nBadPage != 0 ? nBadPage : walk.nBadContent;
      for (const auto &[nPage, pPlacement] : pages) {
        auto found = walk.arrays.find(pPlacement->nKey);
        if (found == walk.arrays.end() || found->second.empty()) {
          m_parentTree.emplace_back(pPlacement->nKey, Value(pdf::Array{}));
          continue;
        }
        pdf::Array array;
        for (uint32_t nElement : found->second)
          array.push_back(nElement != 0 ? RefTo(nElement) : Value());
        const uint32_t nArray = m_out.Writer().Reserve();
        m_out.Writer().WriteObject(nArray, Value(std::move(array)));
        m_parentTree.emplace_back(pPlacement->nKey, RefTo(nArray));
      }
    }
    if (bCut)
      Notice(m_nPosition, 0,
             L"its structure tree is too large or too deep: part of it was left out");
    if (nBadPage != 0)
      Notice(m_nPosition, nBadPage, L"a tag names marked content out of range and was left out");
  }
  m_walked.insert(m_nPosition);
  m_placements.clear();
  m_pEntry = nullptr;
}

} // namespace engine
