#pragma once
#include <atomic>
#include <string>
#include <sys/types.h>

// A helper program run as a child process and talked to through its standard input and output.
// Whatever the helper does, a crash or a hang, only the helper goes: the caller sees a failed
// read, stops it and may start another. Its standard error goes nowhere.
class HelperProcess {
public:
  HelperProcess() = default;
  // Stops a helper that is still running.
  ~HelperProcess();
  HelperProcess(const HelperProcess &) = delete;
  HelperProcess &operator=(const HelperProcess &) = delete;

  // Starts the program at path, without arguments and without the caller's open files. False
  // when it cannot be started (a missing program shows only at the first read).
  bool Start(const std::string &path);
  bool IsStarted() const { return m_pid > 0; }
  pid_t GetPid() const { return m_pid; }

  // Writes all of data to the helper's standard input; false when the helper is gone.
  bool Write(const std::string &data);
  // Reads exactly size bytes of the helper's output into out. False at the end of its output
  // (it ended or crashed), after timeoutMs, or as soon as abort (when given) becomes true.
  bool Read(size_t size, std::string *out, int timeoutMs, const std::atomic<bool> *abort = nullptr);

  // Ends the helper (killed when still running) and collects it. Nothing when none runs.
  void Stop();

private:
  pid_t m_pid = -1;
  int m_socket = -1; // our end; the helper's standard input and output are the other
};
