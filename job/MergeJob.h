#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "CFSMSettings.h"
#include "CancelEvent.h"
#include "ItemData.h"
#include "LeftOutRows.h"
#include "MergeMessages.h"

// One merge run: a snapshot of the main window's rows and settings, the worker thread that
// merges them, and the cancel event between the two. The rows are whole copies, except that
// each copy's pszOutPath and pszPageRange point at the main window's own buffers, so the output
// paths the worker writes show in the main window's rows (which do not change while the
// progress dialog is open).
//
// Only one job runs at a time in the program; the engine itself does not need it.
//
// A job made by std::make_shared is kept alive by its worker too: Stop can then give up waiting
// for a worker that does not stop (a file system that does not answer) without the worker
// being left with a job that is gone.
struct MergeJob : std::enable_shared_from_this<MergeJob> {
  // How long Stop waits for a worker at most, in milliseconds.
  static constexpr int kStopWaitMs = 3000;

  // Copies rows (row 0 first) and settings. notify receives every notification; it may be
  // null (nothing is posted then) and must outlive the worker. Rows a merge cannot take (not
  // read, locked, still being read, or selecting no page) are marked STATUS_LOAD_FAILED in the
  // copies, so the worker skips them, and listed in vecLeftOut.
  MergeJob(MergeNotifySink *notify, std::vector<_stru_ItemData_> rows,
           const CFSMSettings &settings);
  // Stops the worker as Stop does.
  ~MergeJob();
  MergeJob(const MergeJob &) = delete;
  MergeJob &operator=(const MergeJob &) = delete;

  // Starts the worker thread at the highest normal priority the system allows. False when a
  // worker was started before or the thread could not be made.
  bool Start();
  // Asks the worker to stop at the engine's next cancel check; the job stays usable.
  void Cancel() { cancelEvent.Set(); }
  // Sets the cancel event and waits for the worker to end, for nWaitMs at most when the job
  // is shared (the wait is normally a few milliseconds: a cancelled engine stops at its next
  // check). A worker still running then is left to end on its own; from then on nothing it
  // does reaches the notify sink or the main window's buffers. A thread is never killed:
  // stopped half way, it could leave the engine's files in any state.
  void Stop(int nWaitMs = kStopWaitMs);
  // True while a started worker has not yet returned.
  bool IsRunning() const;
  // True when every row is left out (or there is none): a run would merge nothing.
  bool HasNothingToMerge() const { return vecLeftOut.size() == arrRows.size(); }
  // True when the run wrote at least one output file.
  bool MadeAnything() const;

  // Posts a notice to pNotifySink when there is one.
  void Post(uint32_t nMessage, intptr_t wParam, intptr_t lParam,
            const std::wstring &strDetail = std::wstring()) const;
  // Writes text into row nRow's shared pszOutPath buffer when the row and the buffer exist.
  void WriteOutPath(int nRow, const std::wstring &text);

  MergeNotifySink *pNotifySink; // the progress dialog, which receives every notice
  uint32_t nMsgFinished = WM_MERGE_FINISHED;
  uint32_t nMsgClose = WM_MERGE_CLOSE;
  uint32_t nMsgProgress = WM_MERGE_PROGRESS;
  CancelEvent cancelEvent; // set by Cancel, polled by the worker through the engine
  std::unique_ptr<std::thread> pThread;
  std::vector<_stru_ItemData_> arrRows;
  CFSMSettings settings;
  // The rows left out before the run, and why.
  std::vector<LeftOutRow> vecLeftOut;

  // Lines for the user gathered by the worker (refused output paths, rows that failed); sent
  // with the finished notice. Touched only by the worker while it runs.
  std::vector<std::wstring> vecNotes;
  // The worker's result: 0 done, -1 nothing to merge, -2 the single-file merge failed.
  int nThreadResult = 0;

private:
  std::atomic<bool> m_bRunning{false};
  mutable std::mutex m_lock; // between the worker's posts and Stop
  bool m_bLetGo = false;     // Stop returned: the worker posts nothing any more
  mutable std::condition_variable m_ended;
  bool m_bEnded = false;
  mutable int m_nPosting = 0; // notices being handed to the sink right now
};

// The engine's progress callback: forwards (index, percent) as the message the engine passes
// (WM_MERGE_PROGRESS) to the job's notify sink. pUserData is the job; nothing when it is null.
void MergeProgressCallback(void *pUserData, int32_t nIndex, uint32_t nMessage, int32_t nPercent);
// The engine's cancel callback: true when pUserData is a job whose cancel event is set.
bool MergeCancelCallback(void *pUserData);
