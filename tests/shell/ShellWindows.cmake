# Window tests of the shell windows: each window in a test frame; they need a display
# (scripts/setup.sh gives them a virtual one).
add_executable(shell_windows_tests
  CCoolToolBar_test.cpp
  CCoolButtonBar_test.cpp
  COutputSetting_test.cpp
  CLvCover_test.cpp
  CFolderDialog_test.cpp
  ResourceBitmap_test.cpp
)
target_link_libraries(shell_windows_tests PRIVATE vantorel_shell_windows wx_test_main)
vantorel_window_tests(shell_windows_tests PROPERTIES TIMEOUT 120
  SHARED_INPUT ToolBarTest.RefreshHoverFollowsTheRealMouse)

if(VANTOREL_BUILD_DEMOS)
  # Shows one of the windows in a frame, to look at (not a test):
  #   shell_windows_demo bars|panel|cover|picker
  add_executable(shell_windows_demo ShellWindowsDemo.cpp)
  target_link_libraries(shell_windows_demo PRIVATE vantorel_shell_windows)
endif()
