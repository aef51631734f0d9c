#include "InputProbe.h"

#include "AnsiText.h"
#include "MergerTool.h"

#include <algorithm>
#include <thread>

namespace {

bool Stopped(void *pStop) { return pStop && *static_cast<const std::atomic<bool> *>(pStop); }

} // namespace

ProbeResult ProbeInput(const ProbeRequest &request, const std::atomic<bool> *pStop) {
  ProbeResult result;
  int32_t status = PROBE_OK;
  std::wstring reason;
  const int32_t pages = MergerTool::ProbeSource(Utf8ToWide(request.path).c_str(), request.password,
                                                &status, &reason, &result.size, &result.modified,
                                                Stopped, const_cast<std::atomic<bool> *>(pStop));
  result.probed = status != PROBE_CANCELLED;
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
      results[i] = ProbeInput(requests[i], pStop);
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
