#pragma once
#include <cstdint>
#include <string>

// What the window program and its probe helper (vantorel-probe) say to each other over the
// helper's standard input and output: one request, one reply, in turn. Numbers are 32-bit in the
// machine's own byte order (both ends are built together).
//   request: path length, path (UTF-8), 1 or 0 for a password, password length, password
//   reply:   page count (-1 when the file cannot be used), the engine's ProbeStatus, reason
//            length, the file's size and modification time (64-bit), reason (UTF-8)

struct ProbeRequest {
  std::wstring path;
  bool hasPassword = false;
  std::string password; // UTF-8, as the engine takes it
};

struct ProbeReply {
  int32_t nPages = -1;
  int32_t nStatus = 0;
  std::wstring reason; // why the file cannot be used, as the engine says it; may be empty
  // The file as it was read: size in bytes (-1 when there was none) and modification time (ns
  // since 1970). The merge refuses a file that is no longer this one.
  int64_t nFileSize = -1;
  int64_t nFileModified = 0;
};

// The probe helper's answer when it crashed, hung or could not be reached: not one of the
// engine's ProbeStatus codes.
constexpr int32_t kProbeHelperFailed = -100;

std::string EncodeProbeRequest(const ProbeRequest &request);
std::string EncodeProbeReply(const ProbeReply &reply);
// A reply is read in two parts: the fixed head, then as many bytes of reason as the head says.
constexpr size_t kProbeReplyHeadSize = 28;
// False for a head of another size or one announcing a reason no reply can have.
bool DecodeProbeReplyHead(const std::string &head, ProbeReply *reply, size_t *reasonSize);
void DecodeProbeReason(const std::string &bytes, ProbeReply *reply);

// Reads one request from a file descriptor; false at the end of the input or for a request
// that cannot be one (a length beyond what a path or password can have).
bool ReadProbeRequest(int fd, ProbeRequest *request);
