#pragma once
// Where the pages of each listed source landed, and destinations of the sources turned into
// destinations on the output's sheets. Used for the outline and for links.

#include "SheetComposer.h"
#include "SourceCache.h"

#include <map>
#include <string>
#include <vector>

namespace engine {

// One listed source as it was merged: the same file listed twice is two occurrences.
struct Occurrence {
  const SourceEntry *pEntry = nullptr;
  std::wstring strTitle; // file name without extension
  bool bPlaced = false;
  Placement first; // its first placed page or picture
  // The first placement of each page of the source within this occurrence.
  std::map<PoDoFo::PdfReference, Placement> mapPages;
  // Every placed page, in order (a page placed twice is here twice).
  std::vector<std::pair<PoDoFo::PdfReference, Placement>> vecPlaced;
};

class Destinations {
public:
  Destinations(OutputDocument &rDoc, const std::vector<Occurrence> &occurrences)
      : m_rDoc(rDoc), m_occurrences(occurrences) {}

  // The sheet destination of a source destination (an explicit array, or a name looked up in
  // the source's named destinations) met in occurrence nOccurrence. False when its page was
  // not placed in this occurrence (nor, with bOtherOccurrences, in another occurrence of the
  // same file).
  bool Retarget(const PoDoFo::PdfObject *pDest, size_t nOccurrence, PoDoFo::PdfArray &out,
                bool bOtherOccurrences);
  // The top-left corner of a placement's cell as it is shown.
  static PoDoFo::PdfArray CellDestination(const Placement &placement);

private:
  const PoDoFo::PdfObject *LookupNamed(const SourceEntry *pEntry, const PoDoFo::PdfObject *pName);
  void CollectNameTree(const PoDoFo::PdfObject *pNode, std::map<std::string, const PoDoFo::PdfObject *> &names,
                       int nDepth);

  OutputDocument &m_rDoc;
  const std::vector<Occurrence> &m_occurrences;
  std::map<const SourceEntry *, std::map<std::string, const PoDoFo::PdfObject *>> m_mapNamed;
};

// Link annotations of every placed page, carried onto its sheet with mapped rectangles. Links
// into the merged files point at the sheets; links to pages that were not placed are dropped.
void CarryLinks(OutputDocument &rDoc, const std::vector<Occurrence> &occurrences,
                Destinations &destinations);

// The outline: one entry per merged source at its first sheet, with the source's own outline
// below it, re-targeted to the sheets.
void BuildOutline(OutputDocument &rDoc, const std::vector<Occurrence> &occurrences,
                  Destinations &destinations);

} // namespace engine
