#pragma once
// The output document as it is made: sheets are opened, drawn on and closed one at a time, and
// each sheet's drawing goes to the file as soon as the sheet is full. The sheets' page objects
// and the page tree are written at the end, when their link annotations are known.

#include "Geometry.h"
#include "pdf/PdfWriter.h"

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace engine {

class OutputBuilder {
public:
  explicit OutputBuilder(const std::string &strTarget);

  pdf::PdfWriter &Writer() { return m_writer; }
  uint32_t PagesRoot() const { return m_nPagesRoot; }
  // The number of sheets in the page tree Finish wrote.
  size_t FinishedSheets() const { return m_nSheets; }

  // A new sheet at the end of the document; returns its index.
  size_t OpenSheet(const Rect &media, int nRotate);
  // Draws an XObject of the output on the open sheet through m.
  void Draw(uint32_t nXObject, const Matrix &m);
  // The open sheet shows the content stream nContents with resources as its own content (in
  // place of anything drawn on it).
  void ShowContent(uint32_t nContents, pdf::Value resources);
  // Writes the open sheet's drawing; nothing when no sheet is open. The sheet's page object
  // follows as soon as none of its annotations is still to be settled.
  void CloseSheet();
  bool SheetOpen() const { return m_bOpen; }

  size_t SheetCount() const { return m_sheetNumbers.size(); }
  uint32_t SheetNumber(size_t nSheet) const { return m_sheetNumbers[nSheet]; }
  // The first of the places that a placed page's annotations take among its sheet's, one for
  // each entry of the page's /Annots (base + index), so that they keep the page's order.
  uint64_t ReserveAnnotationPlaces();
  // An annotation of a sheet that is to be written (or dropped) later: the sheet's page object
  // waits for it.
  void BeginAnnotation(size_t nSheet);
  // The transparency group of the sheet being drawn (that of the page it shows alone).
  void SetSheetGroup(pdf::Value group);
  // The media box of a sheet whose page object is not written yet (an empty box otherwise).
  Rect SheetMedia(size_t nSheet) const;
  // The annotation begun as nOrder is written as nAnnot, or dropped when nAnnot is 0.
  void SettleAnnotation(size_t nSheet, uint64_t nOrder, uint32_t nAnnot);
  // XObjects that sheets may draw: only these are ever named in a sheet's resources.
  void RegisterXObject(uint32_t nNum);
  // Sheets written from now on take their annotations in the order of the structure.
  void SetStructureOrder(bool bOn) { m_bStructureOrder = bOn; }
  // Annotation nSourceAnnot of the occurrence at list position nPosition is written as nOutAnnot
  // on sheet nSheet: the /StructParent it gets, or none (asked of the structure's keeper).
  using AnnotationKeyFn = std::function<std::optional<int64_t>(int nPosition, uint32_t nSourceAnnot,
                                                               uint32_t nOutAnnot, size_t nSheet)>;
  void SetAnnotationKeys(AnnotationKeyFn keys) { m_annotationKeys = std::move(keys); }
  std::optional<int64_t> AnnotationKey(int nPosition, uint32_t nSourceAnnot, uint32_t nOutAnnot,
                                       size_t nSheet) const {
    if (!m_annotationKeys || nSourceAnnot == 0)
      return std::nullopt;
    return m_annotationKeys(nPosition, nSourceAnnot, nOutAnnot, nSheet);
  }

  // Writes the sheets' page objects still held, the page tree, the catalog with
  // catalogExtras' keys, the information dictionary and the trailer; false on any write
  // failure.
  bool Finish(pdf::Dict catalogExtras, pdf::Value info, pdf::Value id, uint32_t nEncrypt,
              int nVersion);

private:
  struct Sheet {
    Rect media;
    int nRotate = 0;
    uint32_t nContents = 0;
    bool bShown = false; // nContents is an item's own content, with these resources
    pdf::Value resources;
    bool bClosed = false;
    int nUnsettled = 0;
    std::vector<uint32_t> xobjects;
    std::vector<std::pair<uint64_t, uint32_t>> annots; // order, object
    pdf::Value group;
  };
  void WriteSheet(size_t nSheet, Sheet &sheet);

  pdf::PdfWriter m_writer;
  uint32_t m_nPagesRoot = 0;
  size_t m_nSheets = 0;
  std::vector<uint32_t> m_sheetNumbers;
  std::unordered_map<size_t, Sheet> m_pending; // sheets whose page objects are not written yet
  bool m_bOpen = false;
  std::string m_content;
  std::vector<bool> m_known; // by object number
  uint64_t m_nAnnotationOrder = 0;
  bool m_bStructureOrder = false;
  AnnotationKeyFn m_annotationKeys;
};

} // namespace engine
