#include "FileIdentity.h"

#include "AnsiText.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::string Absolute(const std::string &path) {
  if (!path.empty() && path[0] == '/')
    return path;
  std::vector<char> buffer(PATH_MAX);
  if (getcwd(buffer.data(), buffer.size()) == nullptr)
    return path;
  return std::string(buffer.data()) + "/" + path;
}

// "." and ".." and repeated '/' removed from an absolute path, without asking the file system.
std::string Normalised(const std::string &path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos)
      end = path.size();
    const std::string part = path.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == ".")
      continue;
    if (part == "..") {
      if (!parts.empty())
        parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  std::string out;
  for (const std::string &part : parts)
    out += "/" + part;
  return out.empty() ? "/" : out;
}

std::string Resolved(std::string path) {
  path = Normalised(Absolute(path));
  // Links at the last part are followed by hand, so that one pointing at nothing yet still
  // says where a write would land; the folders above are left to realpath.
  for (int hop = 0; hop < 40; ++hop) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
      break;
    std::vector<char> target(PATH_MAX + 1);
    const ssize_t n = readlink(path.c_str(), target.data(), PATH_MAX);
    if (n <= 0)
      break;
    const std::string link(target.data(), static_cast<size_t>(n));
    const std::string folder = path.substr(0, path.rfind('/') + 1);
    path = Normalised(link[0] == '/' ? link : folder + link);
  }
  const size_t slash = path.rfind('/');
  const std::string folder = slash == 0 ? "/" : path.substr(0, slash);
  const std::string name = path.substr(slash + 1);
  if (name.empty())
    return path;
  if (char *real = realpath(folder.c_str(), nullptr)) {
    std::string out(real);
    std::free(real);
    return (out == "/" ? "" : out) + "/" + name;
  }
  // The folder does not exist (yet): resolve what does, keep the rest as written.
  return Resolved(folder) + "/" + name;
}

} // namespace

FileStamp ReadFileStamp(const std::wstring &path) {
  FileStamp stamp;
  struct stat info {};
  if (stat(WideToUtf8(path).c_str(), &info) != 0)
    return stamp;
  stamp.bExists = true;
  stamp.nDevice = info.st_dev;
  stamp.nInode = info.st_ino;
  stamp.nSize = info.st_size;
  stamp.nModified = static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  return stamp;
}

std::wstring ResolvedPath(const std::wstring &path) {
  return path.empty() ? path : Utf8ToWide(Resolved(WideToUtf8(path)));
}

bool IsSameFile(const std::wstring &input, const std::wstring &output) {
  if (input.empty() || output.empty())
    return false;
  const FileStamp a = ReadFileStamp(input), b = ReadFileStamp(output);
  if (a.bExists && b.bExists)
    return a.nDevice == b.nDevice && a.nInode == b.nInode;
  return ResolvedPath(input) == ResolvedPath(output);
}
