#pragma once
// Writes the drawing operators of one output sheet. The operators are collected as text and
// become the sheet's content stream when the sheet is finished, together with the sheet's
// XObject resources.

#include <podofo/podofo.h>

#include <string>
#include <vector>

namespace engine {

struct Matrix {
  double a, b, c, d, e, f;
};

class SheetPainter {
public:
  // Starts drawing on a page object of rDoc.
  void SetPage(PoDoFo::PdfObject *pPage);
  bool HasPage() const { return m_pPage != nullptr; }
  // Appends "q", the matrix with " cm", "/Name Do" and "Q", each on its own line.
  void DrawXObject(const PoDoFo::PdfReference &rXObject, const Matrix &m);
  // Writes the content stream and the resources into the page; the painter is then idle.
  void FinishPage(PoDoFo::PdfVecObjects &rObjects);

  // The number format of the operators: up to six decimals, no trailing zeros.
  static std::string FormatNumber(double value);

private:
  PoDoFo::PdfObject *m_pPage = nullptr;
  std::string m_strContent;
  std::vector<std::pair<std::string, PoDoFo::PdfReference>> m_vecXObjects;
};

} // namespace engine
