#pragma once
// Every bound the engine puts on what a source file may ask of it, in one place. A file that
// passes one of these is damaged or hostile: the part that passes it is treated as missing,
// and the run says so.

#include <cstddef>
#include <cstdint>

namespace engine::limits {

// Nesting of arrays and dictionaries inside one object.
constexpr int kMaxNesting = 256;
// Highest object number a cross-reference may name; larger numbers are ignored.
constexpr uint32_t kMaxObjectNumber = 8'000'000;
// Cross-reference sections followed through /Prev and /XRefStm.
constexpr int kMaxXrefSections = 1'000;
// Objects one object stream may claim to hold.
constexpr int64_t kMaxObjectsInStream = 1'000'000;
// Bytes a decoded stream may grow to; more means a decompression bomb.
constexpr size_t kMaxDecodedStream = size_t{1} << 30;
// Pages one document may have, counting a page listed several times once per listing.
constexpr size_t kMaxPages = 1'000'000;
// Page tree nodes visited while listing pages.
constexpr size_t kMaxPageTreeNodes = 2'000'000;
// Depth of the page tree, of name trees and of outlines.
constexpr int kMaxTreeDepth = 256;
// Entries read from one name tree or one outline.
constexpr size_t kMaxTreeEntries = 2'000'000;
// Links in a chain of references followed to reach a value.
constexpr int kMaxReferenceChain = 32;
// Pictures: decoded size in pixels.
constexpr int64_t kMaxPicturePixels = 256LL * 1000 * 1000;
// A real number's magnitude in boxes, rectangles and matrices; beyond it the value is junk.
constexpr double kMaxCoordinate = 1.0e7;

} // namespace engine::limits
