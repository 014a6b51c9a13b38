# Helpers shared by the module folders.
#
# A module is a folder of sources listed in the order of modules in the
# top-level CMakeLists.txt. It declares itself with one call in its folder:
#
#   tessra_module(NAME SHARED|STATIC|MODULE|OBJECT|EXECUTABLE
#                 [DEPS target...]      targets it links; the modules among them (and theirs, in turn)
#                                       are the modules whose headers it may include
#                 [USES module...]      modules whose headers it may include without linking them
#                                       (tables the program brings its own way)
#                 [SOURCES file...]     its sources (default: every .cpp of the folder, not recursive)
#                 [EXCLUDE file...]     files left out of the default sources
#                 [WHOLE_ARCHIVE])      link the static DEPS whole (nothing may be dropped)
#
# A folder may hold several targets (a library and its program); the folder's
# module may then include what any of them declares. Every target of a folder
# depends on the folder's layer check (cmake/CheckLayers.cmake), so building
# a module whose file includes a header of a module it does not declare, or a
# wrong-way header (platform/ including tweak/, prefs/ or tools/, ...), fails.

set(TESSRA_LAYER_MANIFEST ${CMAKE_BINARY_DIR}/layers/manifest.cmake)

function(tessra_module name kind)
  cmake_parse_arguments(M "WHOLE_ARCHIVE" "" "DEPS;USES;SOURCES;EXCLUDE" ${ARGN})
  if(M_SOURCES)
    set(srcs ${M_SOURCES})
  else()
    file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    foreach(excluded ${M_EXCLUDE})
      list(REMOVE_ITEM srcs ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
    endforeach()
  endif()
  if(NOT srcs)
    message(FATAL_ERROR "tessra_module(${name}): no sources in ${CMAKE_CURRENT_SOURCE_DIR}")
  endif()

  if(kind STREQUAL "EXECUTABLE")
    add_executable(${name} ${srcs})
    set(scope PRIVATE)
  else()
    add_library(${name} ${kind} ${srcs})
    set(scope PUBLIC)
    if(kind STREQUAL "MODULE")
      set(scope PRIVATE)
      # Device libraries keep the phone's file names.
      set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".dylib")
    endif()
  endif()
  # The repository root is reachable through each module's own usage
  # requirements; which of its folders a module may use is the layer check's.
  target_include_directories(${name} ${scope} $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>)
  if(M_WHOLE_ARCHIVE)
    target_link_libraries(${name} ${scope} -Wl,--whole-archive ${M_DEPS} -Wl,--no-whole-archive)
  else()
    target_link_libraries(${name} ${scope} ${M_DEPS})
  endif()

  # The module record for the layer check.
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  string(MAKE_C_IDENTIFIER "${folder}" key)
  get_property(folders GLOBAL PROPERTY TESSRA_LAYER_FOLDERS)
  if(NOT folder IN_LIST folders)
    set_property(GLOBAL APPEND PROPERTY TESSRA_LAYER_FOLDERS ${folder})
    file(GLOB files CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    set(stamp ${CMAKE_BINARY_DIR}/layers/${key}.checked)
    add_custom_command(
      OUTPUT ${stamp}
      COMMAND ${CMAKE_COMMAND} -DMANIFEST=${TESSRA_LAYER_MANIFEST} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
              -DFOLDER=${folder} -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake
      COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
      DEPENDS ${files} ${TESSRA_LAYER_MANIFEST} ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake
      COMMENT "Checking the includes of ${folder} against its module's dependencies"
      VERBATIM)
    add_custom_target(layers_${key} DEPENDS ${stamp})
  endif()
  add_dependencies(${name} layers_${key})
  set_property(GLOBAL APPEND PROPERTY TESSRA_LAYER_TARGETS ${name})
  set_property(GLOBAL PROPERTY TESSRA_LAYER_FOLDER_OF_${name} ${folder})
  set_property(GLOBAL APPEND PROPERTY TESSRA_LAYER_DEPS_${key} ${M_DEPS})
  set_property(GLOBAL APPEND PROPERTY TESSRA_LAYER_USES_${key} ${M_USES})
endfunction()

# Writes the module records for the layer check; called once, after every
# module folder has been added. The file changes only when a record does.
function(tessra_write_layer_manifest)
  get_property(folders GLOBAL PROPERTY TESSRA_LAYER_FOLDERS)
  get_property(targets GLOBAL PROPERTY TESSRA_LAYER_TARGETS)
  set(content "# Written by tessra_write_layer_manifest(): the modules in their order.\n")
  string(APPEND content "set(LAYER_FOLDERS \"${folders}\")\n")
  foreach(target ${targets})
    get_property(folder GLOBAL PROPERTY TESSRA_LAYER_FOLDER_OF_${target})
    string(APPEND content "set(LAYER_TARGET_${target} \"${folder}\")\n")
  endforeach()
  foreach(folder ${folders})
    string(MAKE_C_IDENTIFIER "${folder}" key)
    get_property(deps GLOBAL PROPERTY TESSRA_LAYER_DEPS_${key})
    get_property(uses GLOBAL PROPERTY TESSRA_LAYER_USES_${key})
    # Only targets name modules; libraries from outside (PkgConfig::..., dl) are left out.
    set(moduleDeps "")
    foreach(dep ${deps})
      if(dep IN_LIST targets)
        list(APPEND moduleDeps ${dep})
      endif()
    endforeach()
    foreach(use ${uses})
      if(NOT use IN_LIST targets)
        message(FATAL_ERROR "${folder}: USES ${use}, which is no module")
      endif()
    endforeach()
    list(REMOVE_DUPLICATES moduleDeps)
    string(APPEND content "set(LAYER_DEPS_${key} \"${moduleDeps}\")\n")
    string(APPEND content "set(LAYER_USES_${key} \"${uses}\")\n")
  endforeach()
  file(CONFIGURE OUTPUT ${TESSRA_LAYER_MANIFEST} CONTENT "${content}" @ONLY)
endfunction()

# tessra_test(NAME DEPS ... [NO_MAIN] [SERIAL]): one gtest program from every .cpp in
# the calling folder, registered with ctest test by test. NO_MAIN: the folder
# brings its own main().
function(tessra_test name)
  cmake_parse_arguments(T "NO_MAIN;SERIAL" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${srcs})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  if(T_NO_MAIN)
    set(main GTest::gtest)
  else()
    set(main GTest::gtest_main)
  endif()
  target_link_libraries(${name} PRIVATE ${T_DEPS} GTest::gmock ${main} Threads::Threads)
  include(GoogleTest)
  # SERIAL: cases that watch real processes and daemons with deadlines run
  # alone, so that a loaded machine does not turn a wait into a failure.
  if(T_SERIAL)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
  endif()
endfunction()
