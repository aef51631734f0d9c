#pragma once
// Objects that several sources (or one source several times) hold byte for byte alike: the
// same font program, colour profile or logo in every manual of one family. Each is known by a
// fingerprint of its copied bytes (its dictionary as written, with the numbers of what it
// refers to in the output, and its stream data) and written once; later copies refer to the
// first. The table is bounded: a fingerprint pushed out only costs a second copy.

#include "pdf/PdfValue.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

class SharedObjects {
public:
  struct Fingerprint {
    uint64_t high = 0;
    uint32_t low = 0;
  };
  // The fingerprint of an object as it is to be written (a stream's dictionary without its
  // /Length, and its data as stored).
  static Fingerprint Of(const pdf::Value &value, bool bStream, std::string_view data);

  // The output object written with this fingerprint, or 0.
  uint32_t Find(const Fingerprint &print) const;
  void Remember(const Fingerprint &print, uint32_t nNum);

  // Slots in the table (16 bytes each, taken at the first use).
  static constexpr size_t kSlots = size_t{1} << 15;

private:
  struct Slot {
    uint64_t high = 0;
    uint32_t low = 0;
    uint32_t num = 0;
  };
  std::vector<Slot> m_slots;
};

// The SHA-256 digest of bytes (32 bytes), without loading OpenSSL's providers: a merge that
// encrypts nothing never pays for them.
std::string Sha256(std::string_view bytes);

// Whether an object of a source may be written once for several identical copies: false for
// everything whose identity matters (pages, annotations, fields, structure elements, outline
// items, layers, anything a link, a destination, /OBJR, /Parent or /P points at), which are
// told by their types and by the keys that tie them to others. bTagged: the source has a
// structure, whose marked content may name forms by their objects.
bool IsShareable(const pdf::Value &value, bool bStream, bool bTagged);

// A stream that the source left without a filter, Flate-compressed when that makes it smaller
// (pictures and metadata stay as they are): dict gets the filter and data points into encoded.
void CompressPlainStream(pdf::Value &dict, std::string_view &data, std::string &encoded);

} // namespace engine
