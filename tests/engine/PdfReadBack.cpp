#include "PdfReadBack.h"

#include "PodofoSetup.h"

#include <podofo/podofo.h>

#include <sstream>

using namespace PoDoFo;

PdfReadBack ReadBack(const std::string &path, const std::string &password) {
  PdfReadBack out;
  engine::EnsurePodofoReady(); // RC4 files need OpenSSL's legacy provider
  try {
    PdfMemDocument doc;
    try {
      doc.Load(path.c_str());
    } catch (PdfError &e) {
      if (e.GetError() != ePdfError_InvalidPassword)
        throw;
      doc.SetPassword(password);
    }
    const PdfObject *mode = doc.GetCatalog()->GetDictionary().GetKey("PageMode");
    if (mode && mode->IsName())
      out.pageMode = mode->GetName().GetName();
    out.objectCount = doc.GetObjects().GetSize();
    for (int i = 0; i < doc.GetPageCount(); ++i) {
      PdfPage *page = doc.GetPage(i);
      SheetInfo sheet;
      const PdfRect box = page->GetMediaBox();
      sheet.left = box.GetLeft();
      sheet.bottom = box.GetBottom();
      sheet.width = box.GetWidth();
      sheet.height = box.GetHeight();
      sheet.rotate = page->GetRotation();
      const PdfObject *contents = page->GetContents();
      if (contents && contents->HasStream()) {
        char *buffer = nullptr;
        pdf_long length = 0;
        contents->GetStream()->GetFilteredCopy(&buffer, &length);
        sheet.content.assign(buffer, static_cast<size_t>(length));
        podofo_free(buffer);
      }
      std::istringstream in(sheet.content);
      std::vector<std::string> tokens;
      std::string token;
      while (in >> token) {
        if (token == "cm" && tokens.size() >= 6) {
          std::array<double, 6> m{};
          for (int k = 0; k < 6; ++k)
            m[k] = std::stod(tokens[tokens.size() - 6 + k]);
          sheet.matrices.push_back(m);
        } else if (token == "Do" && !tokens.empty()) {
          sheet.drawn.push_back(tokens.back());
        }
        tokens.push_back(token);
      }
      out.sheets.push_back(sheet);
    }
    out.loaded = true;
  } catch (PdfError &) {
    out.loaded = false;
  }
  return out;
}
