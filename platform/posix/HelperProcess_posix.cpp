// The helper talks through one socket pair instead of two pipes: a socket can be written with
// MSG_NOSIGNAL, so a helper that died makes a write fail instead of killing this process with
// SIGPIPE. posix_spawn keeps the start safe in a process with threads (no code runs between
// fork and exec).
#include "HelperProcess.h"

#include "FileDescriptor.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

HelperProcess::~HelperProcess() { Stop(); }

bool HelperProcess::Start(const std::string &path) {
  Stop();
  int fds[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0)
    return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 0);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  // Nothing else of ours (the display connection, open sources) goes to the helper.
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  // The helper starts with the default signal handling, whatever this process has set.
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t all, none;
  sigfillset(&all);
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attr, &all);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  char *argv[] = {const_cast<char *>(path.c_str()), nullptr};
  pid_t pid = -1;
  const int error = posix_spawn(&pid, path.c_str(), &actions, &attr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attr);
  close(fds[1]);
  if (error != 0) {
    close(fds[0]);
    return false;
  }
  m_pid = pid;
  m_socket = fds[0];
  return true;
}

bool HelperProcess::Write(const std::string &data) {
  return m_socket >= 0 && WriteAll(m_socket, data);
}

bool HelperProcess::Read(size_t size, std::string *out, int timeoutMs,
                         const std::atomic<bool> *abort) {
  out->clear();
  if (m_socket < 0)
    return false;
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  char buffer[4096];
  while (out->size() < size) {
    if (abort && abort->load())
      return false;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0)
      return false;
    // Short waits, so that an abort is seen soon.
    pollfd p{m_socket, POLLIN, 0};
    const int ready = poll(&p, 1, static_cast<int>(std::min<long long>(left, 100)));
    if (ready < 0 && errno != EINTR)
      return false;
    if (ready <= 0)
      continue;
    const size_t want = std::min(sizeof buffer, size - out->size());
    const ssize_t n = recv(m_socket, buffer, want, 0);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return false;
    out->append(buffer, static_cast<size_t>(n));
  }
  return true;
}

void HelperProcess::Stop() {
  if (m_socket >= 0) {
    close(m_socket);
    m_socket = -1;
  }
  if (m_pid > 0) {
    kill(m_pid, SIGKILL);
    while (waitpid(m_pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    m_pid = -1;
  }
}
