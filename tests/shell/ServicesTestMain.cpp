#include <gtest/gtest.h>
#include <wx/init.h>

// wx's base library (no display): events are queued to handlers and processed by the tests.
int main(int argc, char **argv) {
  ::testing::InitGoogleTest(&argc, argv);
  wxInitializer initializer(argc, argv);
  if (!initializer.IsOk())
    return 1;
  return RUN_ALL_TESTS();
}
