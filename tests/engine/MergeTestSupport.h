#pragma once
// Running a whole merge job in tests: progress recording and a cancel switch.

#include "MergerTool.h"

#include <string>
#include <vector>

struct MergeRecorder {
  std::vector<int> percents;
  std::vector<int> indexes;
  int cancelAfter = -1; // cancel once this many reports were made; -1 never
  int cancelCalls = 0;

  static void Progress(void *user, int32_t index, uint32_t message, int32_t percent) {
    auto *self = static_cast<MergeRecorder *>(user);
    if (message == WM_MERGE_PROGRESS) {
      self->percents.push_back(percent);
      self->indexes.push_back(index);
    }
  }
  static bool Cancel(void *user) {
    auto *self = static_cast<MergeRecorder *>(user);
    ++self->cancelCalls;
    return self->cancelAfter >= 0 && static_cast<int>(self->percents.size()) >= self->cancelAfter;
  }
};

inline std::wstring Wide(const std::string &text) { return std::wstring(text.begin(), text.end()); }

// A file to merge and its range text (null: all its pages).
struct MergeInput {
  std::string path;
  const char *range = nullptr;
};

// Lists the inputs on `job`, each with the page count a probe finds, and merges them onto A4
// sheets of the N-up code `nup` into `out`. StartMerge's result.
inline bool MergeOntoA4(MergerTool &job, const std::string &out,
                        const std::vector<MergeInput> &inputs, int nup = 0) {
  job.SetLayout(PAPER_A4, nup, 0);
  int index = 0;
  for (const MergeInput &input : inputs)
    job.AppendMergeSrc(index++, Wide(input.path).c_str(),
                       MergerTool::GetPdfInfo(Wide(input.path).c_str()), input.range, nullptr);
  job.SetOutPDFPath(Wide(out).c_str());
  return job.StartMerge(0);
}
