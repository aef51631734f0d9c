#pragma once
// Decoding of stream data through the filters PDF files use for page content, object streams
// and cross-reference streams, and Flate encoding of what the engine writes. Decoding stops at
// a bounded size, so a small file cannot make the engine allocate gigabytes.

#include "PdfValue.h"

#include <cstddef>
#include <functional>
#include <string>

namespace engine::pdf {

enum class DecodeResult { Ok, Unsupported, Damaged, TooLarge, Cancelled };

// How far one decode may go: nLimit bytes out, and a cancel test asked now and then inside the
// loops (true stops the decode as Cancelled).
struct DecodeOptions {
  size_t nLimit = 0;
  const std::function<bool()> *pCancel = nullptr;
};

// What went wrong, for the reason the user reads: the filter, and the byte of its input where
// it went wrong (or the limit it passed).
struct DecodeReport {
  std::string filter;
  size_t nAt = 0;
  // "its FlateDecode data is damaged at byte 120", "it decodes to more than 128 MB"
  std::string Describe(DecodeResult result) const;
};

// Decodes data through the filters named by a stream dictionary's /Filter and /DecodeParms.
// Image-only filters (DCT, JPX, CCITT, JBIG2) are Unsupported: their data is never decoded.
// Damaged data decodes as far as it can and says so.
DecodeResult DecodeStream(const Value &streamDict, const char *pData, size_t nSize,
                          std::string &out, const DecodeOptions &options,
                          DecodeReport *pReport = nullptr);
DecodeResult DecodeStream(const Value &streamDict, const char *pData, size_t nSize,
                          std::string &out, size_t nLimit);

// One filter by name over data, with its /DecodeParms (null for none): what DecodeStream does
// per filter, for tests and fuzzing of each decoder alone.
DecodeResult DecodeFilter(const std::string &filter, const Value *pParms, const char *pData,
                          size_t nSize, std::string &out, const DecodeOptions &options,
                          DecodeReport *pReport = nullptr);

// Removes a /Filter that is not a name, a reference or an array of names and references, and a
// /DecodeParms that is not a dictionary, an array, a reference or null: readers refuse a stream
// that has them, and DecodeStream reads its data as it stands. True when anything was removed.
bool DropMalformedFilters(Value &streamDict);

// zlib-compressed bytes of data (the Flate filter).
std::string FlateEncode(const std::string &data);

} // namespace engine::pdf
