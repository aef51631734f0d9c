#include "InputProbe.h"

#include "AnsiText.h"
#include "FileIdentity.h"
#include "MergerTool.h"

#include <algorithm>
#include <thread>

ProbeResult ProbeInput(const ProbeRequest &request) {
  ProbeResult result;
  result.probed = true;
  int32_t status = PROBE_OK;
  std::wstring reason;
  const std::wstring path = Utf8ToWide(request.path);
  // Taken before the file is read: a change while it is read then shows as one after it.
  const FileStamp stamp = ReadFileStamp(path);
  result.size = stamp.nSize;
  result.modified = stamp.nModified;
  const int32_t pages = MergerTool::ProbeSource(path.c_str(), request.password, &status, &reason);
  if (pages < 0) {
    result.reason = WideToUtf8(reason);
    return result;
  }
  result.ok = true;
  result.pageCount = pages;
  return result;
}

std::vector<ProbeResult> ProbeInputs(const std::vector<ProbeRequest> &requests,
                                     const std::atomic<bool> *pStop) {
  // Reading a PDF is the probe's whole cost and files are independent: one reader per core.
  std::vector<ProbeResult> results(requests.size());
  std::atomic<size_t> next{0};
  auto work = [&] {
    for (size_t i = next++; i < requests.size(); i = next++) {
      if (pStop != nullptr && *pStop)
        return;
      results[i] = ProbeInput(requests[i]);
    }
  };
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  std::vector<std::thread> workers;
  for (unsigned n = 1; n < std::min<size_t>(cores, requests.size()); ++n)
    workers.emplace_back(work);
  work();
  for (std::thread &worker : workers)
    worker.join();
  return results;
}
