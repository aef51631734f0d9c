// vantorel-probe: reads the page counts of the files the window program lists, one request at a
// time from standard input, each answered on standard output. The window program runs it as a
// child so that a file that crashes or hangs the reader costs that file's row, never the window.
#include "FileDescriptor.h"
#include "MergerTool.h"
#include "ProbeProtocol.h"

#include <unistd.h>

int main() {
  // Background work: the window the user is looking at goes first.
  if (nice(10) == -1) {
    // Left at the window's priority; the reading is still right.
  }
  ProbeRequest request;
  while (ReadProbeRequest(0, &request)) {
    ProbeReply reply;
    reply.nPages = MergerTool::ProbeSource(
        request.path.c_str(), request.hasPassword ? request.password.c_str() : nullptr,
        &reply.nStatus, &reply.reason, &reply.nFileSize, &reply.nFileModified, nullptr, nullptr);
    if (!WriteAll(1, EncodeProbeReply(reply)))
      return 1;
  }
  return 0;
}
