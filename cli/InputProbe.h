#pragma once
// Checks an input before anything is merged, with a reason a user can act on.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

struct ProbeRequest {
  std::string path;
  const char *password = nullptr; // opens an encrypted PDF; null: none
};

struct ProbeResult {
  bool ok = false;
  bool probed = false; // false when the probing was cancelled before this input
  int pageCount = 0;   // pages of a PDF; 1 for a picture
  std::string reason;  // why the file cannot be used
  int64_t size = -1;   // the file as it was probed: size and modification time (ns)
  int64_t modified = 0;
};

// Probes one input: it must exist, be a readable file, and be a PDF (".pdf") that opens or a
// picture (".jpg", ".jpeg", ".png", ".bmp", ".tif", ".tiff") whose header reads. Gives up soon
// after *pStop (when given) becomes true: the result is then not probed.
ProbeResult ProbeInput(const ProbeRequest &request, const std::atomic<bool> *pStop = nullptr);

// Probes every input, several at a time; the results are in the order of the requests. Once
// *pStop is true, the probes running give up and no new one starts.
std::vector<ProbeResult> ProbeInputs(const std::vector<ProbeRequest> &requests,
                                     const std::atomic<bool> *pStop = nullptr);
