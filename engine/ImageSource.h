#pragma once
// Pictures as sources: turned into an image XObject of the output document.

#include "SourceCache.h"

#include <string>

namespace engine {

// Loads the picture at strPath into rDoc; on success the entry holds the image and its size
// and its load state becomes 1. A picture that cannot be read leaves the entry as it was.
void LoadImageSource(OutputDocument &rDoc, const std::wstring &strPath, SourceEntry &entry);

} // namespace engine
