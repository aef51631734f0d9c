#pragma once
#include <cstdint>
#include <string>

#include "MergerTool.h" // WM_MERGE_PROGRESS

// The merge worker's notifications to its progress dialog, numbered like the window messages
// they stand for. WM_MERGE_PROGRESS (1226) comes from the engine, which passes it to the
// progress callback.
constexpr uint32_t WM_MERGE_FINISHED = 0x0400 + 200; // wParam 1 success, 0 failure or cancel
constexpr uint32_t WM_MERGE_CLOSE = 0x0400 + 201;    // close the progress dialog

// One notification: the message number, its two parameters and, with WM_MERGE_FINISHED, what
// the user should be told besides the outcome (refused output paths, rows that failed; one
// line each, empty when there is nothing to add).
struct MergeNotice {
  uint32_t nMessage = 0;
  intptr_t wParam = 0;
  intptr_t lParam = 0;
  std::wstring strDetail;
};

// Receives the worker's notifications. Called on the worker's thread: an implementation only
// passes the notice on to its own thread (the dialog queues it as an event).
class MergeNotifySink {
public:
  virtual ~MergeNotifySink() = default;
  virtual void PostMergeNotice(const MergeNotice &notice) = 0;
};
