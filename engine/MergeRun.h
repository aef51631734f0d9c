#pragma once
// One run of StartMerge, step by step: count the pages, place every source's pages and
// pictures on sheets (writing each source's objects as it goes), add links, the outline and
// the layers, protect, and finish the file.

#include "MergeContext.h"
#include "MergerTool.h"

#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

namespace engine {

struct MergeSettings {
  const std::list<std::unique_ptr<MergeSrc>> *pSources = nullptr;
  double dWidth = 595, dHeight = 842;
  int nNUp = 0, nOrientation = 0;
  bool bBookmarks = true;
  bool bObjectStreams = false;
  bool bFlattenForms = false;
  bool bSkipBadSources = true; // false: a source that cannot be used fails the run
  bool bProtect = false;
  std::string strUserPwd, strOwnerPwd;
  int nPermissions = 0, nEncryption = 0;
  std::wstring strOutPath;
  int32_t nPagesBefore = 0; // pages counted by earlier runs of the same job
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
