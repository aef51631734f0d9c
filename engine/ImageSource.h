#pragma once
// Pictures as sources: turned into an image XObject of the output document.

#include "SourceCache.h"

#include <string>

namespace engine {

// A path ending in ".jpg" or "jpeg", in any case: embedded without conversion.
bool IsDirectJpeg(const std::wstring &strPath);

// Loads the picture at strPath into rDoc; on success the entry holds the image, its pixel size
// and its EXIF orientation, and its load state becomes 1. A picture that cannot be read, a
// JPEG cut short or a file that only pretends to be a picture leaves the entry as it was.
void LoadImageSource(OutputDocument &rDoc, const std::wstring &strPath, SourceEntry &entry,
                     ImageEncoder &encoder);

} // namespace engine
