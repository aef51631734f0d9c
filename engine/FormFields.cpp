#include "FormFields.h"

#include "AnnotationGeometry.h"
#include "SourcePages.h"

#include "pdf/Limits.h"

#include <cmath>
#include <functional>

namespace engine {

using pdf::Value;

namespace {

constexpr int kMaxFieldDepth = 64;
constexpr size_t kMaxFields = 100000;

// What a field's dictionary says of itself that does not tie it to the source: everything but
// its place in the field tree, its page, and actions that could run code.
constexpr const char *kDroppedKeys[] = {"Parent", "Kids",         "P",     "AA",
                                        "A",      "StructParent", "Popup", "IRT"};

// Keys of the widget annotation in a field and widget merged into one dictionary.
constexpr const char *kWidgetKeys[] = {"Type", "Subtype", "Rect",     "AP",        "AS", "F",
                                       "MK",   "H",       "BS",       "Border",    "C",  "OC",
                                       "NM",   "M",       "Contents", "QuadPoints"};

bool IsWidgetKey(const std::string &key) {
  for (const char *pszKey : kWidgetKeys)
    if (key == pszKey)
      return true;
  return false;
}

// The field type a node has or inherits.
std::string FieldType(pdf::SourceDocument &doc, const Value &node, const std::string &inherited) {
  pdf::ObjectPtr holder;
  const Value *pType = doc.Resolve(node.Get("FT"), holder);
  return pType != nullptr && pType->IsName() ? pType->name() : inherited;
}

// The fields of the form as trees: each entry of /Fields is taken up to the field at the top
// of its tree (some writers list widgets or kids there), each top field once. The type each
// top field inherits from nodes above it is given with it.
std::vector<std::pair<pdf::Ref, std::string>> FieldRoots(pdf::SourceDocument &doc,
                                                         const Value *pFields) {
  std::vector<std::pair<pdf::Ref, std::string>> roots;
  if (pFields == nullptr || !pFields->IsArray())
    return roots;
  std::unordered_set<uint32_t> taken;
  for (const Value &field : pFields->array()) {
    if (!field.IsRef() || roots.size() >= kMaxFields)
      continue;
    pdf::Ref ref = field.ref();
    std::unordered_set<uint32_t> path{ref.num};
    for (int depth = 0; depth < kMaxFieldDepth; ++depth) {
      const pdf::ObjectPtr node = doc.Load(ref);
      const Value *pParent = node->value.Get("Parent");
      if (pParent == nullptr || !pParent->IsRef() || !path.insert(pParent->ref().num).second)
        break;
      const pdf::ObjectPtr parent = doc.Load(pParent->ref());
      if (!parent->value.IsDict())
        break;
      ref = pParent->ref();
    }
    if (taken.insert(ref.num).second)
      roots.emplace_back(ref, "");
  }
  return roots;
}

} // namespace

void FormFields::Tick() {
  if ((++m_nTick & 1023) == 0 && m_checkCancel)
    m_checkCancel();
}

const SourceForm &FormFields::Read(SourceEntry &entry) {
  SourceForm &form = m_forms[&entry];
  if (form.bRead || !entry.doc)
    return form;
  form.bRead = true;
  pdf::SourceDocument &doc = *entry.doc;
  pdf::ObjectPtr formHolder, fieldsHolder;
  const Value *pForm = doc.Resolve(doc.Catalog().Get("AcroForm"), formHolder);
  const Value *pFields = pForm ? doc.Resolve(pForm->Get("Fields"), fieldsHolder) : nullptr;
  std::unordered_set<uint32_t> visited;
  std::function<void(const Value &, const std::string &, int)> walk =
      [&](const Value &ref, const std::string &type, int depth) {
        Tick();
        if (!ref.IsRef() || depth > kMaxFieldDepth || visited.size() > kMaxFields ||
            !visited.insert(ref.ref().num).second)
          return;
        const pdf::ObjectPtr node = doc.Load(ref.ref());
        if (!node->value.IsDict())
          return;
        const std::string ft = FieldType(doc, node->value, type);
        if (ft == "Sig")
          return; // drawn flat: a signature cannot survive a merge
        pdf::ObjectPtr kidsHolder;
        const Value *pKids = doc.Resolve(node->value.Get("Kids"), kidsHolder);
        if (pKids != nullptr && pKids->IsArray()) {
          for (const Value &kid : pKids->array())
            walk(kid, ft, depth + 1);
        } else if (const Value *pSubtype = node->value.Get("Subtype");
                   pSubtype && pSubtype->IsName("Widget")) {
          form.widgets.insert(ref.ref().num);
        }
      };
  for (const auto &[root, type] : FieldRoots(doc, pFields))
    walk(Value(root), type, 0);
  return form;
}

bool FormFields::Carries(SourceEntry &entry, uint32_t nAnnot) {
  return m_bCarry && Read(entry).widgets.count(nAnnot) != 0;
}

void FormFields::PlacePage(SourceEntry &entry, const pdf::PageEntry &page,
                           const Placement &placement, uint64_t nPlaces, OutputBuilder &out) {
  if (!m_bCarry)
    return;
  const SourceForm &form = Read(entry);
  if (form.widgets.empty())
    return;
  const PageAnnotations annots = ReadPageAnnotations(*entry.doc, page);
  for (size_t i = 0; i < annots.size(); ++i)
    if (annots[i].IsRef() && form.widgets.count(annots[i].ref().num) != 0) {
      out.BeginAnnotation(placement.nSheet);
      m_pending[annots[i].ref().num].push_back(Widget{placement.nSheet, nPlaces + i, placement});
    }
}

std::string FormFields::UniqueName(const std::string &name) {
  if (m_names.insert(name).second)
    return name;
  // Suffixes already tried for this name are not tried again: each name costs about one try.
  int &next = m_nextSuffix.emplace(name, 2).first->second;
  for (;; ++next) {
    Tick();
    std::string candidate = name + "_" + std::to_string(next);
    if (m_names.insert(candidate).second) {
      ++next;
      return candidate;
    }
  }
}

void FormFields::WriteOccurrence(SourceEntry &entry, Occurrence &occurrence, OutputBuilder &out) {
  if (m_pending.empty())
    return;
  pdf::SourceDocument &doc = *entry.doc;
  ObjectCopier &copier = *entry.copier;
  pdf::ObjectPtr formHolder, fieldsHolder;
  const Value *pForm = doc.Resolve(doc.Catalog().Get("AcroForm"), formHolder);
  const Value *pFields = pForm ? doc.Resolve(pForm->Get("Fields"), fieldsHolder) : nullptr;

  // Which nodes of the field tree stay: widgets that were placed, and the fields above them.
  struct Node {
    uint32_t nSource = 0, nOut = 0;
    int nParent = -1;
    std::vector<size_t> kids;
    bool bWidget = false;
    // One output widget per placement; a named widget placed more than once becomes a field
    // (nOut) whose kids they are, a kid without a name gets siblings.
    std::vector<uint32_t> widgetOuts;
    bool bSplit = false;
  };
  std::vector<Node> nodes;
  std::unordered_map<uint32_t, uint32_t> outOf; // source field -> output field, this occurrence
  std::unordered_set<uint32_t> visited;
  std::function<int(const Value &, const std::string &, int)> build =
      [&](const Value &ref, const std::string &type, int depth) -> int {
    Tick();
    if (!ref.IsRef() || depth > kMaxFieldDepth || visited.size() > kMaxFields ||
        !visited.insert(ref.ref().num).second)
      return -1;
    const pdf::ObjectPtr node = doc.Load(ref.ref());
    if (!node->value.IsDict())
      return -1;
    const std::string ft = FieldType(doc, node->value, type);
    if (ft == "Sig")
      return -1;
    pdf::ObjectPtr kidsHolder;
    const Value *pKids = doc.Resolve(node->value.Get("Kids"), kidsHolder);
    Node here;
    here.nSource = ref.ref().num;
    if (pKids != nullptr && pKids->IsArray()) {
      std::vector<int> kept;
      for (const Value &kid : pKids->array()) {
        const int k = build(kid, ft, depth + 1);
        if (k >= 0)
          kept.push_back(k);
      }
      if (kept.empty())
        return -1;
      nodes.push_back(here);
      const size_t index = nodes.size() - 1;
      for (int k : kept) {
        nodes[index].kids.push_back(static_cast<size_t>(k));
        nodes[static_cast<size_t>(k)].nParent = static_cast<int>(index);
      }
      return static_cast<int>(index);
    }
    if (m_pending.count(ref.ref().num) == 0)
      return -1; // a widget on a page that was not placed
    here.bWidget = true;
    nodes.push_back(here);
    return static_cast<int>(nodes.size() - 1);
  };
  std::vector<size_t> top;
  for (const auto &[root, type] : FieldRoots(doc, pFields)) {
    const int k = build(Value(root), type, 0);
    if (k >= 0)
      top.push_back(static_cast<size_t>(k));
  }
  for (Node &node : nodes) {
    if (node.bWidget) {
      for (size_t i = 0; i < m_pending.at(node.nSource).size(); ++i)
        node.widgetOuts.push_back(out.Writer().Reserve());
      const pdf::ObjectPtr source = doc.Load(pdf::Ref{node.nSource, 0});
      node.bSplit = node.widgetOuts.size() > 1 && (node.nParent < 0 || source->value.Get("T"));
      node.nOut = node.bSplit ? out.Writer().Reserve() : node.widgetOuts[0];
    } else {
      node.nOut = out.Writer().Reserve();
    }
    outOf.emplace(node.nSource, node.nOut);
  }

  for (const Node &node : nodes) {
    Tick();
    const pdf::ObjectPtr source = doc.Load(pdf::Ref{node.nSource, 0});
    Value dict = source->value;
    for (const char *pszKey : kDroppedKeys)
      dict.dict().Remove(pszKey);
    if (node.bWidget)
      dict.dict().Remove("AP"); // placed with the widget, turned when the widget is
    Value mapped = copier.Map(dict);
    if (const Value *pAction = source->value.Get("A"); pAction && SafeAction(doc, pAction))
      mapped.dict().Set("A", copier.Map(*pAction));
    // Additional actions without scripts (which is what most of them are).
    pdf::ObjectPtr aaHolder;
    const Value *pAdditional = doc.Resolve(source->value.Get("AA"), aaHolder);
    if (pAdditional != nullptr && pAdditional->IsDict()) {
      pdf::Dict kept;
      for (const pdf::DictEntry &trigger : pAdditional->dict())
        if (SafeAction(doc, &trigger.value))
          kept.Set(trigger.key, copier.Map(trigger.value));
      if (!kept.empty())
        mapped.dict().Set("AA", Value(std::move(kept)));
    }
    if (node.nParent >= 0)
      mapped.dict().Set("Parent",
                        Value(pdf::Ref{nodes[static_cast<size_t>(node.nParent)].nOut, 0}));
    if (!node.kids.empty()) {
      pdf::Array kids;
      for (size_t k : node.kids) {
        if (nodes[k].bWidget && !nodes[k].bSplit)
          for (uint32_t nWidget : nodes[k].widgetOuts)
            kids.push_back(Value(pdf::Ref{nWidget, 0}));
        else
          kids.push_back(Value(pdf::Ref{nodes[k].nOut, 0}));
      }
      mapped.dict().Set("Kids", Value(std::move(kids)));
    }
    if (node.nParent < 0) {
      const Value *pName = source->value.Get("T");
      if (pName != nullptr && pName->IsString()) {
        const std::string unique = UniqueName(pName->string().bytes);
        if (unique != pName->string().bytes)
          mapped.dict().Set("T", Value::MakeString(unique));
      }
    }
    if (!node.bWidget) {
      out.Writer().WriteObject(node.nOut, mapped);
      continue;
    }
    Value field = mapped;
    if (node.bSplit) {
      // The field keeps what is not the widget's; each widget keeps what is.
      pdf::Dict fieldOnly, widgetOnly;
      for (const pdf::DictEntry &item : mapped.dict())
        (IsWidgetKey(item.key) ? widgetOnly : fieldOnly).Set(item.key, item.value);
      pdf::Array kids;
      for (uint32_t nWidget : node.widgetOuts)
        kids.push_back(Value(pdf::Ref{nWidget, 0}));
      fieldOnly.Set("Kids", Value(std::move(kids)));
      out.Writer().WriteObject(node.nOut, Value(std::move(fieldOnly)));
      widgetOnly.Set("Parent", Value(pdf::Ref{node.nOut, 0}));
      field = Value(std::move(widgetOnly));
    }
    const std::vector<Widget> &placements = m_pending.at(node.nSource);
    for (size_t i = 0; i < placements.size(); ++i) {
      const Widget &widget = placements[i];
      Value placed = field;
      const Matrix &m = widget.placement.matrix;
      Rect rect;
      if (ReadRect(source->value.Get("Rect"), rect))
        placed.dict().Set("Rect", RectArray(MapRect(m, rect)));
      if (const Value *pQuads = source->value.Get("QuadPoints"); pQuads && pQuads->IsArray()) {
        pdf::Array quads;
        for (size_t q = 0; q + 1 < pQuads->array().size(); q += 2) {
          double x = pdf::NumberOr(&pQuads->array()[q], 0),
                 y = pdf::NumberOr(&pQuads->array()[q + 1], 0);
          MapPoint(m, x, y);
          quads.push_back(Value(x));
          quads.push_back(Value(y));
        }
        placed.dict().Set("QuadPoints", Value(std::move(quads)));
      }
      placed.dict().Set("P", Value(pdf::Ref{out.SheetNumber(widget.nSheet), 0}));
      // Readers fit an appearance to its rectangle without turning it: the turn goes into the
      // appearances, and into /MK for appearances the reader makes anew.
      const int turn = QuarterTurn(m);
      Value appearances = PlacedAppearances(entry, source->value.Get("AP"), turn, out);
      if (!appearances.IsNull())
        placed.dict().Set("AP", std::move(appearances));
      if (turn != 0) {
        Value mk = placed.Get("MK") ? *placed.Get("MK") : Value(pdf::Dict());
        if (mk.IsDict()) {
          const int64_t r = IntegerOr(mk.Get("R"), 0) % 360;
          mk.dict().Set("R", Value(static_cast<int>(((r + turn) % 360 + 360) % 360)));
          placed.dict().Set("MK", std::move(mk));
        }
      }
      if (const auto nKey = out.AnnotationKey(occurrence.nPosition, node.nSource,
                                              node.widgetOuts[i], widget.nSheet))
        placed.dict().Set("StructParent", Value(*nKey));
      out.Writer().WriteObject(node.widgetOuts[i], placed);
      out.SettleAnnotation(widget.nSheet, widget.nOrder, node.widgetOuts[i]);
      occurrence.Wrote(node.nSource, node.widgetOuts[i], false);
    }
    m_pending.erase(node.nSource);
  }
  for (size_t k : top)
    m_fields.push_back(Value(pdf::Ref{nodes[k].nOut, 0}));
  // Widgets that no field led to after all are not listed.
  for (const auto &[nAnnot, placements] : m_pending)
    for (const Widget &widget : placements)
      out.SettleAnnotation(widget.nSheet, widget.nOrder, 0);
  m_pending.clear();

  if (pForm != nullptr) {
    pdf::ObjectPtr orderHolder;
    const Value *pOrder = doc.Resolve(pForm->Get("CO"), orderHolder);
    if (pOrder != nullptr && pOrder->IsArray())
      for (const Value &field : pOrder->array())
        if (field.IsRef() && outOf.count(field.ref().num) != 0)
          m_order.push_back(Value(pdf::Ref{outOf[field.ref().num], 0}));
    pdf::ObjectPtr drHolder;
    const Value *pResources = doc.Resolve(pForm->Get("DR"), drHolder);
    if (pResources != nullptr && pResources->IsDict()) {
      for (const pdf::DictEntry &category : pResources->dict()) {
        pdf::ObjectPtr categoryHolder;
        const Value *pCategory = doc.Resolve(&category.value, categoryHolder);
        if (pCategory == nullptr || !pCategory->IsDict())
          continue;
        Value *pMine = m_resources.Get(category.key);
        if (pMine == nullptr) {
          m_resources.Set(category.key, Value(pdf::Dict()));
          pMine = m_resources.Get(category.key);
        }
        // A name already given by an earlier file keeps its first meaning.
        for (const pdf::DictEntry &item : pCategory->dict())
          if (!pMine->dict().Has(item.key))
            pMine->dict().Set(item.key, copier.Map(item.value));
      }
    }
    if (m_appearance.IsNull())
      if (const Value *pDa = pForm->Get("DA"); pDa && pDa->IsString())
        m_appearance = *pDa;
    if (const Value *pNeed = pForm->Get("NeedAppearances");
        pNeed && pNeed->IsBool() && pNeed->boolean())
      m_bNeedAppearances = true;
  }
}

Value FormFields::Build() const {
  if (m_fields.empty())
    return Value();
  pdf::Dict form;
  form.Set("Fields", Value(m_fields));
  if (!m_resources.empty())
    form.Set("DR", Value(m_resources));
  if (!m_appearance.IsNull())
    form.Set("DA", m_appearance);
  if (m_bNeedAppearances)
    form.Set("NeedAppearances", Value(true));
  if (!m_order.empty())
    form.Set("CO", Value(m_order));
  return Value(std::move(form));
}

} // namespace engine
