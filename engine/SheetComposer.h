#pragma once
// Puts source pages and pictures onto output sheets: opens a sheet when needed, divides it
// into one, two or four cells, draws each item scaled into the next cell, and closes the sheet
// when its cells are used up.
//
// Cells are laid out on the sheet as it is shown: a sheet with /Rotate 270 is shown turned a
// quarter turn counter-clockwise, and its cells run in reading order of what is shown. Every
// item is first turned upright the way a reader shows it (a page's own /Rotate, a photo's
// orientation), then fitted into its cell by the fit-and-turn rule on that upright size; on a
// sheet shown turned (which is turned precisely so that its items read upright) items are
// fitted without a turn of their own.

#include "Geometry.h"
#include "OutputBuilder.h"

#include <utility>
#include <vector>

namespace engine {

// Where one item landed.
struct Placement {
  bool bPlaced = false;
  size_t nSheet = 0;
  Matrix matrix;  // from the item's own space to the sheet's
  Rect cell;      // the cell, in the sheet's shown space
  Matrix toSheet; // from the sheet's shown space to its own
};

class SheetComposer {
public:
  // dWidth or dHeight <= 0: every sheet takes the size of its first item.
  SheetComposer(double dWidth, double dHeight, OutputBuilder &out, int nNUp, int nOrientation);

  // Draws the XObject nXObject of an item that is dWidth x dHeight when shown upright;
  // toUpright maps the item's own space onto (0, 0, dWidth, dHeight) upright. Overlays (an
  // XObject and its matrix into the item's own space) are drawn over it. The item keeps its
  // cell until Advance, so that what belongs to its sheet (links) can still be added.
  Placement Place(uint32_t nXObject, double dWidth, double dHeight, const Matrix &toUpright,
                  const std::vector<std::pair<uint32_t, Matrix>> &overlays = {});
  // Whether an item of dWidth x dHeight would be drawn alone on a new sheet of exactly its size,
  // unscaled and unturned: then the item's own content can be the sheet's.
  bool FillsNewSheet(double dWidth, double dHeight) const;
  // Opens a new sheet that shows the content stream nContents with resources (an item that
  // FillsNewSheet, already upright at the origin) instead of drawing a form of it.
  Placement PlaceAsSheet(uint32_t nContents, pdf::Value resources, double dWidth, double dHeight);
  // Moves on to the next cell, closing the sheet when its cells are used up.
  void Advance();
  // Closes the current sheet if one is open.
  void FinishSheet();

  // The cells of the current layout on the sheet itself, in fill order.
  std::vector<Rect> Cells() const;
  int Rotation() const { return nRotation; }

  // From a page's own space (its box, its /Rotate) to the page shown upright at the origin.
  static Matrix UprightMatrix(const Rect &box, int nRotate);
  // The matrix that draws the unit square of a picture upright for an EXIF orientation.
  static Matrix OrientationMatrix(int nOrientation);
  // The matrix that fits an upright item of w x h at the origin into a cell, by the
  // fit-and-turn rule (all in the sheet's shown space).
  static Matrix FitMatrix(const Rect &cell, double w, double h);
  // The same without the turn: for sheets that are shown turned, whose items stay upright.
  static Matrix UprightFitMatrix(const Rect &cell, double w, double h);

private:
  void BuildCells(int nNUp, int nOrientation);
  void BeginSheetIfNeeded(double dWidth, double dHeight);
  // Where the next item goes (opening a sheet when needed), without drawing it.
  Placement Locate(double dWidth, double dHeight, const Matrix &toUpright);

  OutputBuilder &out;
  Rect rcSheet; // the sheet's media box
  bool bNeedNewSheet = true;
  std::vector<Rect> vecCells; // shown space
  int nRotation = 0;
  Matrix toSheet;
  size_t nSheet = 0;
  int nCell = 0;
  bool bSizeFromPage = false;
  int nSheetNUp = 0;
  int nSheetOrientation = 0;
};

// True when the cell is landscape-shaped and the item portrait, or the reverse
// (ratios within 5% of square never turn).
bool ShouldTurn(const Rect &cell, double dWidth, double dHeight);

} // namespace engine
