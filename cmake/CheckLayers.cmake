# The layer check: fails when a module's file includes a header of a module
# it does not depend on, when a module depends on one that comes after it in
# the order of modules, or when a layer reaches one the design keeps it from
# (platform/ knows nothing of tweak/, prefs/ or tools/; tweak/ nothing of
# prefs/ or tools/; prefs/ reaches tweak/ only by loading the plug-in).
#
#   cmake -DMANIFEST=<build>/layers/manifest.cmake -DSOURCE_DIR=<repo> [-DFOLDER=<module folder>]
#         -P cmake/CheckLayers.cmake
#
# Without FOLDER every module is checked. The manifest is written at
# configure time by tessra_write_layer_manifest() (cmake/TessraModule.cmake).

cmake_minimum_required(VERSION 3.25)

if(NOT MANIFEST OR NOT SOURCE_DIR)
  message(FATAL_ERROR "CheckLayers.cmake needs -DMANIFEST=... and -DSOURCE_DIR=...")
endif()
include(${MANIFEST})

# Top folders a layer may never include or depend on.
set(forbidden_platform "tweak;prefs;tools")
set(forbidden_tweak "prefs;tools")
set(forbidden_prefs "tweak;tools")

function(top_folder path out)
  string(REGEX REPLACE "/.*" "" top "${path}")
  set(${out} "${top}" PARENT_SCOPE)
endfunction()

# The folders whose headers `folder` may include: its own, those of its DEPS
# in turn, and the folders that any of these names in USES (only those: a
# module used without linking it brings none of its own dependencies).
function(allowed_folders folder out)
  set(seen "")
  set(used "")
  set(work "${folder}")
  while(work)
    list(POP_FRONT work current)
    if(current IN_LIST seen)
      continue()
    endif()
    list(APPEND seen "${current}")
    string(MAKE_C_IDENTIFIER "${current}" key)
    foreach(target ${LAYER_DEPS_${key}})
      list(APPEND work "${LAYER_TARGET_${target}}")
    endforeach()
    foreach(target ${LAYER_USES_${key}})
      list(APPEND used "${LAYER_TARGET_${target}}")
    endforeach()
  endwhile()
  set(${out} "${seen};${used}" PARENT_SCOPE)
endfunction()

set(problems "")

function(check_folder folder)
  string(MAKE_C_IDENTIFIER "${folder}" key)
  top_folder("${folder}" top)
  set(forbidden "${forbidden_${top}}")
  list(FIND LAYER_FOLDERS "${folder}" position)

  # Its declared dependencies: earlier in the order, and allowed to its layer.
  foreach(target ${LAYER_DEPS_${key}} ${LAYER_USES_${key}})
    set(depFolder "${LAYER_TARGET_${target}}")
    if(depFolder STREQUAL folder)
      continue()
    endif()
    list(FIND LAYER_FOLDERS "${depFolder}" depPosition)
    if(depPosition GREATER position)
      list(APPEND problems "${folder}: depends on ${target} (${depFolder}), which comes after it in the order of modules")
    endif()
    top_folder("${depFolder}" depTop)
    if(depTop IN_LIST forbidden)
      list(APPEND problems "${folder}: depends on ${target} (${depFolder}), but ${top}/ may not use ${depTop}/")
    endif()
  endforeach()

  allowed_folders("${folder}" allowed)
  file(GLOB files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  list(SORT files)
  foreach(file ${files})
    file(READ ${SOURCE_DIR}/${file} text)
    string(REGEX MATCHALL "\n[ \t]*#[ \t]*include[ \t]*\"[^\"\n]+\"" includes "\n${text}")
    foreach(line ${includes})
      string(REGEX REPLACE ".*\"([^\"]+)\"" "\\1" header "${line}")
      get_filename_component(headerFolder "${header}" DIRECTORY)
      if(headerFolder STREQUAL "" OR headerFolder STREQUAL folder)
        continue()
      endif()
      top_folder("${headerFolder}" headerTop)
      if(headerTop IN_LIST forbidden)
        list(APPEND problems "${file}: includes \"${header}\", but ${top}/ may not use ${headerTop}/")
      elseif(headerFolder IN_LIST LAYER_FOLDERS)
        if(NOT headerFolder IN_LIST allowed)
          list(APPEND problems "${file}: includes \"${header}\" of module ${headerFolder}, which ${folder} does not depend on")
        endif()
      elseif(EXISTS ${SOURCE_DIR}/${header})
        list(APPEND problems "${file}: includes \"${header}\", which belongs to no module")
      endif()
    endforeach()
  endforeach()
  set(problems "${problems}" PARENT_SCOPE)
endfunction()

if(FOLDER)
  if(NOT FOLDER IN_LIST LAYER_FOLDERS)
    message(FATAL_ERROR "layers: ${FOLDER} is no module")
  endif()
  check_folder("${FOLDER}")
else()
  foreach(folder ${LAYER_FOLDERS})
    check_folder("${folder}")
  endforeach()
endif()

if(problems)
  list(LENGTH problems count)
  string(REPLACE ";" "\n  " listed "${problems}")
  message(FATAL_ERROR "layers: ${count} wrong-way dependencies:\n  ${listed}\n"
                      "A module uses only modules before it in the order of modules (top-level CMakeLists.txt) "
                      "that its tessra_module() call names in DEPS or USES.")
endif()
