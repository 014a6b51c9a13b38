# Fails unless the plug-in's dynamic symbol table defines its interface
# version entry and otherwise only the platform's shared inline code.
#   cmake -DPLUGIN=<Tessra2.dylib> -DNM=<nm> -P CheckExports.cmake
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${NM} -D --defined-only ${PLUGIN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "nm failed on ${PLUGIN}: ${err}")
endif()
string(REPLACE "\n" ";" lines "${out}")
set(entry FALSE)
set(unexpected "")
foreach(line ${lines})
  string(REGEX REPLACE "^.* " "" symbol "${line}")
  if(symbol STREQUAL "")
    continue()
  elseif(symbol STREQUAL "tessra_plugin_abi_version")
    set(entry TRUE)
  elseif(symbol MATCHES "^_Z(N|NK|ZN|ZNK|GVZN|GVN|TVN|TIN|TSN)8platform")
    # The platform's own inline code.
  elseif(symbol MATCHES "^_Z(NK?St|St)" AND symbol MATCHES "8platform")
    # The standard library's templates made for the platform's inline code (unoptimized builds keep them).
  else()
    list(APPEND unexpected "${symbol}")
  endif()
endforeach()
if(unexpected)
  string(REPLACE ";" "\n  " listed "${unexpected}")
  # The verdict comes first: CMake wraps long messages, and a long path must not split it.
  message(FATAL_ERROR "The library exports symbols of its own: ${PLUGIN}\n  ${listed}")
endif()
if(NOT entry)
  message(FATAL_ERROR "The library does not export tessra_plugin_abi_version: ${PLUGIN}")
endif()
message(STATUS "${PLUGIN} exports its interface version and the platform's shared inline code only")
