// Showing a path in the file manager: the folder of a path, and the ShowItems call as a file
// manager on a private session bus receives it.
#include "AnsiText.h"
#include "ShowInFileManager.h"
#include "support/TempDir.h"

#include <gio/gio.h>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <mutex>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

const char kInterface[] = "<node><interface name='org.freedesktop.FileManager1'>"
                          "<method name='ShowItems'><arg type='as' direction='in'/>"
                          "<arg type='s' direction='in'/></method>"
                          "</interface></node>";

// A file manager on its own thread that records the URIs it is asked to show.
class FakeFileManager {
public:
  explicit FakeFileManager(const std::string &address) : m_address(address) {
    m_thread = std::thread([this] { Run(); });
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait_for(lock, std::chrono::seconds(10), [this] { return m_ready; });
  }
  ~FakeFileManager() {
    if (m_loop)
      g_main_loop_quit(m_loop);
    m_thread.join();
  }
  bool Ready() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_owned;
  }
  std::vector<std::string> Uris() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_uris;
  }

private:
  void Run() {
    GMainContext *context = g_main_context_new();
    g_main_context_push_thread_default(context);
    m_loop = g_main_loop_new(context, FALSE);
    GDBusConnection *bus = g_dbus_connection_new_for_address_sync(
        m_address.c_str(),
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, nullptr);
    if (bus) {
      GDBusNodeInfo *node = g_dbus_node_info_new_for_xml(kInterface, nullptr);
      static const GDBusInterfaceVTable vtable = {&FakeFileManager::OnCall, nullptr, nullptr, {}};
      g_dbus_connection_register_object(bus, "/org/freedesktop/FileManager1", node->interfaces[0],
                                        &vtable, this, nullptr, nullptr);
      // Owning the name is a call of our own: when it returns the name is ours.
      GVariant *reply = g_dbus_connection_call_sync(
          bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
          "RequestName", g_variant_new("(su)", "org.freedesktop.FileManager1", 0u), nullptr,
          G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
      {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_owned = reply != nullptr;
      }
      if (reply)
        g_variant_unref(reply);
      g_dbus_node_info_unref(node);
    }
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_ready = true;
      m_changed.notify_all();
    }
    if (bus)
      g_main_loop_run(m_loop);
    if (bus)
      g_object_unref(bus);
    g_main_context_pop_thread_default(context);
    g_main_loop_unref(m_loop);
    g_main_context_unref(context);
  }
  static void OnCall(GDBusConnection *, const char *, const char *, const char *,
                     const char *method, GVariant *parameters, GDBusMethodInvocation *invocation,
                     gpointer self) {
    auto *manager = static_cast<FakeFileManager *>(self);
    if (g_strcmp0(method, "ShowItems") == 0) {
      GVariantIter *uris = nullptr;
      const char *startup = nullptr;
      g_variant_get(parameters, "(as&s)", &uris, &startup);
      const char *uri = nullptr;
      std::lock_guard<std::mutex> lock(manager->m_mutex);
      while (g_variant_iter_next(uris, "&s", &uri))
        manager->m_uris.push_back(uri);
      g_variant_iter_free(uris);
    }
    g_dbus_method_invocation_return_value(invocation, nullptr);
  }

  std::string m_address;
  std::thread m_thread;
  GMainLoop *m_loop = nullptr;
  std::mutex m_mutex;
  std::condition_variable m_changed;
  bool m_ready = false;
  bool m_owned = false;
  std::vector<std::string> m_uris;
};

// A private session bus, stopped and reaped when the object goes.
class PrivateBus {
public:
  PrivateBus() {
    char *argv[] = {const_cast<char *>("dbus-daemon"), const_cast<char *>("--session"),
                    const_cast<char *>("--nofork"), const_cast<char *>("--print-address=1"),
                    nullptr};
    int out = -1;
    if (!g_spawn_async_with_pipes(
            nullptr, argv, nullptr,
            static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD), nullptr,
            nullptr, &m_pid, nullptr, &out, nullptr, nullptr))
      return;
    char c = 0;
    while (read(out, &c, 1) == 1 && c != '\n')
      address += c;
    close(out);
  }
  ~PrivateBus() {
    if (m_pid > 0) {
      kill(m_pid, SIGTERM);
      waitpid(m_pid, nullptr, 0);
    }
  }
  std::string address;

private:
  GPid m_pid = 0;
};

TEST(ShowInFileManager, AsksTheFileManagerOnTheSessionBus) {
  PrivateBus bus;
  if (bus.address.empty())
    GTEST_SKIP() << "no dbus-daemon";
  const std::string address = bus.address;

  const char *previous = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  const std::string saved = previous ? previous : "";
  setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
  {
    FakeFileManager manager(address);
    ASSERT_TRUE(manager.Ready());
    TempDir dir;
    const std::string file = dir.file("a b\xc3\xa9.pdf");
    WriteFileBytes(file, "x");
    EXPECT_TRUE(ShowInFileManager(Utf8ToWide(file)));
    const std::vector<std::string> uris = manager.Uris();
    ASSERT_EQ(uris.size(), 1u);
    EXPECT_EQ(uris[0], "file://" + dir.path() + "/a%20b%C3%A9.pdf");
  }
  if (previous)
    setenv("DBUS_SESSION_BUS_ADDRESS", saved.c_str(), 1);
  else
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
}

} // namespace
