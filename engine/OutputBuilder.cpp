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
  Sheet sheet;
  sheet.nNum = m_writer.Reserve();
  sheet.media = media;
  sheet.nRotate = nRotate;
  m_sheets.push_back(std::move(sheet));
  m_bOpen = true;
  m_content.clear();
  return m_sheets.size() - 1;
}

void OutputBuilder::Draw(uint32_t nXObject, const Matrix &m) {
  if (!m_bOpen)
    return;
  // Only objects made as forms or images are drawn: a sheet never names anything else.
  if (m_known.count(nXObject) == 0)
    throw std::logic_error("a sheet would draw an object that is not a finished form or image");
  Sheet &sheet = m_sheets.back();
  if (std::find(sheet.xobjects.begin(), sheet.xobjects.end(), nXObject) == sheet.xobjects.end())
    sheet.xobjects.push_back(nXObject);
  m_content += "q\n";
  for (double v : {m.a, m.b, m.c, m.d, m.e, m.f}) {
    pdf::AppendReal(m_content, v);
    m_content += ' ';
  }
  m_content += "cm\n/XOb";
  m_content += std::to_string(nXObject);
  m_content += " Do\nQ\n";
}

void OutputBuilder::CloseSheet() {
  if (!m_bOpen)
    return;
  m_bOpen = false;
  Sheet &sheet = m_sheets.back();
  sheet.nContents = m_writer.Reserve();
  pdf::Dict dict;
  dict.Set("Filter", Value::MakeName("FlateDecode"));
  m_writer.WriteStream(sheet.nContents, Value(std::move(dict)), pdf::FlateEncode(m_content));
  m_content.clear();
}

bool OutputBuilder::Finish(pdf::Dict catalogExtras, Value info, Value id, uint32_t nEncrypt,
                           int nVersion) {
  CloseSheet();
  pdf::Array kids;
  kids.reserve(m_sheets.size());
  for (const Sheet &sheet : m_sheets) {
    pdf::Dict page;
    page.Set("Type", Value::MakeName("Page"));
    page.Set("Parent", Value(pdf::Ref{m_nPagesRoot, 0}));
    page.Set("MediaBox", RectArray(sheet.media));
    pdf::Dict xobjects;
    for (uint32_t n : sheet.xobjects)
      xobjects.Set("XOb" + std::to_string(n), Value(pdf::Ref{n, 0}));
    pdf::Dict resources;
    resources.Set("XObject", Value(std::move(xobjects)));
    page.Set("Resources", Value(std::move(resources)));
    if (sheet.nContents != 0)
      page.Set("Contents", Value(pdf::Ref{sheet.nContents, 0}));
    if (sheet.nRotate != 0)
      page.Set("Rotate", Value(sheet.nRotate));
    if (!sheet.annots.empty()) {
      std::vector<std::pair<uint64_t, uint32_t>> ordered = sheet.annots;
      std::sort(ordered.begin(), ordered.end());
      pdf::Array annots;
      for (const auto &item : ordered)
        annots.push_back(Value(pdf::Ref{item.second, 0}));
      page.Set("Annots", Value(std::move(annots)));
    }
    m_writer.WriteObject(sheet.nNum, Value(std::move(page)));
    kids.push_back(Value(pdf::Ref{sheet.nNum, 0}));
  }
  pdf::Dict pages;
  pages.Set("Type", Value::MakeName("Pages"));
  pages.Set("Count", Value(static_cast<int64_t>(m_sheets.size())));
  pages.Set("Kids", Value(std::move(kids)));
  m_writer.WriteObject(m_nPagesRoot, Value(std::move(pages)));

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
