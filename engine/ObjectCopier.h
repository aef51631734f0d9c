#pragma once
// Copies objects of one source into the output as they are needed. A source value is mapped
// by giving each object it refers to an output number (the first time it is met) and queueing
// that object; Flush writes the queue and whatever the written objects refer to, so only what
// the placed pages reach is ever written. The source's page tree and catalog are never
// dragged along: references to them become null.
//
// Objects whose identity does not matter (fonts, pictures, colour profiles, resources, forms)
// are copied depth first instead, when their reference is first mapped: what they refer to is
// written before them, so their own bytes are final and an object identical to one written
// before (from this source or another) is not written again but shared. Only an object that
// its own descendants lead back to takes its number before its bytes are known, and is then
// written under it.

#include "pdf/PdfValue.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace engine {

class SharedObjects;

namespace pdf {
struct LoadedObject;
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
  // With pShared, identical objects are written once (the table outlives the copier).
  ObjectCopier(pdf::SourceDocument &src, pdf::PdfWriter &out, CopiedFeatures &features,
               std::function<void()> checkCancel, SharedObjects *pShared = nullptr);

  // The output value of a source value.
  pdf::Value Map(const pdf::Value &value);
  // The output reference of a source object (null for objects that are not copied).
  pdf::Value MapRef(pdf::Ref ref);
  // Writes every queued object and what it refers to.
  void Flush();
  // Writes a stream made from the source (a page's form or content) that nothing else names
  // yet: an identical one written before is shared. Returns its output number.
  uint32_t WriteShared(pdf::Value dict, std::string_view data);
  // The same for an object that is not a stream (a page's resources given in the page).
  uint32_t WriteShared(const pdf::Value &value);
  // The /StructParents a form of the source gets in the output (null: none). Without it, and
  // for annotations reached by references, keys of the source's structure are dropped: they
  // would name the wrong elements of the output's.
  void SetStructParents(std::function<pdf::Value(uint32_t nSourceForm)> structParents) {
    m_structParents = std::move(structParents);
  }

private:
  void NoteFeatures(const std::string &key, const pdf::Value &value);
  // Copies a shareable object depth first; returns its output number.
  uint32_t CopyShared(uint32_t nSource, const pdf::LoadedObject &object);
  // Writes an object whose bytes are final under nOut, or under the number of an identical one
  // written before when nOut is 0; returns the number it is known by.
  uint32_t WriteOrShare(uint32_t nOut, const pdf::Value &value, bool bStream,
                        std::string_view data);
  void StreamCopied(size_t nBytes);
  // A source stream's dictionary as the output writes it: mapped, without /Length and unusable
  // filters; data is Flate-compressed into encoded when it had no filter and that is smaller.
  pdf::Value CopiedStreamDict(uint32_t nSource, const pdf::Value &dict, std::string_view &data,
                              std::string &encoded);

  pdf::SourceDocument &m_src;
  pdf::PdfWriter &m_out;
  CopiedFeatures &m_features;
  std::function<void()> m_checkCancel;
  std::function<pdf::Value(uint32_t)> m_structParents;
  SharedObjects *m_pShared;
  bool m_bTagged;
  std::unordered_map<uint32_t, uint32_t> m_map; // source number -> output number (0: copying)
  struct Queued {
    uint32_t nSource, nOut;
    std::shared_ptr<const pdf::LoadedObject> object; // when it was read already
  };
  std::vector<Queued> m_queue;
  int m_nDepth = 0;          // of the depth-first copy
  unsigned m_nTick = 0;      // objects copied, for the cancel test
  size_t m_nStreamBytes = 0; // copied since the file's pages were let go
};

} // namespace engine
