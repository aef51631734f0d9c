#pragma once
// Text in PDF's own encodings.

#include <string>

namespace engine {

// A PDF text string for UTF-8 text: plain bytes when it is printable ASCII, else UTF-16BE
// with its byte-order mark.
std::string PdfTextString(const std::string &strUtf8);

// Windows-1252 bytes as PDFDocEncoding, the encoding of passwords up to AES-128. The two agree
// except in 0x80..0x9F and at the soft hyphen; false when a byte has no PDFDocEncoding
// counterpart (out is then incomplete).
bool Cp1252ToPdfDoc(const std::string &in, std::string &out);

} // namespace engine
