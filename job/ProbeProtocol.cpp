#include "ProbeProtocol.h"

#include "AnsiText.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

// Far beyond any path or password; a larger length means the stream is not ours.
const uint32_t kMaxField = 1u << 20;

template <typename T> void PutNumber(std::string &out, T value) {
  out.append(reinterpret_cast<const char *>(&value), sizeof value);
}

bool ReadExact(int fd, void *buffer, size_t size) {
  char *at = static_cast<char *>(buffer);
  while (size > 0) {
    const ssize_t n = read(fd, at, size);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return false;
    at += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool ReadField(int fd, std::string *field) {
  uint32_t size = 0;
  if (!ReadExact(fd, &size, sizeof size) || size > kMaxField)
    return false;
  field->assign(size, '\0');
  return size == 0 || ReadExact(fd, field->data(), size);
}

} // namespace

std::string EncodeProbeRequest(const ProbeRequest &request) {
  std::string out;
  const std::string path = WideToUtf8(request.path);
  PutNumber(out, static_cast<uint32_t>(path.size()));
  out += path;
  out += request.hasPassword ? '\1' : '\0';
  PutNumber(out, static_cast<uint32_t>(request.password.size()));
  out += request.password;
  return out;
}

std::string EncodeProbeReply(const ProbeReply &reply) {
  std::string out;
  const std::string reason = WideToUtf8(reply.reason).substr(0, kMaxField);
  PutNumber(out, static_cast<uint32_t>(reply.nPages));
  PutNumber(out, static_cast<uint32_t>(reply.nStatus));
  PutNumber(out, static_cast<uint32_t>(reason.size()));
  PutNumber(out, reply.nFileSize);
  PutNumber(out, reply.nFileModified);
  return out + reason;
}

bool DecodeProbeReplyHead(const std::string &head, ProbeReply *reply, size_t *reasonSize) {
  uint32_t size = 0;
  if (head.size() != kProbeReplyHeadSize)
    return false;
  std::memcpy(&reply->nPages, head.data(), 4);
  std::memcpy(&reply->nStatus, head.data() + 4, 4);
  std::memcpy(&size, head.data() + 8, 4);
  std::memcpy(&reply->nFileSize, head.data() + 12, 8);
  std::memcpy(&reply->nFileModified, head.data() + 20, 8);
  reply->reason.clear();
  *reasonSize = size;
  return size <= kMaxField;
}

void DecodeProbeReason(const std::string &bytes, ProbeReply *reply) {
  reply->reason = Utf8ToWide(bytes);
}

bool ReadProbeRequest(int fd, ProbeRequest *request) {
  std::string path;
  char hasPassword = 0;
  if (!ReadField(fd, &path) || !ReadExact(fd, &hasPassword, 1) ||
      !ReadField(fd, &request->password))
    return false;
  request->path = Utf8ToWide(path);
  request->hasPassword = hasPassword != 0;
  return true;
}
