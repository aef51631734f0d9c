#pragma once
// What the merged file says of itself: this program made it, and when. The information
// dictionary and the XMP metadata stream say the same; nothing of a source's own information
// (titles, authors of other files) reaches the output.

#include "pdf/PdfValue.h"

#include <ctime>
#include <string>

namespace engine {

struct DocumentInfo {
  pdf::Value info;         // the information dictionary
  pdf::Value metadataDict; // the metadata stream's dictionary
  std::string strXmp;      // its data
};

DocumentInfo MakeDocumentInfo(std::time_t now);

} // namespace engine
