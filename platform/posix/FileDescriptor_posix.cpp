#include "FileDescriptor.h"

#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>

bool WriteAll(int fd, std::string_view data, int *pnError) {
  bool bSocket = true; // until the descriptor says otherwise
  size_t done = 0;
  while (done < data.size()) {
    const char *at = data.data() + done;
    const size_t size = data.size() - done;
    const ssize_t n = bSocket ? send(fd, at, size, MSG_NOSIGNAL) : write(fd, at, size);
    if (n < 0 && bSocket && errno == ENOTSOCK) {
      bSocket = false;
      continue;
    }
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0) {
      if (pnError != nullptr)
        *pnError = n < 0 ? errno : EIO;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}
