#pragma once
// A program run by a test as a child process, without a shell: its standard output and standard
// error are collected, it can be signalled, and whether it exited or was killed is kept apart.

#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

struct ChildResult {
  bool exited = false; // ended by exit(); exitCode is valid
  int exitCode = -1;
  bool signalled = false; // killed by a signal it did not handle (a crash, an abort)
  int signal = 0;
  bool timedOut = false; // still running at the deadline, then killed by the test
  std::string out, err;
  // Seconds from the last Signal() to the end of the child; negative when none was sent.
  double secondsAfterSignal = -1;
  // For failure messages: how it ended and what it said on standard error.
  std::string Describe() const;
};

class ChildProcess {
public:
  // Starts argv[0] (a path) with the arguments; standard input is empty. The child starts with
  // default dispositions for SIGINT and SIGTERM and nothing blocked, whatever the test runner has.
  explicit ChildProcess(const std::vector<std::string> &argv);
  ~ChildProcess(); // a child still running is killed and reaped
  ChildProcess(const ChildProcess &) = delete;
  ChildProcess &operator=(const ChildProcess &) = delete;

  pid_t pid() const { return m_pid; }
  // Reads standard error until a line that starts with prefix is complete. False at the end of
  // the stream or after timeoutSeconds.
  bool WaitForErrLine(const std::string &prefix, double timeoutSeconds);
  // Sends a signal to this child only, and notes the time.
  void Signal(int sig);
  // Collects the rest of the output and waits for the end; the child is killed with SIGKILL
  // when it is still running after timeoutSeconds (0: no limit).
  ChildResult Wait(double timeoutSeconds = 0);

private:
  bool Pump(int timeoutMs); // reads what is there; false when both streams ended
  pid_t m_pid = -1;
  int m_out = -1, m_err = -1;
  bool m_reaped = false;
  ChildResult m_result;
  std::chrono::steady_clock::time_point m_signalled{};
  bool m_sentSignal = false;
};

// Runs a program to its end and returns how it ended.
ChildResult RunChild(const std::vector<std::string> &argv, double timeoutSeconds = 0);
