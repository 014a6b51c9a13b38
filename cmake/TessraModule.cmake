# Helpers shared by the module folders.

# tessra_module(NAME [SHARED|STATIC] DEPS ...): a library from every .cpp in the
# calling folder (not recursive).
function(tessra_module name kind)
  cmake_parse_arguments(M "" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT srcs)
    # A module still being written: headers only, so dependents configure.
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${M_DEPS})
    return()
  endif()
  add_library(${name} ${kind} ${srcs})
  target_link_libraries(${name} PUBLIC ${M_DEPS})
endfunction()

# tessra_test(NAME DEPS ...): one gtest program from every .cpp in the calling
# folder, registered with ctest test by test.
function(tessra_test name)
  cmake_parse_arguments(T "" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT srcs)
    add_executable(${name} ${CMAKE_SOURCE_DIR}/cmake/EmptyTestProgram.cpp)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE ${T_DEPS} GTest::gmock GTest::gtest_main Threads::Threads)
  include(GoogleTest)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()
