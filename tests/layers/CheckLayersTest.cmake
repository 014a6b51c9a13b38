# Runs the layer check on the fixture tree and expects it to find exactly the
# wrong-way includes planted there (and nothing in the module that has none).
#   cmake -DCHECK=<repo>/cmake/CheckLayers.cmake -DFIXTURE=<this folder>/fixture -P CheckLayersTest.cmake
cmake_minimum_required(VERSION 3.25)

function(run_check folder expectedResult expectedText)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -DMANIFEST=${FIXTURE}/manifest.cmake -DSOURCE_DIR=${FIXTURE} -DFOLDER=${folder}
            ${ARGN} -P ${CHECK}
    RESULT_VARIABLE result ERROR_VARIABLE output OUTPUT_VARIABLE stdout)
  string(REGEX REPLACE "[ \n\t]+" " " output "${output}${stdout}")
  if(expectedResult STREQUAL "pass" AND NOT result EQUAL 0)
    message(FATAL_ERROR "The check refused ${folder}, which has no wrong-way include:\n${output}")
  endif()
  if(expectedResult STREQUAL "fail" AND result EQUAL 0)
    message(FATAL_ERROR "The check let ${folder} pass; expected: ${expectedText}")
  endif()
  string(FIND "${output}" "${expectedText}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "The check on ${folder} did not say \"${expectedText}\":\n${output}")
  endif()
  message(STATUS "${folder}: ${expectedResult} as expected")
endfunction()

run_check(tweak/high pass "")
run_check(tweak/low fail
  "tweak/low/Low.h: includes \"tweak/high/High.h\" of module tweak/high, which tweak/low does not depend on")
run_check(platform/base fail "platform/base/Base.h: includes \"tweak/low/Low.h\", but platform/ may not use tweak/")
run_check(tweak/low fail "tweak/low: depends on high (tweak/high), which comes after it in the order of modules"
  -DDECLARE_BACKWARD=1)
