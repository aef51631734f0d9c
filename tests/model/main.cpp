#include <gtest/gtest.h>
#include <wx/init.h>

// wx's base library is set up as the program sets it up: configuration files ask it for the
// standard folders.
int main(int argc, char **argv) {
  ::testing::InitGoogleTest(&argc, argv);
  wxInitializer wx;
  if (!wx.IsOk())
    return 1;
  return RUN_ALL_TESTS();
}
