# Shell windows: the skinned button bars, the output settings panel, the empty-list cover and
# the folder picker. Included from this folder's CMakeLists.txt, after wx's flags are set.
include(${PROJECT_SOURCE_DIR}/resources/Resources.cmake)

add_library(vantorel_shell_windows STATIC
  BarCommand.cpp
  ResourceBitmap.cpp
  CCoolBarBase.cpp
  CCoolToolBar.cpp
  CCoolButtonBar.cpp
  CoolBarTables.cpp
  COutputSetting.cpp
  CLvCover.cpp
  CFolderDialog.cpp
  FolderBrowser.cpp
)
target_include_directories(vantorel_shell_windows PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(vantorel_shell_windows
  PUBLIC vantorel_lang_windows vantorel_model vantorel_platform ${wxWidgets_LIBRARIES})
add_dependencies(vantorel_shell_windows vantorel_resources)

# Painting benchmark of the bars and the cover (bench/bar_paint.sh runs it).
add_executable(bar_paint_bench ${PROJECT_SOURCE_DIR}/bench/bar_paint.cpp)
target_link_libraries(bar_paint_bench PRIVATE vantorel_shell_windows)
