// The entry point of every window test program: starts wx, which needs a display, around the
// GoogleTest run. Listing the tests, as test discovery does, needs no display.
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
#include <wx/log.h>

namespace {

// How often a refused display connection is tried again, by a fresh start of the program: wx
// cannot be started twice in one process.
const int kDisplayTries = 10;
const char kTriesVariable[] = "VANTOREL_TEST_DISPLAY_TRIES";

} // namespace

int main(int argc, char **argv) {
  // GoogleTest takes its own flags out of argv; a restart needs them all.
  std::vector<char *> original(argv, argv + argc + 1);
  ::testing::InitGoogleTest(&argc, argv);
  if (::testing::GTEST_FLAG(list_tests))
    return RUN_ALL_TESTS();
  // Messages go to the test's output: a message box would stop the run until someone clicks.
  delete wxLog::SetActiveTarget(new wxLogStderr);
  wxApp::SetInstance(new wxApp);
  if (!wxEntryStart(argc, argv)) {
    // A virtual display that has just started may refuse a connection for a moment.
    const char *tries = std::getenv(kTriesVariable);
    const int n = tries ? std::atoi(tries) : 0;
    if (n < kDisplayTries) {
      setenv(kTriesVariable, std::to_string(n + 1).c_str(), 1);
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      execv("/proc/self/exe", original.data());
    }
    std::fprintf(stderr, "These tests need a display (run them under xvfb-run).\n");
    return 1;
  }
  delete wxLog::SetActiveTarget(new wxLogStderr);
  wxTheApp->CallOnInit();
  // A wx assertion is a failed test, not a dialog waiting for a click.
  wxSetAssertHandler([](const wxString &file, int line, const wxString &, const wxString &cond,
                        const wxString &msg) {
    ADD_FAILURE() << "wx assertion at " << file << ":" << line << ": " << cond << " " << msg;
  });
  const int result = RUN_ALL_TESTS();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return result;
}
