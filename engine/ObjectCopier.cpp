#include "ObjectCopier.h"

#include "SharedObjects.h"

#include "pdf/Limits.h"
#include "pdf/PdfWriter.h"
#include "pdf/SourceDocument.h"
#include "pdf/StreamFilters.h"

namespace engine {

using pdf::Value;

namespace {

// Deeper than this, objects are copied from the queue like those whose identity matters: the
// depth-first copy never nests further, whatever a source holds.
constexpr int kMaxSharingDepth = 32;

} // namespace

ObjectCopier::ObjectCopier(pdf::SourceDocument &src, pdf::PdfWriter &out, CopiedFeatures &features,
                           std::function<void()> checkCancel, SharedObjects *pShared)
    : m_src(src), m_out(out), m_features(features), m_checkCancel(std::move(checkCancel)),
      m_pShared(pShared), m_bTagged(src.Catalog().Get("StructTreeRoot") != nullptr) {}

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
  if (found != m_map.end()) {
    // A way back to an object still being copied: it takes its number now.
    if (found->second == 0)
      found->second = m_out.Reserve();
    return Value(pdf::Ref{found->second, 0});
  }
  pdf::ObjectPtr object;
  if (m_pShared != nullptr && m_nDepth < kMaxSharingDepth) {
    object = m_src.LoadOnce(pdf::Ref{ref.num, 0});
    if (!object->bMissing && IsShareable(object->value, object->bStream, m_bTagged))
      return Value(pdf::Ref{CopyShared(ref.num, *object), 0});
  }
  const uint32_t nOut = m_out.Reserve();
  m_map.emplace(ref.num, nOut);
  m_queue.push_back(Queued{ref.num, nOut, std::move(object)});
  return Value(pdf::Ref{nOut, 0});
}

void ObjectCopier::StreamCopied(size_t nBytes) {
  // Large copies would otherwise keep every page of the file they came from.
  m_nStreamBytes += nBytes;
  if (m_nStreamBytes > (4u << 20)) {
    m_nStreamBytes = 0;
    m_src.ReleasePages();
  }
}

Value ObjectCopier::CopiedStreamDict(uint32_t nSource, const Value &dict, std::string_view &data,
                                     std::string &encoded) {
  Value copied = dict;
  copied.dict().Remove("Length"); // the writer gives the real one
  if (pdf::DropMalformedFilters(copied))
    m_src.Warn("object " + std::to_string(nSource) +
               ": its stream names no usable filter and is copied as it stands");
  copied = Map(copied);
  CompressPlainStream(copied, data, encoded);
  return copied;
}

uint32_t ObjectCopier::WriteOrShare(uint32_t nOut, const Value &value, bool bStream,
                                    std::string_view data) {
  const SharedObjects::Fingerprint print = SharedObjects::Of(value, bStream, data);
  if (nOut == 0) {
    if (const uint32_t nShared = m_pShared->Find(print))
      return nShared;
    nOut = m_out.Reserve();
  }
  if (bStream)
    m_out.WriteStream(nOut, value, data);
  else
    m_out.WriteObject(nOut, value);
  m_pShared->Remember(print, nOut);
  return nOut;
}

uint32_t ObjectCopier::WriteShared(Value dict, std::string_view data) {
  std::string encoded;
  CompressPlainStream(dict, data, encoded);
  if (m_pShared == nullptr) {
    const uint32_t nOut = m_out.Reserve();
    m_out.WriteStream(nOut, std::move(dict), data);
    return nOut;
  }
  return WriteOrShare(0, dict, true, data);
}

uint32_t ObjectCopier::WriteShared(const Value &value) {
  if (m_pShared != nullptr)
    return WriteOrShare(0, value, false, {});
  const uint32_t nOut = m_out.Reserve();
  m_out.WriteObject(nOut, value);
  return nOut;
}

uint32_t ObjectCopier::CopyShared(uint32_t nSource, const pdf::LoadedObject &object) {
  if ((++m_nTick & 127) == 0 && m_checkCancel)
    m_checkCancel();
  m_map[nSource] = 0;
  struct Deeper {
    int &depth;
    ~Deeper() { --depth; }
  } deeper{++m_nDepth};
  std::string storage, encoded;
  std::string_view data;
  Value value;
  if (object.bStream) {
    if (!m_src.StreamData(nSource, object, storage, data)) {
      // Unreadable data: written as null, as the queue does.
      uint32_t &nOut = m_map[nSource];
      if (nOut == 0)
        nOut = m_out.Reserve();
      m_out.WriteObject(nOut, Value());
      return nOut;
    }
    value = CopiedStreamDict(nSource, object.value, data, encoded);
  } else {
    value = Map(object.value);
  }
  // Written under its number when a descendant already named it, else shared when it can be.
  const uint32_t nOut = WriteOrShare(m_map[nSource], value, object.bStream, data);
  m_map[nSource] = nOut;
  StreamCopied(data.size());
  return nOut;
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
  std::string storage, encoded;
  while (!m_queue.empty()) {
    if ((++m_nTick & 127) == 0 && m_checkCancel)
      m_checkCancel();
    Queued queued = std::move(m_queue.back());
    m_queue.pop_back();
    uint32_t nSource = queued.nSource;
    const uint32_t nOut = queued.nOut;
    pdf::ObjectPtr object =
        queued.object ? std::move(queued.object) : m_src.LoadOnce(pdf::Ref{nSource, 0});
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
    m_out.WriteStream(nOut, CopiedStreamDict(nSource, object->value, data, encoded), data);
    StreamCopied(data.size());
  }
}

} // namespace engine
