#include "support/ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

} // namespace

std::string ChildResult::Describe() const {
  std::string text;
  if (timedOut)
    text = "timed out";
  else if (signalled)
    text =
        std::string("killed by signal ") + std::to_string(signal) + " (" + strsignal(signal) + ")";
  else
    text = "exit " + std::to_string(exitCode);
  return text + "; stderr: " + (err.size() > 2000 ? err.substr(0, 2000) + "..." : err);
}

ChildProcess::ChildProcess(const std::vector<std::string> &argv) {
  int out[2], err[2];
  if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0)
    throw std::runtime_error("pipe failed");
  std::vector<char *> args;
  for (const std::string &arg : argv)
    args.push_back(const_cast<char *>(arg.c_str()));
  args.push_back(nullptr);
  m_pid = fork();
  if (m_pid < 0)
    throw std::runtime_error("fork failed");
  if (m_pid == 0) {
    // Only async-signal-safe calls between fork and exec.
    int in = open("/dev/null", O_RDONLY);
    dup2(in, 0);
    dup2(out[1], 1);
    dup2(err[1], 2);
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  close(out[1]);
  close(err[1]);
  m_out = out[0];
  m_err = err[0];
}

ChildProcess::~ChildProcess() {
  if (!m_reaped && m_pid > 0) {
    kill(m_pid, SIGKILL);
    waitpid(m_pid, nullptr, 0);
  }
  if (m_out >= 0)
    close(m_out);
  if (m_err >= 0)
    close(m_err);
}

bool ChildProcess::Pump(int timeoutMs) {
  pollfd fds[2] = {{m_out, POLLIN, 0}, {m_err, POLLIN, 0}};
  const int n = poll(fds, 2, timeoutMs);
  if (n < 0 && errno != EINTR)
    throw std::runtime_error("poll failed");
  std::string *sinks[2] = {&m_result.out, &m_result.err};
  int *fdsOwned[2] = {&m_out, &m_err};
  for (int i = 0; i < 2; ++i) {
    if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
      continue;
    char buffer[65536];
    const ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
    if (got > 0) {
      sinks[i]->append(buffer, static_cast<size_t>(got));
    } else if (got == 0 || errno != EINTR) {
      close(*fdsOwned[i]);
      *fdsOwned[i] = -1;
    }
  }
  return m_out >= 0 || m_err >= 0;
}

bool ChildProcess::WaitForErrLine(const std::string &prefix, double timeoutSeconds) {
  const Clock::time_point deadline =
      Clock::now() +
      std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(timeoutSeconds));
  size_t scanned = 0;
  for (;;) {
    // A line is complete once its newline has arrived.
    for (size_t end; (end = m_result.err.find('\n', scanned)) != std::string::npos;
         scanned = end + 1)
      if (m_result.err.compare(scanned, prefix.size(), prefix) == 0)
        return true;
    const double left = Seconds(deadline - Clock::now());
    if (left <= 0 || m_err < 0)
      return false;
    Pump(static_cast<int>(left * 1000) + 1);
  }
}

void ChildProcess::Signal(int sig) {
  m_signalled = Clock::now();
  m_sentSignal = true;
  kill(m_pid, sig);
}

ChildResult ChildProcess::Wait(double timeoutSeconds) {
  const Clock::time_point start = Clock::now();
  // The pipes end when the child does (it starts no children of its own that keep them).
  while (m_out >= 0 || m_err >= 0) {
    int waitMs = 100;
    if (timeoutSeconds > 0) {
      const double left = timeoutSeconds - Seconds(Clock::now() - start);
      if (left <= 0) {
        m_result.timedOut = true;
        kill(m_pid, SIGKILL);
        break;
      }
      waitMs = static_cast<int>(left * 1000) + 1;
    }
    Pump(waitMs);
  }
  int status = 0;
  while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
  }
  const Clock::time_point ended = Clock::now();
  m_reaped = true;
  while (m_out >= 0 || m_err >= 0)
    Pump(100); // what was left in the pipes of a killed child
  if (m_sentSignal)
    m_result.secondsAfterSignal = Seconds(ended - m_signalled);
  if (WIFEXITED(status)) {
    m_result.exited = true;
    m_result.exitCode = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status) && !m_result.timedOut) {
    m_result.signalled = true;
    m_result.signal = WTERMSIG(status);
  }
  return m_result;
}

ChildResult RunChild(const std::vector<std::string> &argv, double timeoutSeconds) {
  ChildProcess child(argv);
  return child.Wait(timeoutSeconds);
}
