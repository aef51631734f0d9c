#include "ImageSource.h"

namespace engine {

void LoadImageSource(OutputDocument &, const std::wstring &, SourceEntry &) {
  // Pictures are not supported yet: the source is skipped like one that fails to load.
}

} // namespace engine
