#pragma once
// Puts source pages and pictures onto output sheets: opens a sheet when needed, divides it
// into one, two or four cells, draws each item scaled into the next cell, and closes the sheet
// when its cells are used up.

#include "OutputDocument.h"
#include "SheetPainter.h"

#include <vector>

namespace engine {

// Where one item landed: its sheet, the matrix from the item's space to the sheet, its cell.
struct Placement {
  PoDoFo::PdfReference sheet;
  Matrix matrix;
  PoDoFo::PdfRect cell;
  int nSheetRotation = 0;
};

class SheetComposer {
public:
  // nWidth or nHeight <= 0: every sheet takes the size of its first item.
  SheetComposer(double dWidth, double dHeight, OutputDocument *pDoc, int nNUp, int nOrientation);

  // Draws a page of a source whose objects were moved into the output document.
  // Annotations with an appearance of their own (stamps, notes, form fields) are drawn over it;
  // links are left to the caller, which learns where the page landed.
  Placement PlacePdfPage(const PoDoFo::PdfReference &rPage);
  // Draws an image XObject of the output document, its pixel size taken as points. A JPEG's
  // EXIF orientation (1..8) turns or mirrors it upright; the fit rule sees the upright size.
  Placement PlaceImage(const PoDoFo::PdfReference &rImage, double dWidth, double dHeight,
                       int nOrientation = 1);

  // The matrix that draws the unit square of an image upright for an EXIF orientation.
  static Matrix OrientationMatrix(int nOrientation);
  // a then b: the matrix of drawing through a, then through b.
  static Matrix Multiply(const Matrix &a, const Matrix &b);
  // Closes the current sheet if one is open.
  void FinishSheet();

  // Cells of the current sheet layout, in fill order (exposed for tests).
  const std::vector<PoDoFo::PdfRect> &Cells() const { return vecCells; }
  int Rotation() const { return nRotation; }

  // The matrix that fits an item of the given box into a cell, by the fit-and-turn rule.
  // bUpside: the item is drawn with a half turn (a page with /Rotate 180 or 270).
  static Matrix FitMatrix(const PoDoFo::PdfRect &rCell, const PoDoFo::PdfRect &rBox, bool bUpside);

private:
  void BuildCells(int nNUp, int nOrientation);
  void BeginSheetIfNeeded(const PoDoFo::PdfRect &r);
  Placement Draw(const PoDoFo::PdfReference &rXObject, const Matrix &m);
  void Advance();

  OutputDocument *pDoc;
  PoDoFo::PdfRect rcSheet;
  bool bNeedNewSheet;
  std::vector<PoDoFo::PdfRect> vecCells;
  int nRotation;
  SheetPainter painter;
  PoDoFo::PdfObject *pCurPage;
  int nCell;
  bool bSizeFromPage;
  int nSheetNUp;
  int nSheetOrientation;
};

// True when the cell is landscape-shaped and the item portrait, or the reverse
// (ratios within 5% of square never turn).
bool ShouldTurn(const PoDoFo::PdfRect &rCell, double dWidth, double dHeight);

} // namespace engine
