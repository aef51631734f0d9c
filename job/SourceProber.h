#pragma once
#include <atomic>
#include <string>

#include "HelperProcess.h"
#include "ProbeProtocol.h"

// Reads a source's page count the way the merge will see it. The reading is done by the probe
// helper, a child process: a file that crashes or hangs the reader ends as a failed answer
// (kProbeHelperFailed), the helper is stopped and the next file gets a new one. Only when the
// helper cannot be started at all does the reading happen in this process.
//
// One thread uses a prober at a time; Abort may come from another.
class SourceProber {
public:
  // How long one file may take before its reader is taken for hung.
  static constexpr int kDefaultTimeoutMs = 120000;

  // helperPath: the probe helper program; empty: read in this process.
  explicit SourceProber(std::string helperPath, int timeoutMs = kDefaultTimeoutMs);
  virtual ~SourceProber();
  SourceProber(const SourceProber &) = delete;
  SourceProber &operator=(const SourceProber &) = delete;

  // Page count (-1 when the file cannot be used) and the engine's ProbeStatus, or
  // kProbeHelperFailed when the reader crashed, hung or was aborted.
  virtual ProbeReply Probe(const ProbeRequest &request);
  // Makes a Probe that runs now give up at once (the program is closing).
  virtual void Abort() { m_abort = true; }
  // The helper's process id while one runs, else -1.
  int GetHelperPid() const { return m_helper.IsStarted() ? m_helper.GetPid() : -1; }

private:
  bool EnsureHelper();

  std::string m_helperPath;
  int m_timeoutMs;
  HelperProcess m_helper;
  bool m_helperMissing = false;
  std::atomic<bool> m_abort{false};
};

// The probe helper's path beside the program in programFolder.
std::string ProbeHelperPath(const std::wstring &programFolder);
