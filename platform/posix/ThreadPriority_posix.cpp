// On Linux each thread has its own nice value, set through its thread id. Two nice steps down
// stand for Windows' two priority steps up.
#include "ThreadPriority.h"

#include <cerrno>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

bool RaiseCurrentThreadPriority() {
  const auto tid = static_cast<id_t>(syscall(SYS_gettid));
  errno = 0;
  const int nice = getpriority(PRIO_PROCESS, tid);
  if (nice == -1 && errno != 0)
    return false;
  return setpriority(PRIO_PROCESS, tid, nice - 2) == 0;
}
