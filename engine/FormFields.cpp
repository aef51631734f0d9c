#include "FormFields.h"

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

// Actions kept on fields: the ones that cannot run anything.
bool SafeAction(pdf::SourceDocument &doc, const Value *pAction) {
  pdf::ObjectPtr holder;
  pAction = doc.Resolve(pAction, holder);
  const Value *pKind = pAction ? pAction->Get("S") : nullptr;
  return pKind != nullptr && (pKind->IsName("URI") || pKind->IsName("Named")) &&
         !pAction->Get("Next");
}

// The field type a node has or inherits.
std::string FieldType(pdf::SourceDocument &doc, const Value &node, const std::string &inherited) {
  pdf::ObjectPtr holder;
  const Value *pType = doc.Resolve(node.Get("FT"), holder);
  return pType != nullptr && pType->IsName() ? pType->name() : inherited;
}

// The quarter turn (0, 90, 180, 270, counter-clockwise) a matrix gives what it draws.
int QuarterTurn(const Matrix &m) {
  const double degrees = std::atan2(m.b, m.a) * 180 / M_PI;
  int turn = static_cast<int>(std::lround(degrees / 90)) * 90;
  return ((turn % 360) + 360) % 360;
}

} // namespace

const SourceForm &FormFields::Read(SourceEntry &entry) {
  SourceForm &form = m_forms[&entry];
  if (form.bRead || !entry.doc)
    return form;
  form.bRead = true;
  pdf::SourceDocument &doc = *entry.doc;
  pdf::ObjectPtr formHolder, fieldsHolder;
  const Value *pForm = doc.Resolve(doc.Catalog().Get("AcroForm"), formHolder);
  const Value *pFields = pForm ? doc.Resolve(pForm->Get("Fields"), fieldsHolder) : nullptr;
  if (pFields == nullptr || !pFields->IsArray())
    return form;
  std::unordered_set<uint32_t> visited;
  std::function<void(const Value &, const std::string &, int)> walk =
      [&](const Value &ref, const std::string &type, int depth) {
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
  for (const Value &field : pFields->array())
    walk(field, "", 0);
  return form;
}

bool FormFields::Carries(SourceEntry &entry, uint32_t nAnnot) {
  return m_bCarry && Read(entry).widgets.count(nAnnot) != 0;
}

void FormFields::PlacePage(SourceEntry &entry, const pdf::PageEntry &page,
                           const Placement &placement, OutputBuilder &out) {
  if (!m_bCarry)
    return;
  const SourceForm &form = Read(entry);
  if (form.widgets.empty())
    return;
  const pdf::ObjectPtr pageObject = entry.doc->Load(page.ref);
  pdf::ObjectPtr annotsHolder;
  const Value *pAnnots = entry.doc->Resolve(pageObject->value.Get("Annots"), annotsHolder);
  if (pAnnots == nullptr || !pAnnots->IsArray())
    return;
  for (const Value &item : pAnnots->array())
    if (item.IsRef() && form.widgets.count(item.ref().num) != 0 &&
        m_pending.count(item.ref().num) == 0)
      m_pending.emplace(item.ref().num,
                        Widget{placement.nSheet, out.BeginAnnotation(placement.nSheet), placement});
}

std::string FormFields::UniqueName(const std::string &name) {
  if (m_names.insert(name).second)
    return name;
  for (int n = 2;; ++n) {
    const std::string candidate = name + "_" + std::to_string(n);
    if (m_names.insert(candidate).second)
      return candidate;
  }
}

void FormFields::WriteOccurrence(SourceEntry &entry, const Occurrence &occurrence,
                                 OutputBuilder &out) {
  (void)occurrence;
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
  };
  std::vector<Node> nodes;
  std::unordered_map<uint32_t, uint32_t>
      outOf; // source field -> output field, this occurrence only
  std::unordered_set<uint32_t> visited;
  std::function<int(const Value &, const std::string &, int)> build =
      [&](const Value &ref, const std::string &type, int depth) -> int {
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
  if (pFields != nullptr && pFields->IsArray())
    for (const Value &field : pFields->array()) {
      const int k = build(field, "", 0);
      if (k >= 0)
        top.push_back(static_cast<size_t>(k));
    }
  for (Node &node : nodes) {
    node.nOut = out.Writer().Reserve();
    outOf.emplace(node.nSource, node.nOut);
  }

  for (const Node &node : nodes) {
    const pdf::ObjectPtr source = doc.Load(pdf::Ref{node.nSource, 0});
    Value dict = source->value;
    for (const char *pszKey : kDroppedKeys)
      dict.dict().Remove(pszKey);
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
      for (size_t k : node.kids)
        kids.push_back(Value(pdf::Ref{nodes[k].nOut, 0}));
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
    if (node.bWidget) {
      const Widget &widget = m_pending.at(node.nSource);
      const Matrix &m = widget.placement.matrix;
      Rect rect;
      if (ReadRect(source->value.Get("Rect"), rect))
        mapped.dict().Set("Rect", RectArray(MapRect(m, rect)));
      if (const Value *pQuads = source->value.Get("QuadPoints"); pQuads && pQuads->IsArray()) {
        pdf::Array quads;
        for (size_t i = 0; i + 1 < pQuads->array().size(); i += 2) {
          double x = pdf::NumberOr(&pQuads->array()[i], 0),
                 y = pdf::NumberOr(&pQuads->array()[i + 1], 0);
          MapPoint(m, x, y);
          quads.push_back(Value(x));
          quads.push_back(Value(y));
        }
        mapped.dict().Set("QuadPoints", Value(std::move(quads)));
      }
      mapped.dict().Set("P", Value(pdf::Ref{out.SheetNumber(widget.nSheet), 0}));
      const int turn = QuarterTurn(m);
      if (turn != 0) {
        // Readers fit an appearance to its rectangle without turning it: the turn goes into
        // the appearance's own matrix, and into /MK for appearances the reader makes anew.
        const double rad = turn * M_PI / 180;
        const Matrix rotation{std::round(std::cos(rad)),
                              std::round(std::sin(rad)),
                              -std::round(std::sin(rad)),
                              std::round(std::cos(rad)),
                              0,
                              0};
        pdf::ObjectPtr apHolder;
        const Value *pAp = doc.Resolve(source->value.Get("AP"), apHolder);
        if (pAp != nullptr && pAp->IsDict()) {
          pdf::Dict turned;
          for (const pdf::DictEntry &kind : pAp->dict()) {
            auto turnStream = [&](const Value &streamRef) -> Value {
              if (!streamRef.IsRef())
                return copier.Map(streamRef);
              const pdf::ObjectPtr stream = doc.LoadOnce(streamRef.ref());
              std::string storage;
              std::string_view data;
              if (!stream->bStream || !doc.StreamData(streamRef.ref().num, *stream, storage, data))
                return copier.Map(streamRef);
              Matrix own;
              const Value *pMatrix = stream->value.Get("Matrix");
              if (pMatrix != nullptr && pMatrix->IsArray() && pMatrix->array().size() == 6) {
                double v[6];
                for (int i = 0; i < 6; ++i)
                  v[i] = pdf::NumberOr(&pMatrix->array()[static_cast<size_t>(i)],
                                       i == 0 || i == 3 ? 1 : 0);
                own = {v[0], v[1], v[2], v[3], v[4], v[5]};
              }
              const Matrix both = Multiply(own, rotation);
              Value streamDict = stream->value;
              streamDict.dict().Remove("Length");
              streamDict = copier.Map(streamDict);
              streamDict.dict().Set("Matrix",
                                    Value(pdf::Array{Value(both.a), Value(both.b), Value(both.c),
                                                     Value(both.d), Value(both.e), Value(both.f)}));
              const uint32_t nCopy = out.Writer().Reserve();
              out.Writer().WriteStream(nCopy, std::move(streamDict), data);
              return Value(pdf::Ref{nCopy, 0});
            };
            pdf::ObjectPtr kindHolder;
            const Value *pKind = doc.Resolve(&kind.value, kindHolder);
            if (kind.value.IsRef() && kindHolder && kindHolder->bStream) {
              turned.Set(kind.key, turnStream(kind.value));
            } else if (pKind != nullptr && pKind->IsDict()) {
              pdf::Dict states;
              for (const pdf::DictEntry &state : pKind->dict())
                states.Set(state.key, turnStream(state.value));
              turned.Set(kind.key, Value(std::move(states)));
            }
          }
          mapped.dict().Set("AP", Value(std::move(turned)));
        }
        Value mk = mapped.Get("MK") ? *mapped.Get("MK") : Value(pdf::Dict());
        if (mk.IsDict()) {
          const int r = static_cast<int>(pdf::NumberOr(mk.Get("R"), 0));
          mk.dict().Set("R", Value((((r + turn) % 360) + 360) % 360));
          mapped.dict().Set("MK", std::move(mk));
        }
      }
    }
    out.Writer().WriteObject(node.nOut, mapped);
    if (node.bWidget) {
      const Widget &widget = m_pending.at(node.nSource);
      out.SettleAnnotation(widget.nSheet, widget.nOrder, node.nOut);
      m_pending.erase(node.nSource);
    }
  }
  for (size_t k : top)
    m_fields.push_back(Value(pdf::Ref{nodes[k].nOut, 0}));
  // Widgets that no field led to after all are not listed.
  for (const auto &[nAnnot, widget] : m_pending)
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
