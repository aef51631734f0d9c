#include "MergeJob.h"

#include "MergeWorker.h"
#include "ThreadPriority.h"

#include <chrono>
#include <system_error>

MergeJob::MergeJob(MergeNotifySink *notify, std::vector<_stru_ItemData_> rows,
                   const CFSMSettings &settingsToCopy)
    : pNotifySink(notify), arrRows(std::move(rows)), settings(settingsToCopy),
      vecLeftOut(FindLeftOutRows(arrRows)) {
  for (const LeftOutRow &left : vecLeftOut)
    arrRows[left.nRow].nStatus = STATUS_LOAD_FAILED;
}

MergeJob::~MergeJob() { Stop(); }

bool MergeJob::Start() {
  if (pThread)
    return false;
  m_bRunning = true;
  m_bEnded = false;
  // The worker holds the job when it can, so that it may outlive a Stop that stopped waiting.
  std::shared_ptr<MergeJob> keep = weak_from_this().lock();
  try {
    pThread = std::make_unique<std::thread>([this, keep] {
      RaiseCurrentThreadPriority();
      try {
        nThreadResult = RunMergeWorker(*this);
      } catch (...) {
        // Whatever went wrong ends as a failed run, never as the end of the program; the
        // dialog waits for this notice.
        nThreadResult = -2;
        Post(nMsgFinished, 0, 0, L"The merge stopped on an unexpected error.");
      }
      m_bRunning = false;
      std::lock_guard<std::mutex> lock(m_lock);
      m_bEnded = true;
      m_ended.notify_all();
    });
  } catch (const std::system_error &) {
    m_bRunning = false;
    return false;
  }
  return true;
}

void MergeJob::Stop(int nWaitMs) {
  if (!pThread)
    return;
  Cancel();
  if (pThread->get_id() == std::this_thread::get_id()) {
    pThread->detach(); // the worker let go of the job last: it is ending anyway
    pThread.reset();
    return;
  }
  bool bEnded = true;
  {
    std::unique_lock<std::mutex> lock(m_lock);
    if (!weak_from_this().expired())
      bEnded = m_ended.wait_for(lock, std::chrono::milliseconds(nWaitMs),
                                [this] { return m_bEnded && m_nPosting == 0; });
    m_bLetGo = true; // no notice starts from now on
  }
  if (bEnded && pThread->joinable())
    pThread->join();
  else if (pThread->joinable())
    pThread->detach();
  pThread.reset();
}

bool MergeJob::IsRunning() const { return m_bRunning; }

bool MergeJob::MadeAnything() const {
  // Both kinds of run mark what they wrote: the single file on row 0, each file on its row.
  for (const _stru_ItemData_ &row : arrRows)
    if (row.nStatus == STATUS_SUCCESS)
      return true;
  return false;
}

void MergeJob::Post(uint32_t nMessage, intptr_t wParam, intptr_t lParam,
                    const std::wstring &strDetail) const {
  {
    std::lock_guard<std::mutex> lock(m_lock);
    if (!pNotifySink || m_bLetGo)
      return;
    ++m_nPosting;
  }
  struct Done {
    const MergeJob &job;
    ~Done() {
      std::lock_guard<std::mutex> lock(job.m_lock);
      --job.m_nPosting;
      job.m_ended.notify_all();
    }
  } done{*this};
  MergeNotice notice;
  notice.nMessage = nMessage;
  notice.wParam = wParam;
  notice.lParam = lParam;
  notice.strDetail = strDetail;
  pNotifySink->PostMergeNotice(notice);
}

void MergeJob::WriteOutPath(int nRow, const std::wstring &text) {
  std::lock_guard<std::mutex> lock(m_lock);
  if (m_bLetGo || nRow < 0 || static_cast<size_t>(nRow) >= arrRows.size())
    return;
  if (const auto &buffer = arrRows[static_cast<size_t>(nRow)].pszOutPath)
    *buffer = text;
}

void MergeProgressCallback(void *pUserData, int32_t nIndex, uint32_t nMessage, int32_t nPercent) {
  if (pUserData)
    static_cast<MergeJob *>(pUserData)->Post(nMessage, nIndex, nPercent);
}

bool MergeCancelCallback(void *pUserData) {
  return pUserData && static_cast<MergeJob *>(pUserData)->cancelEvent.IsSignalled();
}
