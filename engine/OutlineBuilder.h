#pragma once
// The merged file's outline. Each merged source gets one closed entry titled with its file
// name; below it the source's own outline keeps its order, nesting and open state, with every
// entry pointing at the sheet that shows its page. Entries whose page was not placed stay as
// plain titles while something below them was placed, and are dropped otherwise.

#include "Destinations.h"

namespace engine {

// Reads the source's own outline into the occurrence, while the source is open.
void ReadOutline(SourceEntry &entry, Occurrence &occurrence);

// Writes the outline; returns its root object, or 0 when nothing was placed.
uint32_t WriteOutline(const std::vector<Occurrence> &occurrences, OutputBuilder &out);

} // namespace engine
