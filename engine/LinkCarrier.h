#pragma once
// Links of placed pages carried onto their sheets: rectangles mapped through the page's
// matrix, targets inside the merged files turned into sheet destinations at the end, web
// addresses, links to other files, to embedded files and to layers kept, anything that would
// run code dropped. A link whose destination the file does not define stays, without a target.
// Every link left out is noted.

#include "Destinations.h"

namespace engine {

// Reads the links of a page just placed in occurrence nOccurrence, while its source is open,
// and writes those whose target has landed in this occurrence (with the page itself, the
// links waiting for it). The others wait for their page. nPlaces is the first of the places
// the page's annotations take on the sheet.
void CollectLinks(SourceEntry &entry, const pdf::PageEntry &page, const Placement &placement,
                  uint64_t nPlaces, std::vector<Occurrence> &occurrences, size_t nOccurrence,
                  OutputBuilder &out);

// After the occurrence is placed: writes its waiting links whose targets landed in another
// occurrence of the same file. A link into a page not placed yet stays waiting while bFinal is
// false and a later occurrence of the file may place it; otherwise it is dropped, with a note.
void WriteLinks(std::vector<Occurrence> &occurrences, size_t nOccurrence, bool bFinal,
                OutputBuilder &out);

} // namespace engine
