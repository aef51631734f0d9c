#include "StructureTree.h"

#include "NameTrees.h"
#include "ObjectCopier.h"
#include "pdf/Limits.h"

#include <algorithm>

namespace engine {

using pdf::Value;

namespace {

Value RefTo(uint32_t nNum) { return Value(pdf::Ref{nNum, 0}); }

} // namespace

void StructureTree::Notice(int nPosition, int nPage, const std::wstring &text) {
  m_context.notices.push_back({nPosition, nPage, false, text});
}

uint32_t StructureTree::DocumentElement() {
  if (m_nDocument == 0) {
    m_nRoot = m_out.Writer().Reserve();
    m_nDocument = m_out.Writer().Reserve();
    m_out.SetStructureOrder(true); // from now on, sheets' annotations follow the structure
  }
  return m_nDocument;
}

void StructureTree::BeginOccurrence(SourceEntry &entry, int nPosition) {
  m_pEntry = &entry;
  m_nPosition = nPosition;
  m_placements.clear();
  auto [found, bNew] = m_sources.try_emplace(&entry);
  SourceState &state = found->second;
  pdf::SourceDocument &doc = *entry.doc;
  const Value &catalog = doc.Catalog();
  if (bNew) {
    pdf::ObjectPtr holder;
    const Value *pLang = doc.Resolve(catalog.Get("Lang"), holder);
    if (pLang != nullptr && pLang->IsString())
      state.lang = pLang->string().bytes;
    const Value *pRoot = doc.Resolve(catalog.Get("StructTreeRoot"), holder);
    state.bTagged = pRoot != nullptr && pRoot->IsDict() && pRoot->Get("K") != nullptr;
    if (state.bTagged)
      ReadNames(state, entry, *pRoot);
    pdf::ObjectPtr markHolder;
    const Value *pMark = doc.Resolve(catalog.Get("MarkInfo"), markHolder);
    if (pMark != nullptr && pMark->Get("Suspects") != nullptr && pMark->Get("Suspects")->IsBool() &&
        pMark->Get("Suspects")->boolean())
      m_bSuspects = true;
  }
  // Forms of the source drawn inside its pages keep their place in the structure under keys of
  // the output; an untagged source's forms lose theirs.
  entry.copier->SetStructParents(
      [this, &entry](uint32_t nForm) { return NestedKey(entry, nForm); });
  if (state.bTagged)
    DocumentElement();
}

Value StructureTree::NestedKey(SourceEntry &entry, uint32_t nForm) {
  SourceState &state = m_sources[&entry];
  if (!state.bTagged)
    return Value();
  auto [found, bNew] = state.nestedKeys.try_emplace(nForm, 0);
  if (bNew) {
    found->second = NewKey();
    m_nestedArrays[found->second];
  }
  return Value(found->second);
}

std::optional<int64_t> StructureTree::FormKey() {
  if (m_pEntry == nullptr || !m_sources[m_pEntry].bTagged)
    return std::nullopt;
  return NewKey();
}

void StructureTree::PagePlaced(uint32_t nPage, uint32_t nForm, size_t nSheet,
                               std::optional<int64_t> nKey) {
  if (nKey)
    m_placements.push_back({nPage, nForm, nSheet, *nKey});
}

void StructureTree::PicturePlaced(int nPosition) {
  m_bAllTagged = false;
  m_untagged.push_back(nPosition);
}

void StructureTree::WriteOrHold(uint32_t nNum, Value dict, int nUnsettled, bool bTop) {
  if (nUnsettled == 0 && !bTop) {
    m_out.Writer().WriteObject(nNum, dict);
    return;
  }
  Held &held = m_held[nNum];
  held.dict = std::move(dict);
  held.nUnsettled = nUnsettled;
  held.bTop = bTop;
  if (bTop) {
    held.lang = m_sources[m_pEntry].lang;
    m_top.push_back(nNum);
  }
}

void StructureTree::Settle(uint32_t nElement) {
  auto found = m_held.find(nElement);
  if (found == m_held.end() || --found->second.nUnsettled > 0 || found->second.bTop)
    return;
  m_out.Writer().WriteObject(nElement, found->second.dict);
  m_held.erase(found);
}

std::optional<int64_t> StructureTree::AnnotationWritten(int nPosition, uint32_t nSourceAnnot,
                                                        uint32_t nOutAnnot, size_t nSheet) {
  const AnnotKey key{nPosition, nSourceAnnot, nSheet};
  auto slot = m_slots.find(key);
  if (slot != m_slots.end()) {
    // The element met this annotation already: the reference in its /K is completed.
    const Slot waiting = slot->second;
    m_slots.erase(slot);
    auto held = m_held.find(waiting.nElement);
    if (held == m_held.end())
      return std::nullopt;
    pdf::Dict objr;
    objr.Set("Type", Value::MakeName("OBJR"));
    objr.Set("Pg", RefTo(m_out.SheetNumber(nSheet)));
    objr.Set("Obj", RefTo(nOutAnnot));
    Value *pKids = held->second.dict.dict().Get("K");
    if (pKids != nullptr && pKids->IsArray() && waiting.nIndex < pKids->array().size())
      pKids->array()[waiting.nIndex] = Value(std::move(objr));
    const int64_t nKey = NewKey();
    m_parentTree.emplace_back(nKey, RefTo(waiting.nElement));
    Settle(waiting.nElement);
    return nKey;
  }
  // Written before its occurrence's structure: the element will find it. Only annotations the
  // source placed in its structure take part.
  if (nPosition != m_nPosition || m_walked.count(nPosition) != 0 || m_pEntry == nullptr ||
      !m_sources[m_pEntry].bTagged)
    return std::nullopt;
  const pdf::ObjectPtr annot = m_pEntry->doc->Load(pdf::Ref{nSourceAnnot, 0});
  if (annot->value.Get("StructParent") == nullptr)
    return std::nullopt;
  const int64_t nKey = NewKey();
  m_early[key].push_back({nOutAnnot, nKey});
  return nKey;
}

void StructureTree::Build(pdf::Dict &catalog) {
  const bool bSameLang = m_langs.size() == 1;
  if (bSameLang && !m_langs.begin()->empty())
    catalog.Set("Lang", Value::MakeString(*m_langs.begin()));
  if (m_nDocument == 0 || !m_bAnyTagged)
    return;
  for (int nPosition : m_untagged)
    Notice(nPosition, 0, L"it has no tags: its pages are carried as untagged content");
  // Annotations written early whose element never came still point into the structure.
  for (auto &[key, reports] : m_early)
    for (const Report &report : reports)
      m_parentTree.emplace_back(report.nKey, RefTo(m_nDocument));
  m_early.clear();
  m_slots.clear();
  for (auto &[nNum, held] : m_held) {
    m_context.CheckCancel();
    // A link or field that was never written leaves no reference behind.
    if (Value *pKids = held.dict.dict().Get("K"); pKids != nullptr && pKids->IsArray()) {
      pdf::Array &kids = pKids->array();
      kids.erase(
          std::remove_if(kids.begin(), kids.end(), [](const Value &v) { return v.IsNull(); }),
          kids.end());
    }
    if (held.bTop && !bSameLang && !held.lang.empty() && !held.dict.dict().Has("Lang"))
      held.dict.dict().Set("Lang", Value::MakeString(held.lang));
    m_out.Writer().WriteObject(nNum, held.dict);
  }
  m_held.clear();

  for (auto &[nKey, elements] : m_nestedArrays) {
    pdf::Array array;
    for (uint32_t nElement : elements)
      array.push_back(nElement != 0 ? RefTo(nElement) : Value());
    const uint32_t nArray = m_out.Writer().Reserve();
    m_out.Writer().WriteObject(nArray, Value(std::move(array)));
    m_parentTree.emplace_back(nKey, RefTo(nArray));
  }
  std::sort(m_parentTree.begin(), m_parentTree.end(),
            [](const auto &a, const auto &b) { return a.first < b.first; });

  pdf::Array top;
  for (uint32_t nNum : m_top)
    top.push_back(RefTo(nNum));
  pdf::Dict document;
  document.Set("Type", Value::MakeName("StructElem"));
  document.Set("S", Value::MakeName("Document"));
  document.Set("P", RefTo(m_nRoot));
  document.Set("K", Value(std::move(top)));
  m_out.Writer().WriteObject(m_nDocument, Value(std::move(document)));

  pdf::Dict root;
  root.Set("Type", Value::MakeName("StructTreeRoot"));
  root.Set("K", RefTo(m_nDocument));
  root.Set("ParentTree", RefTo(WriteNumberTree(m_out.Writer(), m_parentTree)));
  root.Set("ParentTreeNextKey", Value(m_nNextKey));
  if (!m_ids.empty()) {
    const std::vector<std::pair<std::string, Value>> ids(m_ids.begin(), m_ids.end());
    root.Set("IDTree", RefTo(WriteNameTree(m_out.Writer(), ids)));
  }
  if (!m_roleMap.empty()) {
    pdf::Dict roles;
    for (const auto &[role, standard] : m_roleMap)
      roles.Set(role, Value::MakeName(standard));
    root.Set("RoleMap", Value(std::move(roles)));
  }
  if (!m_classMap.empty()) {
    pdf::Dict classes;
    for (const auto &[name, item] : m_classMap)
      classes.Set(name, item.second);
    root.Set("ClassMap", Value(std::move(classes)));
  }
  m_out.Writer().WriteObject(m_nRoot, Value(std::move(root)));
  catalog.Set("StructTreeRoot", RefTo(m_nRoot));
  pdf::Dict mark;
  mark.Set("Marked", Value(m_bAllTagged));
  if (m_bSuspects)
    mark.Set("Suspects", Value(true));
  catalog.Set("MarkInfo", Value(std::move(mark)));
}

} // namespace engine
