#pragma once
// Pictures as sources: each becomes an image XObject of the output.

#include "SourceCache.h"

#include <string>

namespace engine {

// A file whose bytes are JPEG, whatever its name: embedded without conversion.
bool IsDirectJpeg(const std::wstring &strPath);

// The pixel size of a picture from its header, or false with the reason (too large, not a
// picture of the four kinds by its bytes, cut short, a JPEG of other than 8 bits) in strReason.
bool ReadPictureSize(const std::wstring &strPath, int &nWidth, int &nHeight,
                     std::wstring &strReason);

// Writes the picture at strPath as an image of the output; on success the entry holds the
// image, its pixel size and its EXIF orientation, and its load state becomes 1. Otherwise the
// entry's strFailure says why.
void LoadImageSource(MergeContext &context, const std::wstring &strPath, SourceEntry &entry);

} // namespace engine
