# A test runs the programs of this project as they are built now: building
# a test target builds every program the test runs first. Checked in the
# Ninja build graph of the tree: each entry of CHECKS names a test target
# and the programs it runs, as TARGET=PROGRAM+PROGRAM.
# Run as: cmake -DBUILD_DIR=<tree> -DNINJA=<ninja>
#           "-DCHECKS=core_tests=x+y;app_a_test=z" -P tests/programdeps.cmake
cmake_minimum_required(VERSION 3.22)
foreach(var BUILD_DIR NINJA CHECKS)
  if(NOT ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()
set(failures "")
foreach(check IN LISTS CHECKS)
  string(REGEX REPLACE "=.*" "" target "${check}")
  string(REGEX REPLACE "^[^=]*=" "" programs "${check}")
  string(REPLACE "+" ";" programs "${programs}")
  execute_process(COMMAND "${NINJA}" -C "${BUILD_DIR}" -t query "bin/${target}"
                  RESULT_VARIABLE code OUTPUT_VARIABLE graph ERROR_VARIABLE graph)
  if(NOT code EQUAL 0)
    string(APPEND failures "\n  bin/${target} is not in the build graph: ${graph}")
    continue()
  endif()
  # The inputs of its link step, up to the targets it builds.
  string(REGEX REPLACE "\n  outputs:.*" "" inputs "${graph}")
  foreach(program IN LISTS programs)
    string(FIND "${inputs}" "| bin/${program}\n" at)
    if(at EQUAL -1)
      string(APPEND failures "\n  ${target} does not build ${program} first")
    endif()
  endforeach()
endforeach()
if(failures)
  message(FATAL_ERROR "Test targets that run programs they do not build:${failures}")
endif()
message(STATUS "Every test target builds the programs it runs")
