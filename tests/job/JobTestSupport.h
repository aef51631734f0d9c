#pragma once
// Rows, settings and a recording notify sink for merge job tests.

#include "CFSMSettings.h"
#include "ItemData.h"
#include "MergeMessages.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

inline std::wstring W(const std::string &text) { return std::wstring(text.begin(), text.end()); }

// A row as the file list makes it: its own output buffer, a range buffer when range is given.
inline _stru_ItemData_ MakeRow(const std::string &path, int pages, const wchar_t *range = nullptr,
                               int status = STATUS_READY) {
  static int id = 0;
  _stru_ItemData_ row;
  row.nItemID = ++id;
  row.szFilePath = W(path);
  row.pszOutPath = std::make_shared<std::wstring>();
  row.nTotalPage = pages;
  if (range)
    row.pszPageRange = std::make_shared<std::wstring>(range);
  row.nStatus = status;
  return row;
}

inline CFSMSettings MakeSettings(const std::string &folder, int mergeOn, int nUp = 0,
                                 const wchar_t *name = L"FirstFileName_LastFileName") {
  CFSMSettings settings;
  settings.OutputFolder = W(folder);
  settings.bMergeOn = mergeOn;
  settings.nNUp = nUp;
  settings.nPaperSize = 1;
  settings.nOrientation = 0;
  settings.strOutputFileName = name;
  return settings;
}

// Records every notice; onNotice, when set, runs first on the posting thread.
class RecordingSink : public MergeNotifySink {
public:
  void PostMergeNotice(const MergeNotice &notice) override {
    if (onNotice)
      onNotice(notice);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_notices.push_back(notice);
    m_changed.notify_all();
  }
  // Waits up to a minute for the finished notice; false when none came.
  bool WaitFinished() {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::minutes(1), [this] { return FindFinished(); });
  }
  std::vector<MergeNotice> Notices() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_notices;
  }
  std::vector<int> Percents() {
    std::vector<int> percents;
    for (const MergeNotice &n : Notices())
      if (n.nMessage == WM_MERGE_PROGRESS)
        percents.push_back(static_cast<int>(n.lParam));
    return percents;
  }
  // The finished notice (which must be the last one), or a notice with message 0.
  MergeNotice Finished() {
    std::lock_guard<std::mutex> lock(m_mutex);
    const MergeNotice *found = FindFinished();
    return found ? *found : MergeNotice();
  }
  int FinishedCount() {
    int count = 0;
    for (const MergeNotice &n : Notices())
      count += n.nMessage == WM_MERGE_FINISHED;
    return count;
  }

  std::function<void(const MergeNotice &)> onNotice;

private:
  const MergeNotice *FindFinished() const {
    for (const MergeNotice &n : m_notices)
      if (n.nMessage == WM_MERGE_FINISHED)
        return &n;
    return nullptr;
  }
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::vector<MergeNotice> m_notices;
};
