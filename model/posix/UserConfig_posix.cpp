#include "UserConfig.h"

#include "AnsiText.h"
#include "PathText.h"
#include "SystemFolders.h"

#include <wx/fileconf.h>
#include <wx/log.h>

#include <cstdlib>

std::wstring UserConfigPath() {
  const char *path = std::getenv("VANTOREL_CONFIG_FILE");
  if (path && *path)
    return Utf8ToWide(path);
  std::wstring folder;
  const char *xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && *xdg == '/') {
    folder = Utf8ToWide(xdg);
  } else {
    const char *home = std::getenv("HOME");
    folder = Utf8ToWide(home && *home ? home : "/") + L"/.config";
  }
  return folder + L"/vantorel/registry.conf";
}

std::shared_ptr<wxConfigBase> OpenUserConfig() {
  // The file's own complaints (unreadable, lines ignored) must not reach the user.
  wxLogNull quiet;
  const wxString path(UserConfigPath());
  auto config = std::make_shared<wxFileConfig>(wxT("Vantorel"), wxEmptyString, path, wxEmptyString,
                                               wxCONFIG_USE_LOCAL_FILE);
  // Nothing is written behind the program's back when the object goes away.
  config->DisableAutoSave();
  return config;
}

bool FlushUserConfig(wxConfigBase &config) {
  wxLogNull quiet;
  // wxFileConfig writes a temporary file beside the old one and renames it over it, so a
  // failed save leaves the previous file as it was. Its folder may not exist yet.
  std::wstring folder;
  if (FolderOfPath(UserConfigPath(), &folder))
    CreateFolderPath(folder);
  return config.Flush();
}
