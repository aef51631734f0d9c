// Sheet geometry. Cells are filled in reading order for the sheet as shown: a sheet with
// /Rotate 270 is shown turned a quarter turn counter-clockwise, so the top and bottom halves
// of a portrait sheet appear as left and right.

#include "SheetComposer.h"

#include "PageAnnotations.h"

#include <algorithm>
#include <cmath>

using namespace PoDoFo;

namespace engine {

bool ShouldTurn(const PdfRect &rCell, double dWidth, double dHeight) {
  const bool bLandscapeCell = rCell.GetHeight() / rCell.GetWidth() < 0.95;
  const double dRatio = dWidth / dHeight;
  // Comparisons with NaN are false: such an item is never turned.
  return bLandscapeCell ? dRatio < 0.95 : dRatio > 1.05;
}

Matrix SheetComposer::FitMatrix(const PdfRect &c, const PdfRect &box, bool bUpside) {
  const double w = box.GetWidth(), h = box.GetHeight();
  const double l = box.GetLeft(), b0 = box.GetBottom();
  if (!ShouldTurn(c, w, h)) {
    const double s = std::min(c.GetWidth() / w, c.GetHeight() / h);
    if (bUpside)
      return {-s, 0, 0, -s, c.GetLeft() - l + c.GetWidth(), c.GetBottom() - b0 + c.GetHeight()};
    return {s, 0, 0, s, c.GetLeft() - l, c.GetBottom() - b0};
  }
  const double s = std::min(c.GetHeight() / w, c.GetWidth() / h);
  if (bUpside)
    return {0, s, -s, 0, c.GetLeft() - l + c.GetWidth(), c.GetBottom() - b0};
  return {0, -s, s, 0, c.GetLeft() - l, c.GetBottom() - b0 + c.GetHeight()};
}

SheetComposer::SheetComposer(double dWidth, double dHeight, OutputDocument *pDocument, int nNUp,
                             int nOrientation)
    : pDoc(pDocument), bNeedNewSheet(true), nRotation(0), pCurPage(nullptr), nCell(0),
      bSizeFromPage(false), nSheetNUp(nNUp),
      nSheetOrientation((nOrientation >= 0 && nOrientation <= 2) ? nOrientation : 0) {
  if (dHeight > 0 && dWidth > 0) {
    rcSheet = PdfRect(0, 0, dWidth, dHeight);
    BuildCells(nNUp, nSheetOrientation);
  } else {
    bSizeFromPage = true;
  }
}

void SheetComposer::BuildCells(int nNUp, int nOrientation) {
  const double L = rcSheet.GetLeft(), B = rcSheet.GetBottom();
  const double W = rcSheet.GetWidth(), H = rcSheet.GetHeight();
  nRotation = nOrientation == 2 ? 270 : 0;
  vecCells.clear();
  switch (nNUp) {
  case 1:
    if (H >= W) {
      vecCells.emplace_back(L, B + H / 2, W, H / 2);
      vecCells.emplace_back(L, B, W, H / 2);
    } else {
      vecCells.emplace_back(L + W / 2, B, W / 2, H);
      vecCells.emplace_back(L, B, W / 2, H);
    }
    if (nRotation == 0 && nOrientation == 0)
      nRotation = 270;
    break;
  case 2:
    if (nOrientation == 2) {
      vecCells.emplace_back(L + W / 2, B + H / 2, W / 2, H / 2);
      vecCells.emplace_back(L, B + H / 2, W / 2, H / 2);
      vecCells.emplace_back(L + W / 2, B, W / 2, H / 2);
      vecCells.emplace_back(L, B, W / 2, H / 2);
    } else {
      vecCells.emplace_back(L, B + H / 2, W / 2, H / 2);
      vecCells.emplace_back(L + W / 2, B + H / 2, W / 2, H / 2);
      vecCells.emplace_back(L, B, W / 2, H / 2);
      vecCells.emplace_back(L + W / 2, B, W / 2, H / 2);
    }
    break;
  default:
    vecCells.push_back(rcSheet);
    break;
  }
}

void SheetComposer::BeginSheetIfNeeded(const PdfRect &r) {
  if (!bNeedNewSheet)
    return;
  if (bSizeFromPage) {
    rcSheet = r;
    BuildCells(nSheetNUp, nSheetOrientation);
  }
  pCurPage = pDoc->AppendSheet(rcSheet);
  if (nRotation != 0)
    pCurPage->GetDictionary().AddKey("Rotate", PdfVariant(static_cast<pdf_int64>(nRotation)));
  painter.SetPage(pCurPage);
  nCell = 0;
  bNeedNewSheet = false;
}

void SheetComposer::Advance() {
  ++nCell;
  if (nCell >= static_cast<int>(vecCells.size())) {
    painter.FinishPage(pDoc->Objects());
    nCell = 0;
    bNeedNewSheet = true;
    pCurPage = nullptr;
  }
}

Placement SheetComposer::Draw(const PdfReference &rXObject, const Matrix &m) {
  Placement placement;
  placement.sheet = pCurPage->Reference();
  placement.matrix = m;
  placement.cell = vecCells[nCell];
  placement.nSheetRotation = nRotation;
  painter.DrawXObject(rXObject, m);
  return placement;
}

Placement SheetComposer::PlacePdfPage(const PdfReference &rPage) {
  const PdfObject *pPage = pDoc->Objects().GetObject(rPage);
  if (pPage == nullptr)
    return {};
  const PdfRect box = pDoc->PageBox(pPage);
  const int nRotate = pDoc->PageRotation(pPage);
  PdfRect rcOpen = box;
  if (nRotate == 90 || nRotate == 270)
    rcOpen = PdfRect(box.GetBottom(), box.GetLeft(), box.GetHeight(), box.GetWidth());
  BeginSheetIfNeeded(rcOpen);

  const PdfReference form = pDoc->MakePageForm(rPage, box);
  const Placement placement = Draw(form, FitMatrix(vecCells[nCell], box, nRotate >= 180));
  DrawAnnotationAppearances(*pDoc, pPage, placement.matrix, painter);
  Advance();
  return placement;
}

Matrix SheetComposer::OrientationMatrix(int nOrientation) {
  switch (nOrientation) {
  case 2: return {-1, 0, 0, 1, 1, 0};   // mirrored left to right
  case 3: return {-1, 0, 0, -1, 1, 1};  // half turn
  case 4: return {1, 0, 0, -1, 0, 1};   // mirrored top to bottom
  case 5: return {0, -1, -1, 0, 1, 1};  // transposed
  case 6: return {0, -1, 1, 0, 0, 1};   // stored a quarter turn left: turn it right
  case 7: return {0, 1, 1, 0, 0, 0};    // transversed
  case 8: return {0, 1, -1, 0, 1, 0};   // stored a quarter turn right: turn it left
  default: return {1, 0, 0, 1, 0, 0};
  }
}

Matrix SheetComposer::Multiply(const Matrix &a, const Matrix &b) {
  return {a.a * b.a + a.b * b.c,       a.a * b.b + a.b * b.d,
          a.c * b.a + a.d * b.c,       a.c * b.b + a.d * b.d,
          a.e * b.a + a.f * b.c + b.e, a.e * b.b + a.f * b.d + b.f};
}

Placement SheetComposer::PlaceImage(const PdfReference &rImage, double dWidth, double dHeight,
                                    int nOrientation) {
  // Orientations 5 to 8 store the picture on its side.
  if (nOrientation >= 5 && nOrientation <= 8)
    std::swap(dWidth, dHeight);
  const PdfRect r(0, 0, dWidth, dHeight);
  BeginSheetIfNeeded(r);
  const PdfRect &c = vecCells[nCell];
  Matrix m;
  if (!ShouldTurn(c, dWidth, dHeight)) {
    const double s = std::min(c.GetWidth() / dWidth, c.GetHeight() / dHeight);
    m = {s * dWidth, 0, 0, s * dHeight, c.GetLeft(), c.GetBottom()};
  } else {
    const double s = std::min(c.GetHeight() / dWidth, c.GetWidth() / dHeight);
    m = {0, -s * dWidth, s * dHeight, 0, c.GetLeft(), c.GetBottom() + c.GetHeight()};
  }
  if (nOrientation != 1)
    m = Multiply(OrientationMatrix(nOrientation), m);
  const Placement placement = Draw(rImage, m);
  Advance();
  return placement;
}

void SheetComposer::FinishSheet() {
  if (!bNeedNewSheet && pCurPage != nullptr) {
    painter.FinishPage(pDoc->Objects());
    nCell = 0;
    bNeedNewSheet = true;
    pCurPage = nullptr;
  }
}

} // namespace engine
