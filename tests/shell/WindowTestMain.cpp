#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>

#include <cstdio>

// Starts wx with a real (or virtual) display before the tests run. Listing the tests, as the
// build does to discover them, needs no display.
int main(int argc, char **argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (::testing::GTEST_FLAG(list_tests))
    return RUN_ALL_TESTS();
  wxApp::SetInstance(new wxApp);
  if (!wxEntryStart(argc, argv)) {
    std::fprintf(stderr, "These tests need a display (run them under xvfb-run).\n");
    return 1;
  }
  wxTheApp->CallOnInit();
  // A wx assertion is a failed test, not a dialog waiting for a click.
  wxSetAssertHandler([](const wxString &file, int line, const wxString &, const wxString &cond,
                        const wxString &msg) {
    ADD_FAILURE() << "wx assertion at " << file << ":" << line << ": " << cond << " " << msg;
  });
  const int result = RUN_ALL_TESTS();
  wxEntryCleanup();
  return result;
}
