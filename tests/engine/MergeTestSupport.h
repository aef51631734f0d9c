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
