#pragma once
// One run of StartMerge, step by step: count the pages, place every source's pages and
// pictures on sheets (writing each source's objects as it goes), add links, the outline and
// the layers, protect, and finish the file.

#include "MergeContext.h"
#include "MergeRequest.h"

#include <functional>
#include <string>
#include <vector>

namespace engine {

// One run: the caller's request, and what the MergerTool that runs it adds.
struct MergeSettings {
  const MergeRequest *pRequest = nullptr;
  int32_t nPagesBefore = 0; // pages counted by earlier runs of the same tool
  std::function<void(int32_t, int32_t)> progress;
  std::function<bool()> cancel;
};

struct MergeOutcome {
  bool bOk = false;
  int32_t nPagesCounted = 0;
  int32_t nFailure = 0;
  std::wstring strFailure;
  std::vector<MergeSourceNote> notices;
};

// Runs the job; nIndex >= 0 reports all progress under nIndex, -1 per source.
MergeOutcome RunMerge(const MergeSettings &settings, int32_t nIndex);

} // namespace engine
