#pragma once
// Copies objects of one source into the output as they are needed. A source value is mapped
// by giving each object it refers to an output number (the first time it is met) and queueing
// that object; Flush writes the queue and whatever the written objects refer to, so only what
// the placed pages reach is ever written. The source's page tree and catalog are never
// dragged along: references to them become null.

#include "pdf/PdfValue.h"

#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

namespace engine {

namespace pdf {
class SourceDocument;
class PdfWriter;
} // namespace pdf

// What the copied objects use, for the output's version.
struct CopiedFeatures {
  bool bTransparency = false;
};

class ObjectCopier {
public:
  // checkCancel is called now and then while objects are written; it throws to stop.
  ObjectCopier(pdf::SourceDocument &src, pdf::PdfWriter &out, CopiedFeatures &features,
               std::function<void()> checkCancel);

  // The output value of a source value.
  pdf::Value Map(const pdf::Value &value);
  // The output reference of a source object (null for objects that are not copied).
  pdf::Value MapRef(pdf::Ref ref);
  // Writes every queued object and what it refers to.
  void Flush();
  // The /StructParents a form of the source gets in the output (null: none). Without it, and
  // for annotations reached by references, keys of the source's structure are dropped: they
  // would name the wrong elements of the output's.
  void SetStructParents(std::function<pdf::Value(uint32_t nSourceForm)> structParents) {
    m_structParents = std::move(structParents);
  }

private:
  void NoteFeatures(const std::string &key, const pdf::Value &value);

  pdf::SourceDocument &m_src;
  pdf::PdfWriter &m_out;
  CopiedFeatures &m_features;
  std::function<void()> m_checkCancel;
  std::function<pdf::Value(uint32_t)> m_structParents;
  std::unordered_map<uint32_t, uint32_t> m_map;
  std::vector<std::pair<uint32_t, uint32_t>> m_queue; // source number, output number
  size_t m_nStreamBytes = 0;                          // copied since the file's pages were let go
};

} // namespace engine
