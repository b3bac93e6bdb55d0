# The layer rule as part of the default build: every library waits for the check, which
# fails the build on an include that goes up (or sideways) between layers, naming the file,
# the line and the forbidden edge. It runs again whenever a source file changes.
set(layer_folders host platform support framework macros tools autogen toc plugin zelta)
set(layer_sources)
foreach(folder IN LISTS layer_folders)
  file(GLOB_RECURSE found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.h ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
  list(APPEND layer_sources ${found})
endforeach()
set(layer_stamp ${CMAKE_BINARY_DIR}/check_layers.stamp)
add_custom_command(
  OUTPUT ${layer_stamp}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/check_layers.py --root ${CMAKE_SOURCE_DIR}
          --stamp ${layer_stamp}
  DEPENDS ${layer_sources} ${CMAKE_SOURCE_DIR}/scripts/check_layers.py
  COMMENT "Checking the layers' includes"
  VERBATIM)
add_custom_target(check_layers DEPENDS ${layer_stamp})
