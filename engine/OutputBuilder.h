#pragma once
// The output document as it is made: sheets are opened, drawn on and closed one at a time, and
// each sheet's drawing goes to the file as soon as the sheet is full. The sheets' page objects
// and the page tree are written at the end, when their link annotations are known.

#include "Geometry.h"
#include "pdf/PdfWriter.h"

#include <string>
#include <unordered_set>
#include <vector>

namespace engine {

class OutputBuilder {
public:
  explicit OutputBuilder(const std::string &strTarget);

  pdf::PdfWriter &Writer() { return m_writer; }
  uint32_t PagesRoot() const { return m_nPagesRoot; }

  // A new sheet at the end of the document; returns its index.
  size_t OpenSheet(const Rect &media, int nRotate);
  // Draws an XObject of the output on the open sheet through m.
  void Draw(uint32_t nXObject, const Matrix &m);
  // Writes the open sheet's drawing; nothing when no sheet is open.
  void CloseSheet();
  bool SheetOpen() const { return m_bOpen; }

  size_t SheetCount() const { return m_sheets.size(); }
  uint32_t SheetNumber(size_t nSheet) const { return m_sheets[nSheet].nNum; }
  // Lists an annotation on a sheet; a sheet lists its annotations by nOrder, whatever order
  // they were written in.
  void AddAnnotation(size_t nSheet, uint32_t nAnnot, uint64_t nOrder) {
    m_sheets[nSheet].annots.emplace_back(nOrder, nAnnot);
  }
  uint64_t NextAnnotationOrder() { return m_nAnnotationOrder++; }
  // XObjects that sheets may draw: only these are ever named in a sheet's resources.
  void RegisterXObject(uint32_t nNum) { m_known.insert(nNum); }

  // Writes the sheets' page objects, the page tree, the catalog with catalogExtras' keys, the
  // information dictionary and the trailer; false on any write failure.
  bool Finish(pdf::Dict catalogExtras, pdf::Value info, pdf::Value id, uint32_t nEncrypt, int nVersion);

private:
  struct Sheet {
    uint32_t nNum = 0;
    Rect media;
    int nRotate = 0;
    uint32_t nContents = 0;
    std::vector<uint32_t> xobjects;
    std::vector<std::pair<uint64_t, uint32_t>> annots; // order, object
  };

  pdf::PdfWriter m_writer;
  uint32_t m_nPagesRoot = 0;
  std::vector<Sheet> m_sheets;
  bool m_bOpen = false;
  std::string m_content;
  std::unordered_set<uint32_t> m_known;
  uint64_t m_nAnnotationOrder = 0;
};

} // namespace engine
