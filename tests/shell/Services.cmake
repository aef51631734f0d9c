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
  ServicesTestMain.cpp
)
target_link_libraries(services_tests PRIVATE vantorel_services test_support GTest::gtest)
gtest_discover_tests(services_tests)
