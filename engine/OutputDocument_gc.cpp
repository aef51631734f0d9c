// Dropping unreachable objects. PoDoFo's own garbage collection renumbers the objects and, in
// the library as installed, turns every reference into "1 0 R"; this one marks what the
// trailer reaches, removes the rest, then numbers the survivors 1, 2, 3... again. Dense numbers
// matter: the writer's cross-reference table grows one block per gap and seeks through the
// blocks for every object, which made long merges spend most of their time writing.

#include "OutputDocument.h"

#include <unordered_map>
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
  Renumber();
}

void OutputDocument::Renumber() {
  PdfVecObjects &objects = Objects();
  std::unordered_map<uint64_t, pdf_objnum> newNumbers;
  newNumbers.reserve(objects.GetSize());
  pdf_objnum nNext = 1;
  for (PdfObject *pObj : objects)
    newNumbers.emplace(Key(pObj->Reference()), nNext++);

  std::vector<PdfObject *> pending;
  auto fixValues = [&](PdfObject *pTop) {
    pending.push_back(pTop);
    while (!pending.empty()) {
      PdfObject *pValue = pending.back();
      pending.pop_back();
      if (pValue->IsReference()) {
        auto found = newNumbers.find(Key(pValue->GetReference()));
        // A reference to an object that does not exist means null.
        static_cast<PdfVariant &>(*pValue) =
            found == newNumbers.end() ? PdfVariant() : PdfVariant(PdfReference(found->second, 0));
      } else if (pValue->IsDictionary()) {
        for (auto &entry : pValue->GetDictionary().GetKeys())
          pending.push_back(entry.second);
      } else if (pValue->IsArray()) {
        for (PdfObject &item : pValue->GetArray())
          pending.push_back(&item);
      }
    }
  };
  for (PdfObject *pObj : objects) {
    fixValues(pObj);
    SetObjectNumber(pObj, PdfReference(newNumbers[Key(pObj->Reference())], 0));
  }
  fixValues(PdfDocument::GetTrailer());
}

} // namespace engine
