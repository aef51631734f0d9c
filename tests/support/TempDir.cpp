#include "support/TempDir.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vantorel-test-XXXXXX").string();
  if (!mkdtemp(pattern.data()))
    throw std::runtime_error("cannot create a temporary folder");
  m_path = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  // Read-only folders made by tests must not keep their contents alive.
  std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(m_path, ec);
}

std::string ReadFileBytes(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteFileBytes(const std::string &path, const std::string &bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

bool FileExists(const std::string &path) { return std::filesystem::exists(path); }

std::map<std::string, std::string> FolderContents(const std::string &folder) {
  std::map<std::string, std::string> entries;
  for (const auto &entry : std::filesystem::directory_iterator(folder))
    entries[entry.path().filename()] = entry.is_symlink()
                                           ? std::filesystem::read_symlink(entry).string() + " <-"
                                           : ReadFileBytes(entry.path());
  return entries;
}

std::string RunCommand(const std::string &command, int *status) {
  std::string output;
  FILE *pipe = popen(command.c_str(), "r");
  if (!pipe) {
    if (status)
      *status = -1;
    return output;
  }
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
    output.append(buffer, n);
  int rc = pclose(pipe);
  if (status)
    *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  return output;
}
