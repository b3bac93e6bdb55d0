# Each internal library is the set of .cpp files in its folders (picked up as they are added).
function(zelta_library name)
  cmake_parse_arguments(ARG "" "" "DIRS;LIBS" ${ARGN})
  set(sources)
  foreach(dir IN LISTS ARG_DIRS)
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  if(NOT sources)
    # A misspelt or emptied folder would otherwise surface as missing symbols far away.
    message(FATAL_ERROR "${name}: no .cpp files in ${ARG_DIRS}")
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC zelta_host ${ARG_LIBS})
  add_dependencies(${name} check_layers)
endfunction()

# One GoogleTest program per test folder.
function(zelta_test name)
  cmake_parse_arguments(ARG "" "" "DIRS;LIBS" ${ARGN})
  set(sources)
  foreach(dir IN LISTS ARG_DIRS)
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    ZELTA_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    ZELTA_CORPUS_DIR="${CMAKE_SOURCE_DIR}/tests/corpus"
    ZELTA_BINARY_DIR="${CMAKE_BINARY_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 600)
endfunction()
include(GoogleTest)
