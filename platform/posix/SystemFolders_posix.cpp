#include "SystemFolders.h"

#include "AnsiText.h"
#include "PathText.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::wstring FromEnvironment(const char *name) {
  const char *value = std::getenv(name);
  return value && *value ? Utf8ToWide(value) : std::wstring();
}

std::wstring HomeFolder() {
  std::wstring home = FromEnvironment("HOME");
  return home.empty() ? L"/" : home;
}

std::wstring ConfigFolder() {
  const std::wstring folder = FromEnvironment("XDG_CONFIG_HOME");
  return !folder.empty() && folder[0] == L'/' ? folder : HomeFolder() + L"/.config";
}

bool IsFolder(const std::wstring &path) {
  struct stat info;
  return stat(WideToUtf8(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The folder that the desktop's user-dirs.dirs names for key (a line such as
// XDG_DOCUMENTS_DIR="$HOME/Documents"), when it exists; empty otherwise.
std::wstring XdgUserFolder(const std::string &key) {
  std::ifstream file(WideToUtf8(ConfigFolder() + L"/user-dirs.dirs"));
  std::string line;
  while (std::getline(file, line)) {
    if (line.compare(0, key.size() + 1, key + "=") != 0)
      continue;
    std::string value = line.substr(key.size() + 1);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    std::wstring folder = Utf8ToWide(value);
    if (folder.compare(0, 5, L"$HOME") == 0)
      folder = HomeFolder() + folder.substr(5);
    // A line naming a folder that is not there counts as no line, as for the desktop itself.
    return !folder.empty() && folder[0] == L'/' && IsFolder(folder) ? folder : std::wstring();
  }
  return std::wstring();
}

} // namespace

std::wstring GetProgramFolder() {
  char buffer[PATH_MAX + 1];
  const ssize_t length = readlink("/proc/self/exe", buffer, PATH_MAX);
  if (length <= 0)
    return L".";
  return ContainingFolder(Utf8ToWide(std::string(buffer, length)));
}

bool PathExists(const std::wstring &path) {
  struct stat info;
  return !path.empty() && stat(WideToUtf8(path).c_str(), &info) == 0;
}

void CreateFolderPath(const std::wstring &path) {
  std::wstring folder = path;
  if (!folder.empty() && folder.back() == L'/')
    folder.pop_back();
  if (folder.empty() || PathExists(folder))
    return;
  std::wstring parent;
  if (FolderOfPath(folder, &parent) && !parent.empty())
    CreateFolderPath(parent);
  mkdir(WideToUtf8(folder).c_str(), 0777);
}

std::wstring GetDocumentsFolder() {
  std::wstring folder = FromEnvironment("VANTOREL_DOCUMENTS_DIR");
  if (!folder.empty())
    return folder;
  folder = XdgUserFolder("XDG_DOCUMENTS_DIR");
  return folder.empty() ? HomeFolder() : folder;
}

std::wstring GetRoamingAppDataFolder() {
  std::wstring folder = FromEnvironment("VANTOREL_APPDATA_DIR");
  if (!folder.empty())
    return folder;
  return ConfigFolder();
}
