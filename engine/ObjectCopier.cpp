#include "ObjectCopier.h"

#include "pdf/Limits.h"
#include "pdf/PdfWriter.h"
#include "pdf/SourceDocument.h"
#include "pdf/StreamFilters.h"

namespace engine {

using pdf::Value;

ObjectCopier::ObjectCopier(pdf::SourceDocument &src, pdf::PdfWriter &out, CopiedFeatures &features,
                           std::function<void()> checkCancel)
    : m_src(src), m_out(out), m_features(features), m_checkCancel(std::move(checkCancel)) {}

void ObjectCopier::NoteFeatures(const std::string &key, const Value &value) {
  // Transparency needs PDF 1.4 in the reader; these are the keys that ask for it.
  if (key.size() > 5)
    return;
  if (key == "SMask")
    m_features.bTransparency |= !value.IsName("None");
  else if (key == "CA" || key == "ca")
    m_features.bTransparency |= value.IsNumber() && value.number() < 1;
  else if (key == "BM")
    m_features.bTransparency |=
        value.IsName() && !value.IsName("Normal") && !value.IsName("Compatible");
  else if (key == "Group")
    m_features.bTransparency |=
        value.IsRef() || (value.Get("S") && value.Get("S")->IsName("Transparency"));
}

Value ObjectCopier::MapRef(pdf::Ref ref) {
  if (ref.num == 0 || m_src.IsPageTreeObject(ref.num) || ref.num == m_src.CatalogRef().num)
    return Value();
  auto found = m_map.find(ref.num);
  if (found != m_map.end())
    return Value(pdf::Ref{found->second, 0});
  const uint32_t nOut = m_out.Reserve();
  m_map.emplace(ref.num, nOut);
  m_queue.emplace_back(ref.num, nOut);
  return Value(pdf::Ref{nOut, 0});
}

Value ObjectCopier::Map(const Value &value) {
  switch (value.kind()) {
  case Value::Kind::Ref:
    return MapRef(value.ref());
  case Value::Kind::Array: {
    pdf::Array items;
    items.reserve(value.array().size());
    for (const Value &item : value.array())
      items.push_back(Map(item));
    return Value(std::move(items));
  }
  case Value::Kind::Dict: {
    pdf::Dict dict;
    dict.Reserve(value.dict().size());
    for (const pdf::DictEntry &entry : value.dict()) {
      NoteFeatures(entry.key, entry.value);
      Value mapped = Map(entry.value);
      if (!mapped.IsNull())
        dict.Append(entry.key, std::move(mapped));
    }
    return Value(std::move(dict));
  }
  default:
    return value;
  }
}

void ObjectCopier::Flush() {
  unsigned nTick = 0;
  std::string storage;
  while (!m_queue.empty()) {
    if ((++nTick & 127) == 0 && m_checkCancel)
      m_checkCancel();
    auto [nSource, nOut] = m_queue.back();
    m_queue.pop_back();
    pdf::ObjectPtr object = m_src.LoadOnce(pdf::Ref{nSource, 0});
    // An object whose whole value is a reference ("5 0 obj 8 0 R endobj") is not one readers
    // take: it becomes a copy of what the chain ends at, or null for a loop or for a part of
    // the page tree (never copied).
    for (int hops = 0; object && !object->bMissing && object->value.IsRef(); ++hops) {
      nSource = object->value.ref().num;
      const bool copyable = hops < limits::kMaxReferenceChain && nSource != 0 &&
                            !m_src.IsPageTreeObject(nSource) && nSource != m_src.CatalogRef().num;
      object = copyable ? m_src.LoadOnce(pdf::Ref{nSource, 0}) : nullptr;
    }
    if (!object) {
      m_out.WriteObject(nOut, Value());
      continue;
    }
    const Value *pType = object->value.Get("Type");
    if (object->bMissing ||
        (pType != nullptr && (pType->IsName("ObjStm") || pType->IsName("XRef")))) {
      m_out.WriteObject(nOut, Value());
      continue;
    }
    if (object->value.Get("StructParent") != nullptr ||
        object->value.Get("StructParents") != nullptr) {
      auto renumbered = std::make_shared<pdf::LoadedObject>(*object);
      renumbered->value.dict().Remove("StructParent");
      renumbered->value.dict().Remove("StructParents");
      if (object->bStream && object->value.Get("StructParents") != nullptr && m_structParents) {
        Value nKey = m_structParents(nSource);
        if (!nKey.IsNull())
          renumbered->value.dict().Set("StructParents", std::move(nKey));
      }
      object = std::move(renumbered);
    }
    if (!object->bStream) {
      m_out.WriteObject(nOut, Map(object->value));
      continue;
    }
    std::string_view data;
    storage.clear();
    if (!m_src.StreamData(nSource, *object, storage, data)) {
      m_out.WriteObject(nOut, Value());
      continue;
    }
    Value dict = object->value;
    dict.dict().Remove("Length"); // the writer gives the real one
    if (pdf::DropMalformedFilters(dict))
      m_src.Warn("object " + std::to_string(nSource) +
                 ": its stream names no usable filter and is copied as it stands");
    m_out.WriteStream(nOut, Map(dict), data);
    // Large copies would otherwise keep every page of the file they came from.
    m_nStreamBytes += data.size();
    if (m_nStreamBytes > (4u << 20)) {
      m_nStreamBytes = 0;
      m_src.ReleasePages();
    }
  }
}

} // namespace engine
