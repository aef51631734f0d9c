#pragma once
// Optional content (layers) of the merged files. Each source's layers are carried into the
// output's /OCProperties with the state the source gives them, so a layer hidden in its file
// stays hidden in the merge.

#include "SourceCache.h"

namespace engine {

class OptionalContent {
public:
  // Takes the layers of a source whose pages were placed (once per source).
  void Take(SourceEntry &entry);
  // The output's /OCProperties, or null when no source had layers.
  pdf::Value Build() const;

private:
  pdf::Array m_ocgs, m_off, m_order, m_radio, m_locked;
};

} // namespace engine
