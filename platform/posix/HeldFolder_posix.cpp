#include "HeldFolder.h"

#include "AnsiText.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <system_error>

namespace {

// A read-only descriptor of the folder; flock works on folders as on files.
int OpenFolder(const std::string &path) {
  return ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
}

void RemoveTree(const std::string &path) {
  std::error_code error;
  std::filesystem::remove_all(std::filesystem::path(path), error);
}

} // namespace

HeldFolder::~HeldFolder() {
  if (m_fd >= 0)
    ::close(m_fd);
}

bool HeldFolder::Create(const std::wstring &parent, const std::string &prefix) {
  Remove();
  std::string pattern = WideToUtf8(parent);
  if (!pattern.empty() && pattern.back() != '/')
    pattern += '/';
  pattern += prefix + "XXXXXX";
  if (!::mkdtemp(pattern.data()))
    return false;
  const int fd = OpenFolder(pattern);
  if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (fd >= 0)
      ::close(fd);
    RemoveTree(pattern);
    return false;
  }
  m_fd = fd;
  m_path = Utf8ToWide(pattern);
  return true;
}

void HeldFolder::Remove() {
  if (!m_path.empty())
    RemoveTree(WideToUtf8(m_path)); // still held: no other run removes it meanwhile
  m_path.clear();
  if (m_fd >= 0)
    ::close(m_fd);
  m_fd = -1;
}

void RemoveAbandonedFolders(const std::wstring &parent, const std::string &prefix,
                            int minAgeSeconds) {
  std::error_code error;
  const time_t now = std::time(nullptr);
  for (const auto &entry :
       std::filesystem::directory_iterator(std::filesystem::path(WideToUtf8(parent)), error)) {
    const std::string name = entry.path().filename().string();
    if (name.compare(0, prefix.size(), prefix) != 0)
      continue;
    const std::string path = entry.path().string();
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) ||
        now - st.st_mtime < minAgeSeconds)
      continue;
    const int fd = OpenFolder(path);
    if (fd < 0)
      continue;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
      RemoveTree(path); // held by us now, so no one starts using it meanwhile
    ::close(fd);
  }
}
