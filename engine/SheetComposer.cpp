#include "SheetComposer.h"

#include <algorithm>
#include <cmath>

namespace engine {

bool ShouldTurn(const Rect &cell, double dWidth, double dHeight) {
  const bool bLandscapeCell = cell.height / cell.width < 0.95;
  const double dRatio = dWidth / dHeight;
  // Comparisons with NaN are false: such an item is never turned.
  return bLandscapeCell ? dRatio < 0.95 : dRatio > 1.05;
}

Matrix SheetComposer::FitMatrix(const Rect &c, double w, double h) {
  if (!ShouldTurn(c, w, h)) {
    const double s = std::min(c.width / w, c.height / h);
    return {s, 0, 0, s, c.left, c.bottom};
  }
  // Turned a quarter turn clockwise, anchored at the cell's upper-left corner.
  const double s = std::min(c.height / w, c.width / h);
  return {0, -s, s, 0, c.left, c.bottom + c.height};
}

Matrix SheetComposer::UprightFitMatrix(const Rect &c, double w, double h) {
  const double s = std::min(c.width / w, c.height / h);
  return {s, 0, 0, s, c.left, c.bottom};
}

Matrix SheetComposer::UprightMatrix(const Rect &box, int nRotate) {
  const double l = box.left, b = box.bottom, w = box.width, h = box.height;
  switch (nRotate) {
  case 90:
    return {0, -1, 1, 0, -b, w + l}; // shown turned clockwise
  case 180:
    return {-1, 0, 0, -1, w + l, h + b};
  case 270:
    return {0, 1, -1, 0, h + b, -l}; // shown turned counter-clockwise
  default:
    return {1, 0, 0, 1, -l, -b};
  }
}

Matrix SheetComposer::OrientationMatrix(int nOrientation) {
  switch (nOrientation) {
  case 2:
    return {-1, 0, 0, 1, 1, 0}; // mirrored left to right
  case 3:
    return {-1, 0, 0, -1, 1, 1}; // half turn
  case 4:
    return {1, 0, 0, -1, 0, 1}; // mirrored top to bottom
  case 5:
    return {0, -1, -1, 0, 1, 1}; // transposed
  case 6:
    return {0, -1, 1, 0, 0, 1}; // stored a quarter turn left: turn it right
  case 7:
    return {0, 1, 1, 0, 0, 0}; // transversed
  case 8:
    return {0, 1, -1, 0, 1, 0}; // stored a quarter turn right: turn it left
  default:
    return {1, 0, 0, 1, 0, 0};
  }
}

SheetComposer::SheetComposer(double dWidth, double dHeight, OutputBuilder &output, int nNUp,
                             int nOrientation)
    : out(output), nSheetNUp(nNUp),
      nSheetOrientation((nOrientation >= 0 && nOrientation <= 2) ? nOrientation : 0) {
  if (dHeight > 0 && dWidth > 0 && std::isfinite(dWidth) && std::isfinite(dHeight)) {
    rcSheet = {0, 0, dWidth, dHeight};
    BuildCells(nNUp, nSheetOrientation);
  } else {
    bSizeFromPage = true;
  }
}

void SheetComposer::BuildCells(int nNUp, int nOrientation) {
  // Two per sheet are shown side by side unless the sheet is asked to stay upright.
  nRotation = (nOrientation == 2 || (nNUp == 1 && nOrientation == 0)) ? 270 : 0;
  const double W = nRotation == 270 ? rcSheet.height : rcSheet.width;
  const double H = nRotation == 270 ? rcSheet.width : rcSheet.height;
  // Shown space to the sheet: a quarter turn back for sheets shown turned left.
  toSheet = nRotation == 270 ? Matrix{0, -1, 1, 0, rcSheet.left, rcSheet.bottom + rcSheet.height}
                             : Matrix{1, 0, 0, 1, rcSheet.left, rcSheet.bottom};
  vecCells.clear();
  switch (nNUp) {
  case 1:
    if (H >= W) {
      vecCells.push_back({0, H / 2, W, H / 2});
      vecCells.push_back({0, 0, W, H / 2});
    } else {
      vecCells.push_back({0, 0, W / 2, H});
      vecCells.push_back({W / 2, 0, W / 2, H});
    }
    break;
  case 2:
    vecCells.push_back({0, H / 2, W / 2, H / 2});
    vecCells.push_back({W / 2, H / 2, W / 2, H / 2});
    vecCells.push_back({0, 0, W / 2, H / 2});
    vecCells.push_back({W / 2, 0, W / 2, H / 2});
    break;
  default:
    vecCells.push_back({0, 0, W, H});
    break;
  }
}

std::vector<Rect> SheetComposer::Cells() const {
  std::vector<Rect> cells;
  for (const Rect &c : vecCells)
    cells.push_back(MapRect(toSheet, c));
  return cells;
}

void SheetComposer::BeginSheetIfNeeded(double dWidth, double dHeight) {
  if (!bNeedNewSheet)
    return;
  if (bSizeFromPage) {
    rcSheet = {0, 0, dWidth, dHeight};
    BuildCells(nSheetNUp, nSheetOrientation);
  }
  nSheet = out.OpenSheet(rcSheet, nRotation);
  nCell = 0;
  bNeedNewSheet = false;
}

void SheetComposer::Advance() {
  ++nCell;
  if (nCell >= static_cast<int>(vecCells.size()))
    FinishSheet();
}

bool SheetComposer::FillsNewSheet(double dWidth, double dHeight) const {
  if (!bNeedNewSheet || !(dWidth > 0 && dHeight > 0) ||
      ShouldTurn(Rect{0, 0, dWidth, dHeight}, dWidth, dHeight))
    return false;
  if (bSizeFromPage) // one cell, not shown turned
    return nSheetNUp == 0 && nSheetOrientation != 2;
  return vecCells.size() == 1 && nRotation == 0 && rcSheet.left == 0 && rcSheet.bottom == 0 &&
         rcSheet.width == dWidth && rcSheet.height == dHeight;
}

Placement SheetComposer::PlaceAsSheet(uint32_t nContents, pdf::Value resources, double dWidth,
                                      double dHeight) {
  const Placement placement = Locate(dWidth, dHeight, Matrix{1, 0, 0, 1, 0, 0});
  out.ShowContent(nContents, std::move(resources));
  return placement;
}

Placement SheetComposer::Place(uint32_t nXObject, double dWidth, double dHeight,
                               const Matrix &toUpright,
                               const std::vector<std::pair<uint32_t, Matrix>> &overlays) {
  const Placement placement = Locate(dWidth, dHeight, toUpright);
  out.Draw(nXObject, placement.matrix);
  for (const auto &[nOverlay, m] : overlays)
    out.Draw(nOverlay, Multiply(m, placement.matrix));
  return placement;
}

Placement SheetComposer::Locate(double dWidth, double dHeight, const Matrix &toUpright) {
  BeginSheetIfNeeded(dWidth, dHeight);
  Placement placement;
  placement.bPlaced = true;
  placement.nSheet = nSheet;
  placement.cell = vecCells[static_cast<size_t>(nCell)];
  placement.toSheet = toSheet;
  // A sheet shown turned was turned so that its items read upright; they are not turned again.
  const Matrix fit = nRotation == 0 ? FitMatrix(placement.cell, dWidth, dHeight)
                                    : UprightFitMatrix(placement.cell, dWidth, dHeight);
  placement.matrix = Multiply(Multiply(toUpright, fit), toSheet);
  return placement;
}

void SheetComposer::FinishSheet() {
  if (!bNeedNewSheet) {
    out.CloseSheet();
    nCell = 0;
    bNeedNewSheet = true;
  }
}

} // namespace engine
