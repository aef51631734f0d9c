#pragma once
// Comments and the other annotations of placed pages carried onto their sheets as annotations:
// notes with their pop-ups, replies, text markup, drawings, stamps, attachments and the rest
// keep being what they were (listed, opened, answered in a reader), at one, two or four pages
// per sheet. Links and fields' widgets have carriers of their own. Each annotation is written
// once per placement of its page, in its place among the page's annotations, with its geometry
// mapped onto the sheet; pop-ups, parents and replies point at the copies of the same
// occurrence, and a reference whose target was not carried is left out. Appearances are shared.

#include "Destinations.h"

#include <functional>
#include <map>
#include <vector>

namespace engine {

class AnnotationCarrier {
public:
  // checkCancel throws to stop; it is called now and then while annotations are written.
  explicit AnnotationCarrier(std::function<void()> checkCancel)
      : m_checkCancel(std::move(checkCancel)) {}

  // While a page is on its sheet: each annotation of it that rides as one takes its place
  // among the sheet's annotations (nPlaces + its index in the page's /Annots) and its number.
  void PlacePage(SourceEntry &entry, const pdf::PageEntry &page, const Placement &placement,
                 uint64_t nPlaces, Occurrence &occurrence, OutputBuilder &out);
  // After the occurrence's pages are placed (and its widgets written): writes its annotations.
  void WriteOccurrence(SourceEntry &entry, Occurrence &occurrence, OutputBuilder &out);

  // Whether an annotation subtype is carried by this class (all but links and widgets).
  static bool Rides(const pdf::Value &annot);

private:
  struct Pending {
    uint32_t nSource = 0; // 0: a dictionary written in the page's /Annots itself
    pdf::Value direct;    // that dictionary
    uint32_t nPage = 0;   // the source page
    uint64_t nPlaces = 0; // which placement of the page
    uint64_t nOrder = 0;
    Placement placement;
    uint32_t nOut = 0;
  };
  uint32_t Target(uint32_t nSource, uint64_t nPlaces) const;

  std::function<void()> m_checkCancel;
  std::vector<Pending> m_pending;
  std::map<std::pair<uint32_t, uint64_t>, uint32_t> m_placed; // (source, placement) -> output
  std::unordered_map<uint32_t, uint32_t> m_first;  // source -> its first copy in the occurrence
  std::unordered_map<uint32_t, uint32_t> m_others; // widgets and links of the occurrence
};

} // namespace engine
