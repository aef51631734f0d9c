// Test entry for window tests: starts wx (which needs a display) around the GoogleTest run.
// Listing the tests needs no display, so test discovery works anywhere.
#include <chrono>
#include <cstdio>
#include <thread>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>

int main(int argc, char **argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (::testing::GTEST_FLAG(list_tests))
    return RUN_ALL_TESTS();
  // A shared virtual display sometimes refuses a connection for a moment: try a few times.
  bool started = false;
  for (int attempt = 0; attempt < 10 && !started; ++attempt) {
    if (attempt)
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
    wxApp::SetInstance(new wxApp);
    started = wxEntryStart(argc, argv);
  }
  if (!started) {
    std::fprintf(stderr, "cannot start wx: is there a display?\n");
    return 1;
  }
  wxTheApp->CallOnInit();
  int rc = RUN_ALL_TESTS();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return rc;
}
