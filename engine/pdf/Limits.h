#pragma once
// Every bound the engine puts on what a source file may ask of it, in one place. A file that
// passes one of these is damaged or hostile: the part that passes it is treated as missing,
// and the run says so. Sizes bound memory; budgets bound work, in proportion to the file's
// size with a floor, so a file of a few kilobytes cannot ask for minutes or gigabytes. Each
// bound counts the times it was reached (HitCount), for tests and benchmarks.

#include <cstddef>
#include <cstdint>
#include <string>

namespace engine::limits {

// Nesting of arrays and dictionaries inside one object.
constexpr int kMaxNesting = 256;
// Highest object number a cross-reference may name; larger numbers are ignored.
constexpr uint32_t kMaxObjectNumber = 8'000'000;
// Cross-reference sections followed through /Prev and /XRefStm.
constexpr int kMaxXrefSections = 1'000;
// Objects one object stream may claim to hold.
constexpr int64_t kMaxObjectsInStream = 1'000'000;
// Bytes one decoded stream (page content, an image's data) may grow to; more means a
// decompression bomb. Pages whose content comes in parts are held to it joined as well.
constexpr size_t kMaxDecodedStream = size_t{128} << 20;
// The same for object streams and cross-reference streams: structure, never this large.
constexpr size_t kMaxDecodedStructure = size_t{64} << 20;
// Pages one document may have, counting a page listed several times once per listing.
constexpr size_t kMaxPages = 1'000'000;
// Pages a file may list for its size: a page costs a file tens of bytes at the least, but a
// shared /Kids array lists many pages from a few bytes.
constexpr size_t kMinPagesBudget = 100'000;
constexpr size_t kBytesPerPage = 16;
// Page tree nodes visited while listing pages.
constexpr size_t kMaxPageTreeNodes = 2'000'000;
// Depth of the page tree, of name trees and of outlines.
constexpr int kMaxTreeDepth = 256;
// Entries read from one name tree or one outline.
constexpr size_t kMaxTreeEntries = 2'000'000;
// Links in a chain of references followed to reach a value.
constexpr int kMaxReferenceChain = 32;
// Entries of the optional content order (layers panel) carried from one source.
constexpr size_t kMaxLayerOrderEntries = 100'000;
// Pictures: decoded size in pixels.
constexpr int64_t kMaxPicturePixels = 256LL * 1000 * 1000;
// A real number's magnitude in boxes, rectangles and matrices; beyond it the value is junk.
constexpr double kMaxCoordinate = 1.0e7;

// Work one source may cost: bytes produced by all its decoding, and steps (objects loaded,
// page tree entries walked, bytes parsed / 64), each a floor plus so much per byte of the file.
constexpr uint64_t kDecodeFloor = uint64_t{512} << 20;
constexpr uint64_t kDecodePerByte = 256;
constexpr uint64_t kStepFloor = 4'000'000;
constexpr uint64_t kStepsPerByte = 8;

// The bounds that count their hits.
enum class Bound {
  DecodedStream, // one stream decoded past its size
  DecodeBudget,  // a source's decoding passed its budget
  StepBudget,    // a source's work passed its budget
  PageBudget,    // a source listed more pages than its size allows
  PageTree,      // the page tree's nodes or depth
  LayerOrder,    // the optional content order
  ContentParts,  // a page's content parts repeated or joined past the size
  kCount
};

// Counts a hit of a bound (thread-safe).
void NoteHit(Bound bound);
// Hits of a bound since the process started.
uint64_t HitCount(Bound bound);

} // namespace engine::limits

namespace engine::pdf {

// Whole numbers from real numbers of a file: NaN reads as the fallback, and values outside the
// target's range are clamped, never cast (a cast out of range is undefined).
int64_t ClampToInt64(double value, int64_t fallback = 0);

// What one source may still cost; see the budgets above.
class WorkBudget {
public:
  WorkBudget() = default;
  // The budget of a file of nFileSize bytes.
  explicit WorkBudget(uint64_t nFileSize);

  // Spends steps; false once the budget is gone (and ever after).
  bool Spend(uint64_t nSteps) {
    if (m_nSteps < nSteps)
      return Exhaust(limits::Bound::StepBudget);
    m_nSteps -= nSteps;
    return true;
  }
  // Spends decoded bytes; false once the budget is gone.
  bool SpendDecoded(uint64_t nBytes) {
    if (m_nDecoded < nBytes)
      return Exhaust(limits::Bound::DecodeBudget);
    m_nDecoded -= nBytes;
    return true;
  }
  // What is left to decode (the limit of the next decode).
  uint64_t DecodeLeft() const { return m_nDecoded; }
  bool Exhausted() const { return m_bExhausted; }
  // Why the budget ran out, as a reason the user reads; empty while it lasts.
  std::string Reason() const;

private:
  bool Exhaust(limits::Bound bound);
  uint64_t m_nSteps = limits::kStepFloor;
  uint64_t m_nDecoded = limits::kDecodeFloor;
  uint64_t m_nStepsGiven = limits::kStepFloor, m_nDecodedGiven = limits::kDecodeFloor;
  bool m_bExhausted = false;
  limits::Bound m_why = limits::Bound::StepBudget;
};

} // namespace engine::pdf
