#include "SystemFolders.h"

#include "AnsiText.h"
#include "PathText.h"

#include <wx/app.h>
#include <wx/stdpaths.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
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
  // wx reads the XDG user folders; it needs the application object for that.
  if (wxApp::GetTraitsIfExists())
    folder = wxStandardPaths::Get().GetDocumentsDir().ToStdWstring();
  return folder.empty() ? HomeFolder() : folder;
}

std::wstring GetRoamingAppDataFolder() {
  std::wstring folder = FromEnvironment("VANTOREL_APPDATA_DIR");
  if (!folder.empty())
    return folder;
  // Read directly rather than through wx: the update check asks from its worker thread.
  folder = FromEnvironment("XDG_CONFIG_HOME");
  if (!folder.empty() && folder[0] == L'/')
    return folder;
  return HomeFolder() + L"/.config";
}
