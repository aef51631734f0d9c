#pragma once
// The entry points the fuzz targets and the regression replay share: one per decoder, one for
// object streams, one for cross-reference sections and one for the whole reader with a merge.
// Each takes any bytes and must return without a crash, a hang or undefined behaviour.

#include <cstddef>
#include <cstdint>

namespace fuzz {

using Entry = int (*)(const uint8_t *pData, size_t nSize);

struct Target {
  const char *name; // also the folder of its seeds and regressions under fuzz/
  Entry entry;
};

// Every target, ending with {nullptr, nullptr}.
const Target *Targets();
// The target of a name, or null.
const Target *FindTarget(const char *pszName);

} // namespace fuzz
