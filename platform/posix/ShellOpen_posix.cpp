// Shell opening through GIO, the desktop's own registry of handlers (desktop entries and
// mimeapps.list). GIO's errors are mapped to the ShellExecute codes by meaning.
#include "ShellOpen.h"

#include "AnsiText.h"

#include <gio/gio.h>

#include <cerrno>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// ShellExecute's SE_ERR codes, the ones that have a meaning here.
const int kFileNotFound = 2;
const int kPathNotFound = 3;
const int kAccessDenied = 5;
const int kAssociationIncomplete = 27;
const int kNoAssociation = 31;

// Scheme names are at least two characters, so a Windows-style "C:" path is not one.
bool HasScheme(const std::string &address) {
  const char *scheme = g_uri_peek_scheme(address.c_str());
  const bool found = scheme && std::char_traits<char>::length(scheme) > 1;
  return found;
}

std::string ParentFolder(const std::string &path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos)
    return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// A code for a local path that cannot be opened, 0 when it can be.
int CheckLocalPath(const std::string &path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) {
    if (errno == EACCES)
      return kAccessDenied;
    struct stat parent;
    return stat(ParentFolder(path).c_str(), &parent) == 0 ? kFileNotFound : kPathNotFound;
  }
  if (access(path.c_str(), R_OK) != 0)
    return kAccessDenied;
  return 0;
}

int CodeForError(const GError *error) {
  if (!error)
    return kAssociationIncomplete;
  if (error->domain == G_IO_ERROR) {
    switch (error->code) {
    case G_IO_ERROR_NOT_FOUND:
      return kFileNotFound;
    case G_IO_ERROR_PERMISSION_DENIED:
      return kAccessDenied;
    case G_IO_ERROR_NOT_SUPPORTED:
    case G_IO_ERROR_FAILED:
      // GIO says "No application is registered as handling this file" this way.
      return kNoAssociation;
    default:
      return kAssociationIncomplete;
    }
  }
  if (error->domain == G_SPAWN_ERROR) {
    switch (error->code) {
    case G_SPAWN_ERROR_NOENT:
      return kFileNotFound;
    case G_SPAWN_ERROR_ACCES:
    case G_SPAWN_ERROR_PERM:
      return kAccessDenied;
    default:
      return kAssociationIncomplete;
    }
  }
  return kAssociationIncomplete;
}

} // namespace

int ShellOpenAddress(const std::wstring &address) {
  std::string target = WideToUtf8(address);
  if (target.empty())
    return kFileNotFound;
  std::string uri;
  if (HasScheme(target)) {
    uri = target;
  } else {
    if (const int code = CheckLocalPath(target))
      return code;
    GFile *file = g_file_new_for_path(target.c_str());
    char *fileUri = g_file_get_uri(file);
    uri = fileUri;
    g_free(fileUri);
    g_object_unref(file);
  }
  GError *error = nullptr;
  if (g_app_info_launch_default_for_uri(uri.c_str(), nullptr, &error))
    return kShellOpenSuccess;
  const int code = CodeForError(error);
  g_clear_error(&error);
  return code;
}

bool GetDefaultHtmlCommand(std::wstring *commandLine) {
  GAppInfo *info = g_app_info_get_default_for_type("text/html", FALSE);
  if (!info)
    return false;
  const char *command = g_app_info_get_commandline(info);
  const bool found = command && *command;
  if (found && commandLine)
    *commandLine = Utf8ToWide(command);
  g_object_unref(info);
  return found;
}

int StartCommandLine(const std::wstring &commandLine, const std::wstring &extraArgument) {
  int argc = 0;
  char **argv = nullptr;
  if (!g_shell_parse_argv(WideToUtf8(commandLine).c_str(), &argc, &argv, nullptr))
    return 0;
  GPtrArray *words = g_ptr_array_new();
  for (int i = 0; i < argc; ++i)
    g_ptr_array_add(words, argv[i]);
  std::string extra = WideToUtf8(extraArgument);
  g_ptr_array_add(words, extra.data());
  g_ptr_array_add(words, nullptr);
  GError *error = nullptr;
  const gboolean started = g_spawn_async(nullptr, reinterpret_cast<char **>(words->pdata), nullptr,
                                         G_SPAWN_SEARCH_PATH, nullptr, nullptr, nullptr, &error);
  g_ptr_array_free(words, TRUE);
  g_strfreev(argv);
  if (started)
    return kShellOpenSuccess;
  const int code = CodeForError(error);
  g_clear_error(&error);
  return code;
}
