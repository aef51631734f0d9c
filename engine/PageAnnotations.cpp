#include "PageAnnotations.h"

#include "SheetComposer.h"

#include <algorithm>
#include <cmath>
#include <string>

using namespace PoDoFo;

namespace engine {

namespace {

constexpr int64_t kFlagHidden = 2;
constexpr int64_t kFlagNoView = 32;

double Number(const OutputDocument &rDoc, const PdfObject *pValue, double dDefault) {
  pValue = rDoc.Resolve(pValue);
  return (pValue != nullptr && (pValue->IsNumber() || pValue->IsReal())) ? pValue->GetReal() : dDefault;
}

// The normal appearance stream of an annotation: /AP /N, or its /AS state when /N has several.
const PdfObject *NormalAppearance(const OutputDocument &rDoc, const PdfObject *pAnnot,
                                  PdfReference &ref) {
  const PdfObject *pAp = rDoc.Resolve(pAnnot->GetDictionary().GetKey("AP"));
  if (pAp == nullptr || !pAp->IsDictionary())
    return nullptr;
  const PdfObject *pN = pAp->GetDictionary().GetKey("N");
  const PdfObject *pNormal = rDoc.Resolve(pN);
  if (pNormal != nullptr && pNormal->IsDictionary() && !pNormal->HasStream()) {
    const PdfObject *pState = rDoc.Resolve(pAnnot->GetDictionary().GetKey("AS"));
    if (pState == nullptr || !pState->IsName())
      return nullptr;
    pN = pNormal->GetDictionary().GetKey(pState->GetName());
    pNormal = rDoc.Resolve(pN);
  }
  if (pN == nullptr || !pN->IsReference() || pNormal == nullptr || !pNormal->HasStream())
    return nullptr;
  ref = pN->GetReference();
  return pNormal;
}

} // namespace

void MapPoint(const Matrix &m, double &x, double &y) {
  const double nx = m.a * x + m.c * y + m.e;
  const double ny = m.b * x + m.d * y + m.f;
  x = nx;
  y = ny;
}

PdfRect MapRect(const Matrix &m, const PdfRect &r) {
  double xs[4] = {r.GetLeft(), r.GetLeft() + r.GetWidth(), r.GetLeft(), r.GetLeft() + r.GetWidth()};
  double ys[4] = {r.GetBottom(), r.GetBottom(), r.GetBottom() + r.GetHeight(), r.GetBottom() + r.GetHeight()};
  for (int i = 0; i < 4; ++i)
    MapPoint(m, xs[i], ys[i]);
  const double left = *std::min_element(xs, xs + 4), right = *std::max_element(xs, xs + 4);
  const double bottom = *std::min_element(ys, ys + 4), top = *std::max_element(ys, ys + 4);
  return PdfRect(left, bottom, right - left, top - bottom);
}

bool ReadRect(const OutputDocument &rDoc, const PdfObject *pArray, PdfRect &r) {
  pArray = rDoc.Resolve(pArray);
  if (pArray == nullptr || !pArray->IsArray() || pArray->GetArray().size() != 4)
    return false;
  double v[4];
  for (int i = 0; i < 4; ++i) {
    const PdfObject *pNumber = rDoc.Resolve(&pArray->GetArray()[i]);
    if (pNumber == nullptr || !(pNumber->IsNumber() || pNumber->IsReal()))
      return false;
    v[i] = pNumber->GetReal();
  }
  r = PdfRect(std::min(v[0], v[2]), std::min(v[1], v[3]), std::abs(v[2] - v[0]),
              std::abs(v[3] - v[1]));
  return true;
}

void DrawAnnotationAppearances(OutputDocument &rDoc, const PdfObject *pPage, const Matrix &m,
                               SheetPainter &painter) {
  const PdfObject *pAnnots = rDoc.Resolve(pPage->GetDictionary().GetKey("Annots"));
  if (pAnnots == nullptr || !pAnnots->IsArray())
    return;
  for (const PdfObject &item : pAnnots->GetArray()) {
    const PdfObject *pAnnot = rDoc.Resolve(&item);
    if (pAnnot == nullptr || !pAnnot->IsDictionary())
      continue;
    const PdfObject *pSubtype = rDoc.Resolve(pAnnot->GetDictionary().GetKey("Subtype"));
    if (pSubtype != nullptr && pSubtype->IsName() &&
        (pSubtype->GetName() == PdfName("Link") || pSubtype->GetName() == PdfName("Popup")))
      continue;
    const int64_t nFlags = static_cast<int64_t>(Number(rDoc, pAnnot->GetDictionary().GetKey("F"), 0));
    if (nFlags & (kFlagHidden | kFlagNoView))
      continue;
    PdfReference appearanceRef;
    const PdfObject *pAppearance = NormalAppearance(rDoc, pAnnot, appearanceRef);
    PdfRect rect;
    if (pAppearance == nullptr || !ReadRect(rDoc, pAnnot->GetDictionary().GetKey("Rect"), rect))
      continue;
    PdfRect bbox;
    if (!ReadRect(rDoc, pAppearance->GetDictionary().GetKey("BBox"), bbox))
      continue;
    // The form's own /Matrix is applied by the reader; the box it gives is fitted to /Rect.
    Matrix formMatrix{1, 0, 0, 1, 0, 0};
    const PdfObject *pMatrix = rDoc.Resolve(pAppearance->GetDictionary().GetKey("Matrix"));
    if (pMatrix != nullptr && pMatrix->IsArray() && pMatrix->GetArray().size() == 6) {
      double v[6];
      for (int i = 0; i < 6; ++i)
        v[i] = Number(rDoc, &pMatrix->GetArray()[i], 0);
      formMatrix = {v[0], v[1], v[2], v[3], v[4], v[5]};
    }
    const PdfRect shown = MapRect(formMatrix, bbox);
    if (shown.GetWidth() <= 0 || shown.GetHeight() <= 0)
      continue;
    const double sx = rect.GetWidth() / shown.GetWidth(), sy = rect.GetHeight() / shown.GetHeight();
    const Matrix toRect{sx, 0, 0, sy, rect.GetLeft() - shown.GetLeft() * sx,
                        rect.GetBottom() - shown.GetBottom() * sy};
    // Appearance streams without their form keys are still forms to a reader.
    PdfObject *pForm = rDoc.Objects().GetObject(appearanceRef);
    if (!pForm->GetDictionary().HasKey("Subtype"))
      pForm->GetDictionary().AddKey(PdfName::KeySubtype, PdfName("Form"));
    painter.DrawXObject(appearanceRef, SheetComposer::Multiply(toRect, m));
  }
}

} // namespace engine
