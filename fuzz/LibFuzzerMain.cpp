// One libFuzzer target: FUZZ_TARGET names the entry point (a compile definition).
#include "FuzzEntries.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t nSize) {
  static const fuzz::Target *pTarget = fuzz::FindTarget(FUZZ_TARGET);
  if (pTarget == nullptr)
    std::abort();
  return pTarget->entry(pData, nSize);
}
