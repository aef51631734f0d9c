#pragma once
// Links of placed pages carried onto their sheets: rectangles mapped through the page's
// matrix, targets inside the merged files turned into sheet destinations at the end, web
// addresses and links to other files kept, anything that would run code dropped.

#include "Destinations.h"

namespace engine {

// Reads the links of a page just placed, while its source is open.
void CollectLinks(SourceEntry &entry, const pdf::PageEntry &page, const Placement &placement,
                  Occurrence &occurrence);

// Writes every collected link whose target landed on a sheet, and lists it on its sheet.
void WriteLinks(std::vector<Occurrence> &occurrences, OutputBuilder &out);

} // namespace engine
