// The entry point of the tests that use wx's base library without a display (the settings
// store, the update check's events): wx is set up as the program sets it up, so configuration
// files find the standard folders and events can be queued to handlers.
#include <gtest/gtest.h>
#include <wx/init.h>

int main(int argc, char **argv) {
  ::testing::InitGoogleTest(&argc, argv);
  wxInitializer wx(argc, argv);
  if (!wx.IsOk())
    return 1;
  return RUN_ALL_TESTS();
}
