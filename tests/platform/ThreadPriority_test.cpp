// Raising a thread's priority touches that thread only, and fails without harm.
#include "ThreadPriority.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

int OwnNice() { return getpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid))); }

TEST(ThreadPriority, RaisesOnlyTheCallingThreadByTwoStepsWhenAllowed) {
  const int mainBefore = OwnNice();
  int before = 0, after = 0;
  bool raised = false;
  std::thread worker([&] {
    before = OwnNice();
    raised = RaiseCurrentThreadPriority();
    after = OwnNice();
  });
  worker.join();
  EXPECT_EQ(after, raised ? before - 2 : before);
  EXPECT_EQ(OwnNice(), mainBefore);
}

} // namespace
