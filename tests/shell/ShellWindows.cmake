# Window tests of the shell windows: each window in a test frame; they need a display
# (scripts/setup.sh gives them a virtual one).
add_executable(shell_windows_tests
  CCoolToolBar_test.cpp
  CCoolButtonBar_test.cpp
  COutputSetting_test.cpp
  CLvCover_test.cpp
  CFolderDialog_test.cpp
  ResourceBitmap_test.cpp
  ShellWindowsTestMain.cpp
)
target_link_libraries(shell_windows_tests PRIVATE vantorel_shell_windows test_support GTest::gtest)
# Listed when run, so that building needs no display.
gtest_discover_tests(shell_windows_tests DISCOVERY_MODE PRE_TEST PROPERTIES TIMEOUT 120)

# Shows one of the windows in a frame, to look at (not a test):
#   shell_windows_demo bars|panel|cover|picker
add_executable(shell_windows_demo ShellWindowsDemo.cpp)
target_link_libraries(shell_windows_demo PRIVATE vantorel_shell_windows)
