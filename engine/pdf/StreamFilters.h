#pragma once
// Decoding of stream data through the filters PDF files use for page content, object streams
// and cross-reference streams, and Flate encoding of what the engine writes. Decoding stops at
// a bounded size, so a small file cannot make the engine allocate gigabytes.

#include "PdfValue.h"

#include <cstddef>
#include <string>

namespace engine::pdf {

enum class DecodeResult { Ok, Unsupported, Damaged, TooLarge };

// Decodes data through the filters named by a stream dictionary's /Filter and /DecodeParms.
// Image-only filters (DCT, JPX, CCITT, JBIG2) are Unsupported: their data is never decoded.
// Damaged data decodes as far as it can and says so.
DecodeResult DecodeStream(const Value &streamDict, const char *pData, size_t nSize,
                          std::string &out, size_t nLimit);

// Removes a /Filter that is not a name, a reference or an array of names and references, and a
// /DecodeParms that is not a dictionary, an array, a reference or null: readers refuse a stream
// that has them, and DecodeStream reads its data as it stands. True when anything was removed.
bool DropMalformedFilters(Value &streamDict);

// zlib-compressed bytes of data (the Flate filter).
std::string FlateEncode(const std::string &data);

} // namespace engine::pdf
