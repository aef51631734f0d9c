#include "StagedOutput.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace engine::pdf {

namespace {
// Read without changing it: setting the mask to ask for it would race with other threads.
mode_t CurrentUmask() {
  mode_t mask = 022;
  if (FILE *pStatus = std::fopen("/proc/self/status", "r")) {
    char line[256];
    unsigned value = 0;
    while (std::fgets(line, sizeof line, pStatus))
      if (std::sscanf(line, "Umask: %o", &value) == 1)
        mask = static_cast<mode_t>(value);
    std::fclose(pStatus);
  }
  return mask;
}
} // namespace

StagedOutput::StagedOutput(const std::string &strTarget) : m_strTarget(strTarget) {
  const size_t slash = strTarget.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "" : strTarget.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? strTarget : strTarget.substr(slash + 1);
  // The temporary name adds a dot and a random suffix: the name is shortened so that the
  // temporary one fits wherever the target's name fits.
  long nNameMax = pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
  if (nNameMax <= 0)
    nNameMax = 255;
  const size_t nKeep = static_cast<size_t>(std::max(1L, nNameMax - 8));
  std::string pattern = folder + "." + name.substr(0, nKeep) + ".XXXXXX";
  const int fd = mkstemp(pattern.data());
  if (fd < 0)
    return;
  // mkstemp makes the file private; the finished output gets the usual permissions.
  fchmod(fd, 0666 & ~CurrentUmask());
  close(fd);
  m_strTemp = pattern;
}

StagedOutput::~StagedOutput() {
  if (!m_bCommitted && !m_strTemp.empty())
    std::remove(m_strTemp.c_str());
}

bool StagedOutput::Commit() {
  if (m_strTemp.empty() || std::rename(m_strTemp.c_str(), m_strTarget.c_str()) != 0)
    return false;
  m_bCommitted = true;
  return true;
}

} // namespace engine::pdf
