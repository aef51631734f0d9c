// Dropping unreachable objects. PoDoFo's own garbage collection renumbers the objects and, in
// the library as installed, turns every reference into "1 0 R"; this one marks what the
// trailer reaches and removes the rest, keeping every object number.

#include "OutputDocument.h"

#include <unordered_set>
#include <vector>

using namespace PoDoFo;

namespace engine {

namespace {

uint64_t Key(const PdfReference &ref) {
  return (static_cast<uint64_t>(ref.ObjectNumber()) << 16) | ref.GenerationNumber();
}

// Pushes every reference held directly or in nested containers of a value.
void CollectReferences(const PdfObject &value, std::vector<const PdfObject *> &pending,
                       std::vector<PdfReference> &refs) {
  pending.push_back(&value);
  while (!pending.empty()) {
    const PdfObject *pValue = pending.back();
    pending.pop_back();
    if (pValue->IsReference()) {
      refs.push_back(pValue->GetReference());
    } else if (pValue->IsDictionary()) {
      for (const auto &entry : pValue->GetDictionary().GetKeys())
        pending.push_back(entry.second);
    } else if (pValue->IsArray()) {
      for (const PdfObject &item : pValue->GetArray())
        pending.push_back(&item);
    }
  }
}

} // namespace

void OutputDocument::RemoveUnreachable() {
  PdfVecObjects &objects = Objects();
  std::unordered_set<uint64_t> reached;
  std::vector<const PdfObject *> pending;
  std::vector<PdfReference> refs;
  CollectReferences(*GetTrailer(), pending, refs);
  while (!refs.empty()) {
    const PdfReference ref = refs.back();
    refs.pop_back();
    if (!reached.insert(Key(ref)).second)
      continue;
    const PdfObject *pObj = objects.GetObject(ref);
    if (pObj != nullptr)
      CollectReferences(*pObj, pending, refs);
  }

  // Compact in place: the vector stays sorted, and erasing only from its end is cheap.
  size_t nKept = 0;
  const size_t nTotal = objects.GetSize();
  for (size_t i = 0; i < nTotal; ++i) {
    PdfObject *pObj = objects[i];
    if (reached.count(Key(pObj->Reference())) != 0)
      objects[nKept++] = pObj;
    else
      delete pObj;
  }
  while (objects.GetSize() > nKept)
    objects.RemoveObject(objects.end() - 1);
}

} // namespace engine
