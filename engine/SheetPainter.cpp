#include "SheetPainter.h"

#include <cmath>
#include <cstdio>

using namespace PoDoFo;

namespace engine {

std::string SheetPainter::FormatNumber(double value) {
  if (!std::isfinite(value))
    return "0";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.6f", value);
  std::string text(buffer);
  const size_t dot = text.find('.');
  if (dot != std::string::npos) {
    size_t end = text.find_last_not_of('0');
    if (end == dot)
      --end;
    text.erase(end + 1);
  }
  if (text == "-0")
    text = "0";
  return text;
}

void SheetPainter::SetPage(PdfObject *pPage) {
  m_pPage = pPage;
  m_strContent.clear();
  m_vecXObjects.clear();
}

void SheetPainter::DrawXObject(const PdfReference &rXObject, const Matrix &m) {
  // One resource name per object, so a form drawn twice on a sheet is registered once.
  std::string name = "XOb" + std::to_string(rXObject.ObjectNumber());
  if (rXObject.GenerationNumber() != 0)
    name += "_" + std::to_string(rXObject.GenerationNumber());
  bool bKnown = false;
  for (const auto &entry : m_vecXObjects)
    bKnown = bKnown || entry.first == name;
  if (!bKnown)
    m_vecXObjects.emplace_back(name, rXObject);

  m_strContent += "q\n";
  for (double value : {m.a, m.b, m.c, m.d, m.e, m.f}) {
    m_strContent += FormatNumber(value);
    m_strContent += ' ';
  }
  m_strContent += "cm\n/";
  m_strContent += name;
  m_strContent += " Do\nQ\n";
}

void SheetPainter::FinishPage(PdfVecObjects &rObjects) {
  if (m_pPage == nullptr)
    return;
  PdfObject *pContents = rObjects.CreateObject();
  pContents->GetStream()->Set(m_strContent.data(), static_cast<pdf_long>(m_strContent.size()));
  PdfDictionary &page = m_pPage->GetDictionary();
  page.AddKey("Contents", pContents->Reference());

  PdfDictionary xobjects;
  for (const auto &entry : m_vecXObjects)
    xobjects.AddKey(PdfName(entry.first), entry.second);
  PdfObject *pResources = page.GetKey("Resources");
  if (pResources != nullptr && pResources->IsReference())
    pResources = rObjects.GetObject(pResources->GetReference());
  if (pResources == nullptr || !pResources->IsDictionary()) {
    page.AddKey("Resources", PdfDictionary());
    pResources = page.GetKey("Resources");
  }
  pResources->GetDictionary().AddKey("XObject", xobjects);
  SetPage(nullptr);
}

} // namespace engine
