#pragma once
// The merged file's outline. Each merged source gets one closed entry titled with its file
// name; below it the source's own outline keeps its order, nesting and open state, with every
// entry pointing at the sheet that shows its page. Entries whose page was not placed stay as
// plain titles while something below them was placed, and are dropped otherwise.

#include "Destinations.h"

namespace engine {

// Reads the source's own outline while the source is open, and writes it below the
// occurrence's own entry (numbered now, written at the end).
void WriteSourceOutline(SourceEntry &entry, std::vector<Occurrence> &occurrences,
                        size_t nOccurrence, OutputBuilder &out);

// Writes the entries of the merged files and the outline's root; returns the root, or 0 when
// nothing was placed.
uint32_t WriteOutline(const std::vector<Occurrence> &occurrences, OutputBuilder &out);

} // namespace engine
