// Test entry for window tests: starts wx (which needs a display) around the GoogleTest run.
// Listing the tests needs no display, so test discovery works anywhere.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>

int main(int argc, char **argv) {
  // GoogleTest takes its own flags out of argv; a restart needs them all.
  std::vector<char *> original(argv, argv + argc + 1);
  ::testing::InitGoogleTest(&argc, argv);
  if (::testing::GTEST_FLAG(list_tests))
    return RUN_ALL_TESTS();
  wxApp::SetInstance(new wxApp);
  if (!wxEntryStart(argc, argv)) {
    // A shared virtual display sometimes refuses a connection for a moment. wx cannot be
    // started twice in one process, so the retry is a fresh start of this program.
    const char *tries = std::getenv("VANTOREL_TEST_DISPLAY_TRIES");
    int n = tries ? std::atoi(tries) : 0;
    if (n < 10) {
      setenv("VANTOREL_TEST_DISPLAY_TRIES", std::to_string(n + 1).c_str(), 1);
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      execv("/proc/self/exe", original.data());
    }
    std::fprintf(stderr, "cannot start wx: is there a display?\n");
    return 1;
  }
  wxTheApp->CallOnInit();
  int rc = RUN_ALL_TESTS();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return rc;
}
