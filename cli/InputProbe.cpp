#include "InputProbe.h"

#include "AnsiText.h"
#include "MergerTool.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <thread>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool EndsWith(const std::string &path, const char *ending) {
  const std::string end(ending);
  if (path.size() < end.size())
    return false;
  for (size_t i = 0; i < end.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(path[path.size() - end.size() + i])) != end[i])
      return false;
  return true;
}

bool IsPicture(const std::string &path) {
  for (const char *ending : {".jpg", ".jpeg", ".png", ".bmp", ".tif", ".tiff"})
    if (EndsWith(path, ending))
      return true;
  return false;
}

} // namespace

ProbeResult ProbeInput(const std::string &path) {
  ProbeResult result;
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) {
    result.reason = "no such file";
    return result;
  }
  if (S_ISDIR(info.st_mode)) {
    result.reason = "is a folder, not a file";
    return result;
  }
  if (access(path.c_str(), R_OK) != 0) {
    result.reason = "cannot be read (permission denied)";
    return result;
  }
  if (IsPicture(path)) {
    if (!MergerTool::GetImageInfo(Utf8ToWide(path).c_str(), nullptr, nullptr)) {
      result.reason = "not a readable picture (damaged, cut short, or not the kind its name says)";
      return result;
    }
    result.ok = true;
    result.pageCount = 1;
    return result;
  }
  if (!EndsWith(path, ".pdf")) {
    result.reason = "unsupported file type (expected .pdf, .jpg, .jpeg, .png, .bmp, .tif or .tiff)";
    return result;
  }
  const int32_t pages = MergerTool::GetPdfInfo(Utf8ToWide(path).c_str());
  if (pages < 0) {
    result.reason = "not a readable PDF (damaged, not a PDF, or needs a password)";
    return result;
  }
  result.ok = true;
  result.pageCount = pages;
  return result;
}

std::vector<ProbeResult> ProbeInputs(const std::vector<std::string> &paths) {
  // Reading a PDF is the probe's whole cost and files are independent: one reader per core.
  std::vector<ProbeResult> results(paths.size());
  std::atomic<size_t> next{0};
  auto work = [&] {
    for (size_t i = next++; i < paths.size(); i = next++)
      results[i] = ProbeInput(paths[i]);
  };
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  std::vector<std::thread> workers;
  for (unsigned n = 1; n < std::min<size_t>(cores, paths.size()); ++n)
    workers.emplace_back(work);
  work();
  for (std::thread &worker : workers)
    worker.join();
  return results;
}

bool SameFile(const std::string &existing, const std::string &other) {
  struct stat a {}, b {};
  if (stat(existing.c_str(), &a) != 0 || stat(other.c_str(), &b) != 0)
    return false;
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}
