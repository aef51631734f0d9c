#include "SourceProber.h"

#include "AnsiText.h"
#include "MergerTool.h"

#include <unistd.h>

namespace {

ProbeReply HelperFailed() {
  ProbeReply reply;
  reply.nPages = 0; // as when the probe threw
  reply.nStatus = kProbeHelperFailed;
  return reply;
}

bool Aborted(void *pAbort) { return *static_cast<const std::atomic<bool> *>(pAbort); }

// Abort stops the reading here too.
ProbeReply ProbeHere(const ProbeRequest &request, std::atomic<bool> &abort) {
  ProbeReply reply;
  reply.nPages = MergerTool::ProbeSource(
      request.path.c_str(), request.hasPassword ? request.password.c_str() : nullptr,
      &reply.nStatus, &reply.reason, &reply.nFileSize, &reply.nFileModified, Aborted, &abort);
  return reply.nStatus == PROBE_CANCELLED ? HelperFailed() : reply;
}

} // namespace

std::string ProbeHelperPath(const std::wstring &programFolder) {
  return WideToUtf8(programFolder) + "/vantorel-probe";
}

SourceProber::SourceProber(std::string helperPath, int timeoutMs)
    : m_helperPath(std::move(helperPath)), m_timeoutMs(timeoutMs) {}

SourceProber::~SourceProber() { m_helper.Stop(); }

bool SourceProber::EnsureHelper() {
  if (m_helper.IsStarted())
    return true;
  if (m_helperMissing || m_helperPath.empty() || access(m_helperPath.c_str(), X_OK) != 0) {
    m_helperMissing = true;
    return false;
  }
  return m_helper.Start(m_helperPath);
}

ProbeReply SourceProber::Probe(const ProbeRequest &request) {
  if (m_abort)
    return HelperFailed();
  if (!EnsureHelper())
    return m_helperMissing ? ProbeHere(request, m_abort) : HelperFailed();
  std::string bytes;
  ProbeReply reply;
  size_t reasonSize = 0;
  if (m_helper.Write(EncodeProbeRequest(request)) &&
      m_helper.Read(kProbeReplyHeadSize, &bytes, m_timeoutMs, &m_abort) &&
      DecodeProbeReplyHead(bytes, &reply, &reasonSize) &&
      (reasonSize == 0 || m_helper.Read(reasonSize, &bytes, m_timeoutMs, &m_abort))) {
    if (reasonSize > 0)
      DecodeProbeReason(bytes, &reply);
    return reply;
  }
  // Crashed, hung or aborted: this file failed; the next one gets a new helper.
  m_helper.Stop();
  return HelperFailed();
}
