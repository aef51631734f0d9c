# Services of the shell: vendor site addresses, the update check, link opening, and their
# windows (hyperlink control, update check dialog, about box, upsell dialog). Included from this
# folder's CMakeLists.txt, after wx's flags are set.
find_package(CURL REQUIRED)

# No windows: addresses, version, text formatting, download and update worker, link opening.
add_library(vantorel_services STATIC
  VendorSite.cpp
  LangFormat.cpp
  ProgramVersion.cpp
  DownloadFile.cpp
  UpdateCheck.cpp
  LinkOpening.cpp
)
target_include_directories(vantorel_services PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
# It posts its results as wx events (wx's base library: no windows); its users include those
# headers from folders of their own.
target_include_directories(vantorel_services SYSTEM PUBLIC ${wxWidgets_INCLUDE_DIRS})
target_compile_definitions(vantorel_services PUBLIC ${wxWidgets_DEFINITIONS})
target_link_libraries(vantorel_services PUBLIC vantorel_lang vantorel_platform CURL::libcurl
  ${wxWidgets_LIBRARIES})
# The program's version comes from project() in the top CMakeLists.txt, and only from there.
target_compile_definitions(vantorel_services PRIVATE
  VANTOREL_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
  VANTOREL_VERSION_MINOR=${PROJECT_VERSION_MINOR}
  VANTOREL_VERSION_PATCH=${PROJECT_VERSION_PATCH})

add_library(vantorel_service_windows STATIC
  CHyperLink.cpp
  CNewVersionDlg.cpp
  CAboutDlg.cpp
  CDlgUpgrade.cpp
  StartupUpdateCheck.cpp
)
target_include_directories(vantorel_service_windows PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(vantorel_service_windows PUBLIC vantorel_services vantorel_shell_windows
  ${wxWidgets_LIBRARIES})
# The about picture and the banner are copied beside the executables by the resources rule.
if(NOT TARGET vantorel_resources)
  include(${PROJECT_SOURCE_DIR}/resources/Resources.cmake)
endif()
add_dependencies(vantorel_service_windows vantorel_resources)
