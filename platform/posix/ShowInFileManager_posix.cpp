// The file manager interface (org.freedesktop.FileManager1.ShowItems) is called over GIO's
// D-Bus client. The bus is only used when one is running: GIO would otherwise try to start one
// for the X display, which is not ours to do.
#include "ShowInFileManager.h"

#include "AnsiText.h"
#include "PathText.h"
#include "ShellOpen.h"

#include <gio/gio.h>

#include <cstdlib>
#include <string>

namespace {

// How long the file manager may take to answer, in milliseconds.
const int kCallTimeout = 3000;

std::string SessionBusAddress() {
  const char *address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  if (address && *address)
    return address;
  const char *runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime) {
    const std::string socket = std::string(runtime) + "/bus";
    if (g_file_test(socket.c_str(), G_FILE_TEST_EXISTS))
      return "unix:path=" + socket;
  }
  return std::string();
}

bool AskFileManager(const std::string &uri) {
  const std::string address = SessionBusAddress();
  if (address.empty())
    return false;
  GError *error = nullptr;
  GDBusConnection *bus = g_dbus_connection_new_for_address_sync(
      address.c_str(),
      static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                        G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
      nullptr, nullptr, &error);
  if (!bus) {
    g_clear_error(&error);
    return false;
  }
  GVariantBuilder uris;
  g_variant_builder_init(&uris, G_VARIANT_TYPE("as"));
  g_variant_builder_add(&uris, "s", uri.c_str());
  GVariant *reply = g_dbus_connection_call_sync(
      bus, "org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
      "org.freedesktop.FileManager1", "ShowItems", g_variant_new("(ass)", &uris, ""), nullptr,
      G_DBUS_CALL_FLAGS_NONE, kCallTimeout, nullptr, &error);
  const bool shown = reply != nullptr;
  if (reply)
    g_variant_unref(reply);
  g_clear_error(&error);
  g_object_unref(bus);
  return shown;
}

} // namespace

bool ShowInFileManager(const std::wstring &path) {
  if (path.empty())
    return false;
  GFile *file = g_file_new_for_path(WideToUtf8(path).c_str());
  char *uri = g_file_get_uri(file);
  const bool asked = AskFileManager(uri);
  g_free(uri);
  g_object_unref(file);
  if (asked)
    return true;
  return ShellOpenAddress(ContainingFolder(path)) > 32;
}
