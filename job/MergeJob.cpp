#include "MergeJob.h"

#include "MergeWorker.h"
#include "ThreadPriority.h"

#include <system_error>

MergeJob::MergeJob(MergeNotifySink *notify, std::vector<_stru_ItemData_> rows,
                   const CFSMSettings &settingsToCopy)
    : pNotifySink(notify), arrRows(std::move(rows)), settings(settingsToCopy) {}

MergeJob::~MergeJob() { Stop(); }

bool MergeJob::Start() {
  if (pThread)
    return false;
  m_bRunning = true;
  try {
    pThread = std::make_unique<std::thread>([this] {
      RaiseCurrentThreadPriority();
      nThreadResult = RunMergeWorker(*this);
      m_bRunning = false;
    });
  } catch (const std::system_error &) {
    m_bRunning = false;
    return false;
  }
  return true;
}

void MergeJob::Stop() {
  if (!pThread)
    return;
  Cancel();
  if (pThread->joinable())
    pThread->join();
  pThread.reset();
}

bool MergeJob::IsRunning() const { return m_bRunning; }

void MergeJob::Post(uint32_t nMessage, intptr_t wParam, intptr_t lParam,
                    const std::wstring &strDetail) const {
  if (!pNotifySink)
    return;
  MergeNotice notice;
  notice.nMessage = nMessage;
  notice.wParam = wParam;
  notice.lParam = lParam;
  notice.strDetail = strDetail;
  pNotifySink->PostMergeNotice(notice);
}

void MergeJob::WriteOutPath(int nRow, const std::wstring &text) {
  if (nRow < 0 || static_cast<size_t>(nRow) >= arrRows.size())
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
