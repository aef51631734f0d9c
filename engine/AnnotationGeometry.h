#pragma once
// An annotation moved from its page onto a sheet: every key that holds points or lengths is
// mapped through the placement's matrix, and its appearances are turned with the page when the
// page is turned on the sheet, since readers fit an appearance into its rectangle without
// turning it.

#include "Geometry.h"
#include "OutputBuilder.h"
#include "SourceCache.h"

#include <string>

namespace engine {

// Sets in annot the geometry of the source annotation (its values read from the source) mapped
// through m: /Rect, point lists, border widths, the rectangle differences, the text size of a
// FreeText. False, with annot untouched, when the annotation has no usable /Rect.
bool MapAnnotationGeometry(SourceEntry &entry, const pdf::Value &source, const Matrix &m,
                           pdf::Dict &annot);

// The output's appearance dictionary for an annotation turned nTurn degrees counter-clockwise
// by its placement: the source's streams, copied once per source; for a turn, small forms that
// draw them turned (one per stream and turn). Null when the source has none.
pdf::Value PlacedAppearances(SourceEntry &entry, const pdf::Value *pAp, int nTurn,
                             OutputBuilder &out);

// A default appearance string (/DA) with its text size (the operand of Tf) multiplied by s.
std::string ScaleTextSize(const std::string &da, double s);

} // namespace engine
