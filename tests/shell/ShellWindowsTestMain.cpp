// Starts wx (which needs a display) around the GoogleTest run; listing the tests, as test
// discovery does, needs none.
#include <chrono>
#include <cstdio>
#include <thread>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>

int main(int argc, char **argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (::testing::GTEST_FLAG(list_tests))
    return RUN_ALL_TESTS();
  // A busy shared virtual display sometimes refuses a connection for a moment: try again.
  bool started = false;
  for (int attempt = 0; attempt < 10 && !started; ++attempt) {
    if (attempt)
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
    // A failed attempt logs; to a message box that would wait for a click once wx runs.
    delete wxLog::SetActiveTarget(new wxLogStderr);
    wxApp::SetInstance(new wxApp);
    started = wxEntryStart(argc, argv);
  }
  if (!started) {
    std::fprintf(stderr, "These tests need a display (run them under xvfb-run).\n");
    return 1;
  }
  // Messages go to the test's output: a message box would stop the run until someone clicks.
  delete wxLog::SetActiveTarget(new wxLogStderr);
  wxTheApp->CallOnInit();
  const int result = RUN_ALL_TESTS();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return result;
}
