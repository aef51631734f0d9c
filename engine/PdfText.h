#pragma once
// Text in PDF's own encodings.

#include <string>

namespace engine {

// A PDF text string for UTF-8 text: plain bytes when it is printable ASCII, else UTF-16BE
// with its byte-order mark.
std::string PdfTextString(const std::string &strUtf8);

} // namespace engine
