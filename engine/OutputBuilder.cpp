#include "OutputBuilder.h"

#include "pdf/StreamFilters.h"

#include <algorithm>
#include <stdexcept>

namespace engine {

using pdf::Value;

OutputBuilder::OutputBuilder(const std::string &strTarget) : m_writer(strTarget) {
  m_nPagesRoot = m_writer.Reserve();
}

size_t OutputBuilder::OpenSheet(const Rect &media, int nRotate) {
  CloseSheet();
  const size_t nSheet = m_sheetNumbers.size();
  m_sheetNumbers.push_back(m_writer.Reserve());
  Sheet &sheet = m_pending[nSheet];
  sheet.media = media;
  sheet.nRotate = nRotate;
  m_bOpen = true;
  m_content.clear();
  return nSheet;
}

void OutputBuilder::RegisterXObject(uint32_t nNum) {
  if (nNum >= m_known.size())
    m_known.resize(std::max<size_t>(nNum + 1, m_known.size() * 2));
  m_known[nNum] = true;
}

void OutputBuilder::Draw(uint32_t nXObject, const Matrix &m) {
  if (!m_bOpen)
    return;
  // Only objects made as forms or images are drawn: a sheet never names anything else.
  if (nXObject >= m_known.size() || !m_known[nXObject])
    throw std::logic_error("a sheet would draw an object that is not a finished form or image");
  Sheet &sheet = m_pending[m_sheetNumbers.size() - 1];
  // Named by their place in the sheet's resources: /X0, /X1, ...
  const size_t nName =
      std::find(sheet.xobjects.begin(), sheet.xobjects.end(), nXObject) - sheet.xobjects.begin();
  if (nName == sheet.xobjects.size())
    sheet.xobjects.push_back(nXObject);
  m_content += "q\n";
  for (double v : {m.a, m.b, m.c, m.d, m.e, m.f}) {
    pdf::AppendReal(m_content, v);
    m_content += ' ';
  }
  m_content += "cm\n/X";
  m_content += std::to_string(nName);
  m_content += " Do\nQ\n";
}

void OutputBuilder::ShowContent(uint32_t nContents, Value resources) {
  if (!m_bOpen)
    return;
  Sheet &sheet = m_pending[m_sheetNumbers.size() - 1];
  sheet.nContents = nContents;
  sheet.bShown = true;
  sheet.resources = std::move(resources);
}

void OutputBuilder::CloseSheet() {
  if (!m_bOpen)
    return;
  m_bOpen = false;
  const size_t nSheet = m_sheetNumbers.size() - 1;
  Sheet &sheet = m_pending[nSheet];
  if (!sheet.bShown) {
    sheet.nContents = m_writer.Reserve();
    pdf::Dict dict;
    dict.Set("Filter", Value::MakeName("FlateDecode"));
    m_writer.WriteStream(sheet.nContents, Value(std::move(dict)), pdf::FlateEncode(m_content));
  }
  m_content.clear();
  sheet.bClosed = true;
  if (sheet.nUnsettled == 0) {
    WriteSheet(nSheet, sheet);
    m_pending.erase(nSheet);
  }
}

uint64_t OutputBuilder::ReserveAnnotationPlaces() {
  // A page never has this many annotations: the carriers stop long before.
  const uint64_t nBase = m_nAnnotationOrder;
  m_nAnnotationOrder += uint64_t{1} << 24;
  return nBase;
}

void OutputBuilder::BeginAnnotation(size_t nSheet) {
  auto found = m_pending.find(nSheet);
  if (found == m_pending.end())
    throw std::logic_error("an annotation was added to a sheet already written");
  ++found->second.nUnsettled;
}

void OutputBuilder::SetSheetGroup(Value group) {
  if (m_bOpen)
    m_pending[m_sheetNumbers.size() - 1].group = std::move(group);
}

Rect OutputBuilder::SheetMedia(size_t nSheet) const {
  auto found = m_pending.find(nSheet);
  return found == m_pending.end() ? Rect{} : found->second.media;
}

void OutputBuilder::SettleAnnotation(size_t nSheet, uint64_t nOrder, uint32_t nAnnot) {
  auto found = m_pending.find(nSheet);
  if (found == m_pending.end())
    return;
  Sheet &sheet = found->second;
  if (nAnnot != 0)
    sheet.annots.emplace_back(nOrder, nAnnot);
  if (--sheet.nUnsettled == 0 && sheet.bClosed) {
    WriteSheet(nSheet, sheet);
    m_pending.erase(found);
  }
}

void OutputBuilder::WriteSheet(size_t nSheet, Sheet &sheet) {
  pdf::Dict page;
  page.Set("Type", Value::MakeName("Page"));
  page.Set("Parent", Value(pdf::Ref{m_nPagesRoot, 0}));
  page.Set("MediaBox", RectArray(sheet.media));
  if (sheet.bShown) {
    page.Set("Resources", std::move(sheet.resources));
  } else {
    pdf::Dict xobjects;
    for (size_t i = 0; i < sheet.xobjects.size(); ++i)
      xobjects.Append("X" + std::to_string(i), Value(pdf::Ref{sheet.xobjects[i], 0}));
    pdf::Dict resources;
    resources.Set("XObject", Value(std::move(xobjects)));
    page.Set("Resources", Value(std::move(resources)));
  }
  if (sheet.nContents != 0)
    page.Set("Contents", Value(pdf::Ref{sheet.nContents, 0}));
  if (sheet.nRotate != 0)
    page.Set("Rotate", Value(sheet.nRotate));
  if (!sheet.group.IsNull())
    page.Set("Group", std::move(sheet.group));
  if (!sheet.annots.empty()) {
    std::sort(sheet.annots.begin(), sheet.annots.end());
    pdf::Array annots;
    for (const auto &item : sheet.annots)
      annots.push_back(Value(pdf::Ref{item.second, 0}));
    page.Set("Annots", Value(std::move(annots)));
    if (m_bStructureOrder)
      page.Set("Tabs", Value::MakeName("S"));
  }
  m_writer.WriteObject(m_sheetNumbers[nSheet], Value(std::move(page)));
}

bool OutputBuilder::Finish(pdf::Dict catalogExtras, Value info, Value id, uint32_t nEncrypt,
                           int nVersion) {
  CloseSheet();
  // Sheets still waiting for annotations that never came are written as they are.
  std::vector<size_t> left;
  for (const auto &item : m_pending)
    left.push_back(item.first);
  std::sort(left.begin(), left.end());
  for (size_t nSheet : left)
    WriteSheet(nSheet, m_pending[nSheet]);
  m_pending.clear();
  // The page tree's root lists every sheet: written as text, not built as values first.
  std::string pages = "<</Type /Pages /Count " + std::to_string(m_sheetNumbers.size()) + " /Kids [";
  for (uint32_t n : m_sheetNumbers) {
    pages += std::to_string(n);
    pages += " 0 R ";
  }
  pages += "]>>";
  m_writer.WriteObjectText(m_nPagesRoot, pages);
  m_nSheets = m_sheetNumbers.size();
  std::vector<uint32_t>().swap(m_sheetNumbers);
  const uint32_t nCatalog = m_writer.Reserve();
  pdf::Dict catalog;
  catalog.Set("Type", Value::MakeName("Catalog"));
  catalog.Set("Pages", Value(pdf::Ref{m_nPagesRoot, 0}));
  for (pdf::DictEntry &entry : catalogExtras)
    catalog.Set(entry.key, std::move(entry.value));
  m_writer.WriteObject(nCatalog, Value(std::move(catalog)));

  pdf::Dict trailer;
  trailer.Set("Root", Value(pdf::Ref{nCatalog, 0}));
  if (info.IsDict()) {
    const uint32_t nInfo = m_writer.Reserve();
    m_writer.WriteObject(nInfo, info);
    trailer.Set("Info", Value(pdf::Ref{nInfo, 0}));
  }
  if (!id.IsNull())
    trailer.Set("ID", std::move(id));
  if (nEncrypt != 0)
    trailer.Set("Encrypt", Value(pdf::Ref{nEncrypt, 0}));
  return m_writer.Finish(Value(std::move(trailer)), nVersion);
}

} // namespace engine
