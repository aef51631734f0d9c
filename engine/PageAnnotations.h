#pragma once
// Annotations of placed pages. A placed page is drawn as a form on its sheet, so its
// annotations would be lost: links are carried onto the sheet with their rectangles mapped,
// and annotations with an appearance of their own (stamps, notes, form fields) are drawn over
// the page, which keeps them visible wherever the page lands.

#include "OutputDocument.h"
#include "SheetPainter.h"

namespace engine {

// Draws the appearance of every visible annotation of pPage that is not a link or a pop-up,
// through the page's matrix m.
void DrawAnnotationAppearances(OutputDocument &rDoc, const PoDoFo::PdfObject *pPage,
                               const Matrix &m, SheetPainter &painter);

// A point and the bounding box of a rectangle after the matrix.
void MapPoint(const Matrix &m, double &x, double &y);
PoDoFo::PdfRect MapRect(const Matrix &m, const PoDoFo::PdfRect &r);
// A rectangle from a PDF array of four numbers, corners in any order; false when malformed.
bool ReadRect(const OutputDocument &rDoc, const PoDoFo::PdfObject *pArray, PoDoFo::PdfRect &r);

} // namespace engine
