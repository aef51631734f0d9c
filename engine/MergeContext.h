#pragma once
// What every step of a merge run shares: the output being made, the cancel test, and the
// record of what was repaired or left out.

#include "ObjectCopier.h"
#include "OutputBuilder.h"
#include "SharedObjects.h"

#include <functional>
#include <string>
#include <vector>

namespace engine {

// Thrown inside a run when the cancel callback says stop; never leaves StartMerge.
struct MergeCancelled {};

// Thrown inside a run for a failure that ends it; the text says what and where.
struct MergeFailed {
  int nCode;
  std::wstring strText;
};

struct RunNotice {
  int nSource = -1; // position in the source list
  int nPage = 0;    // 1-based page of that source; 0 for the whole source
  bool bSkipped = false;
  std::wstring strText;
};

struct MergeContext {
  OutputBuilder &out;
  std::function<bool()> cancelQuery; // the caller's cancel callback
  CopiedFeatures features;
  std::vector<RunNotice> notices;
  int nHighestVersion = 14;
  bool bCancelled = false;
  SharedObjects shared; // objects written once for every source that holds them

  // Asks the caller once more unless it already said stop.
  bool Cancelled() {
    if (!bCancelled && cancelQuery)
      bCancelled = cancelQuery();
    return bCancelled;
  }
  void CheckCancel() {
    if (Cancelled())
      throw MergeCancelled();
  }
};

} // namespace engine
