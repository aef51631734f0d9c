# Tests of the shell services. services_tests need no display; they run a small HTTP server of
# their own on 127.0.0.1 and reach it through VANTOREL_SITE.
add_executable(services_tests
  LocalHttpServer.cpp
  VendorSite_test.cpp
  LangFormat_test.cpp
  ProgramVersion_test.cpp
  LinkOpening_test.cpp
  DownloadFile_test.cpp
  UpdateCheck_test.cpp
)
target_link_libraries(services_tests PRIVATE vantorel_services wx_base_test_main)
gtest_discover_tests(services_tests)

# The service windows under a display (scripts/setup.sh gives them a virtual one).
add_executable(service_windows_tests
  LocalHttpServer.cpp
  CHyperLink_test.cpp
  CNewVersionDlg_test.cpp
  CAboutDlg_test.cpp
  CDlgUpgrade_test.cpp
  StartupUpdateCheck_test.cpp
)
target_link_libraries(service_windows_tests PRIVATE vantorel_service_windows wx_test_main)
vantorel_window_tests(service_windows_tests)

# Shell opening against a desktop of its own (XDG folders with a fake browser); no display.
add_executable(link_opening_desktop_tests LinkOpeningDesktop_test.cpp)
target_link_libraries(link_opening_desktop_tests PRIVATE vantorel_services test_support GTest::gtest)
gtest_discover_tests(link_opening_desktop_tests)

if(VANTOREL_BUILD_DEMOS)
  # Shows one of the service windows, to look at (not a test):
  #   services_demo about|upgrade|check|link|question|linkerror
  add_executable(services_demo ServicesDemo.cpp)
  target_link_libraries(services_demo PRIVATE vantorel_service_windows)
endif()
