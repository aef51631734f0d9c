#pragma once
// Fillable forms carried into the merged file. On sheets that hold one page each, every field
// of a placed page stays a field: its widgets are put on the sheet with their rectangles
// mapped (and their appearances turned with the page), its field tree is copied, and all
// fields of all sources are gathered in one /AcroForm. Fields of different files (or of one
// file listed twice) never share a name: a name met again gets a suffix, so each set of fields
// is filled on its own. Signature fields cannot survive a merge: they are drawn flat, as are all
// fields on sheets with two or four pages, where a scaled field could not be filled. A widget
// placed more than once in an occurrence (shared by two pages, or its page selected twice)
// becomes one widget per placement of one field.

#include "Destinations.h"

#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace engine {

// The widgets of a source's fields, found once per source by walking its field tree.
struct SourceForm {
  bool bRead = false;
  std::unordered_set<uint32_t> widgets; // widget annotations of fields that can be carried
};

class FormFields {
public:
  // bCarry: forms stay fillable (one page per sheet, not asked to flatten). checkCancel throws
  // to stop a long walk.
  FormFields(bool bCarry, std::function<void()> checkCancel)
      : m_bCarry(bCarry), m_checkCancel(std::move(checkCancel)) {}

  // Whether an annotation of the source is a widget that will be carried rather than drawn.
  bool Carries(SourceEntry &entry, uint32_t nAnnot);
  // While a page is on its sheet: its carried widgets get their places among the sheet's
  // annotations (nPlaces + their index in the page's /Annots).
  void PlacePage(SourceEntry &entry, const pdf::PageEntry &page, const Placement &placement,
                 uint64_t nPlaces, OutputBuilder &out);
  // After the occurrence's pages are placed: writes its fields and their widgets.
  void WriteOccurrence(SourceEntry &entry, Occurrence &occurrence, OutputBuilder &out);
  // The output's /AcroForm, or null when no field was carried.
  pdf::Value Build() const;

private:
  struct Widget {
    size_t nSheet = 0;
    uint64_t nOrder = 0;
    Placement placement;
  };
  const SourceForm &Read(SourceEntry &entry);
  std::string UniqueName(const std::string &name);
  void Tick();

  bool m_bCarry;
  std::function<void()> m_checkCancel;
  unsigned m_nTick = 0;
  std::unordered_map<const SourceEntry *, SourceForm> m_forms;
  // Widgets of the occurrence being placed, each with its placements.
  std::unordered_map<uint32_t, std::vector<Widget>> m_pending;
  pdf::Array m_fields, m_order;
  pdf::Dict m_resources;
  pdf::Value m_appearance; // /DA
  bool m_bNeedAppearances = false;
  std::unordered_set<std::string> m_names;           // top-level field names taken
  std::unordered_map<std::string, int> m_nextSuffix; // the next suffix to try for a name
};

} // namespace engine
