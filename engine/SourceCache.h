#pragma once
// The sources of one merge run, loaded once per distinct path however often a path is listed.
// A PDF source's objects are copied into the output once, under one object-number offset.

#include "OutputDocument.h"

#include <podofo/podofo.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace engine {

// The imaging library's JPEG encoder, looked up once per run.
struct ImageEncoder {
  int nState = 0; // 0 not looked up yet, -1 none, otherwise its position in the list + 1
  std::string strName;
};

enum SourceKind { SRC_OTHER = 0, SRC_IMAGE = 1, SRC_PDF = 2 };

// Kind from the path's extension, without regard to case.
SourceKind KindFromPath(const std::wstring &strPath);

struct SourceEntry {
  SourceKind nKind = SRC_OTHER;
  // A PDF source's pages, as the numbers of their objects in the output, in page order. The
  // source document itself is released once its objects have moved into the output.
  std::vector<PoDoFo::PdfReference> vecPages;
  PoDoFo::PdfReference catalog; // the source's catalog object in the output
  PoDoFo::PdfReference imageRef;                   // a picture's image XObject in the output
  double dImageWidth = 0;
  double dImageHeight = 0;
  int nOrientation = 1; // EXIF orientation of a JPEG: how to turn it upright
  int nRefCount = 0;
  int nLoadState = 0; // 0 not loaded yet, 1 loaded, 2 failed
  int nObjectOffset = 0;
};

class SourceCache {
public:
  explicit SourceCache(OutputDocument *pOutDoc) : pOutDoc(pOutDoc) {}

  // Counts one more occurrence of a path; returns its entry.
  SourceEntry &Register(const std::wstring &strPath);
  // The entry of a path, loaded the first time; null when the path is unknown, of no usable
  // kind, or failed to load (a failed load is not tried again).
  SourceEntry *Fetch(const std::wstring &strPath, const char *pszPassword);

private:
  void LoadPdf(SourceEntry &entry, const std::wstring &strPath, const char *pszPassword);

  OutputDocument *pOutDoc;
  ImageEncoder encoder;
  std::map<std::wstring, std::unique_ptr<SourceEntry>> mapEntries;
};

} // namespace engine
