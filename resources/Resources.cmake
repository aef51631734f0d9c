# The program's pictures go beside the executables: bitmaps and icons into bin/resources/, the
# cover picture into bin/ itself, where the windows look for them. The PNG files are committed;
# resources/art/make_art.py redraws them and is not needed to build.
set(vantorel_resource_dir ${PROJECT_SOURCE_DIR}/resources)
set(vantorel_resource_out ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/resources)
file(GLOB vantorel_pictures CONFIGURE_DEPENDS
  ${vantorel_resource_dir}/bitmap_*.png ${vantorel_resource_dir}/icon_*.png)
set(vantorel_picture_outputs)
foreach(file ${vantorel_pictures})
  get_filename_component(name ${file} NAME)
  add_custom_command(OUTPUT ${vantorel_resource_out}/${name}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${vantorel_resource_out}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${file} ${vantorel_resource_out}/${name}
    DEPENDS ${file})
  list(APPEND vantorel_picture_outputs ${vantorel_resource_out}/${name})
endforeach()
add_custom_command(OUTPUT ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/lv_cover_merger.png
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${vantorel_resource_dir}/lv_cover_merger.png
          ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/lv_cover_merger.png
  DEPENDS ${vantorel_resource_dir}/lv_cover_merger.png)
add_custom_target(vantorel_resources ALL
  DEPENDS ${vantorel_picture_outputs} ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/lv_cover_merger.png
  COMMENT "Program pictures")
