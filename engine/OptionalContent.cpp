#include "OptionalContent.h"

#include "pdf/Limits.h"

#include <set>

namespace engine {

using pdf::Value;

namespace {

constexpr size_t kMaxLayers = 100000;

// The references of an array (resolved), each mapped into the output.
std::vector<pdf::Ref> Refs(SourceEntry &entry, const Value *pArray) {
  std::vector<pdf::Ref> refs;
  pdf::ObjectPtr holder;
  pArray = entry.doc->Resolve(pArray, holder);
  if (pArray == nullptr || !pArray->IsArray())
    return refs;
  for (const Value &item : pArray->array())
    if (item.IsRef() && refs.size() < kMaxLayers)
      refs.push_back(item.ref());
  return refs;
}

// An /Order array: references and nested arrays (with an optional label first), mapped. Each
// array given by reference is taken once: arrays that name each other (in a loop, or the same
// one many times) would otherwise make the order grow without end. The entries taken are
// counted against one bound for the source.
struct OrderMapper {
  SourceEntry &entry;
  std::set<uint32_t> taken;
  size_t nEntries = 0;
  bool bCut = false;

  Value Map(const Value &order, int nDepth) {
    pdf::Array out;
    if (!order.IsArray() || nDepth > 32)
      return Value(std::move(out));
    for (const Value &item : order.array()) {
      if (++nEntries > limits::kMaxLayerOrderEntries) {
        if (!bCut)
          limits::NoteHit(limits::Bound::LayerOrder);
        bCut = true;
        break;
      }
      if (item.IsRef()) {
        pdf::ObjectPtr holder;
        const Value *pResolved = entry.doc->Resolve(&item, holder);
        if (pResolved != nullptr && pResolved->IsArray()) {
          if (taken.insert(item.ref().num).second)
            out.push_back(Map(*pResolved, nDepth + 1));
          else
            bCut = true;
        } else {
          out.push_back(entry.copier->MapRef(item.ref()));
        }
      } else if (item.IsArray()) {
        out.push_back(Map(item, nDepth + 1));
      } else if (item.IsString()) {
        out.push_back(item);
      }
    }
    return Value(std::move(out));
  }
};

} // namespace

void OptionalContent::Take(SourceEntry &entry) {
  if (entry.bOptionalContentTaken || !entry.doc)
    return;
  entry.bOptionalContentTaken = true;
  pdf::ObjectPtr holder;
  const Value *pProps = entry.doc->Resolve(entry.doc->Catalog().Get("OCProperties"), holder);
  if (pProps == nullptr || !pProps->IsDict())
    return;
  const std::vector<pdf::Ref> ocgs = Refs(entry, pProps->Get("OCGs"));
  if (ocgs.empty())
    return;
  pdf::ObjectPtr dHolder;
  const Value *pD = entry.doc->Resolve(pProps->Get("D"), dHolder);
  const Value *pBase = pD ? pD->Get("BaseState") : nullptr;
  std::set<uint32_t> on, off;
  for (const pdf::Ref &r : Refs(entry, pD ? pD->Get("ON") : nullptr))
    on.insert(r.num);
  for (const pdf::Ref &r : Refs(entry, pD ? pD->Get("OFF") : nullptr))
    off.insert(r.num);
  const bool bBaseOff = pBase != nullptr && pBase->IsName("OFF");
  for (const pdf::Ref &r : ocgs) {
    const Value mapped = entry.copier->MapRef(r);
    if (mapped.IsNull())
      continue;
    m_ocgs.push_back(mapped);
    // The output's base state is on: what its source shows off is listed as off.
    if (bBaseOff ? on.count(r.num) == 0 : off.count(r.num) != 0)
      m_off.push_back(mapped);
  }
  if (pD == nullptr)
    for (const pdf::Ref &r : ocgs)
      m_order.push_back(entry.copier->MapRef(r));
  if (pD != nullptr) {
    pdf::ObjectPtr orderHolder;
    const Value *pOrder = entry.doc->Resolve(pD->Get("Order"), orderHolder);
    if (pOrder != nullptr && pOrder->IsArray()) {
      OrderMapper mapper{entry, {}, 0, false};
      if (pD->Get("Order")->IsRef())
        mapper.taken.insert(pD->Get("Order")->ref().num);
      Value order = mapper.Map(*pOrder, 0);
      for (Value &item : order.array())
        m_order.push_back(std::move(item));
      if (mapper.bCut)
        entry.doc->Warn("the layers panel's order repeats itself or is too long; the repeats "
                        "were left out");
    } else {
      for (const pdf::Ref &r : ocgs)
        m_order.push_back(entry.copier->MapRef(r));
    }
    pdf::ObjectPtr radioHolder;
    const Value *pRadio = entry.doc->Resolve(pD->Get("RBGroups"), radioHolder);
    size_t nRadio = 0; // groups may name one long array many times
    if (pRadio != nullptr && pRadio->IsArray())
      for (const Value &group : pRadio->array()) {
        pdf::Array mapped;
        for (const pdf::Ref &r : Refs(entry, &group))
          if (++nRadio <= limits::kMaxLayerOrderEntries)
            mapped.push_back(entry.copier->MapRef(r));
        m_radio.push_back(Value(std::move(mapped)));
        if (nRadio > limits::kMaxLayerOrderEntries)
          break;
      }
    for (const pdf::Ref &r : Refs(entry, pD->Get("Locked")))
      m_locked.push_back(entry.copier->MapRef(r));
  }
}

Value OptionalContent::Build() const {
  if (m_ocgs.empty())
    return Value();
  pdf::Dict d;
  d.Set("BaseState", Value::MakeName("ON"));
  if (!m_off.empty())
    d.Set("OFF", Value(m_off));
  d.Set("Order", Value(m_order));
  if (!m_radio.empty())
    d.Set("RBGroups", Value(m_radio));
  if (!m_locked.empty())
    d.Set("Locked", Value(m_locked));
  pdf::Dict props;
  props.Set("OCGs", Value(m_ocgs));
  props.Set("D", Value(std::move(d)));
  return Value(std::move(props));
}

} // namespace engine
