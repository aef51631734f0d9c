// Page count of a PDF without merging it.

#include "MergerTool.h"

#include "AnsiText.h"
#include "PodofoSetup.h"

#include <podofo/podofo.h>

int32_t MergerTool::GetPdfInfo(const wchar_t *pszPath) {
  if (pszPath == nullptr)
    return -1;
  engine::EnsurePodofoReady();
  try {
    PoDoFo::PdfMemDocument doc;
    doc.Load(WideToUtf8(pszPath).c_str());
    return doc.GetPageCount();
  } catch (const PoDoFo::PdfError &) {
    return -1;
  } catch (const std::exception &) {
    return -1;
  }
}
