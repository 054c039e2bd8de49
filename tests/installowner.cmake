# Root installing from a build tree that a user owns (`sudo make install`
# after that user's build) leaves no file of root's in the tree, and the user
# can still remove the tree as `make clean` does; the tree's owner installing
# keeps the tree's own list of the installed files there. The user is nobody,
# switched to with setpriv: run by another user than root, the test checks
# the owner's install alone.
# Run as: cmake -DSOURCE_DIR=<tests/fixtures/installowner> -DWORK=<new folder>
#           -DGENERATOR=<generator> -P tests/installowner.cmake
cmake_minimum_required(VERSION 3.22)
foreach(var SOURCE_DIR WORK GENERATOR)
  if(NOT ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()

set(failures "")
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE code OUTPUT_VARIABLE text ERROR_VARIABLE text TIMEOUT 120)
  if(NOT code EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${code}):\n${text}")
  endif()
endfunction()

if(EXISTS "${WORK}")
  execute_process(COMMAND chmod -R u+w "${WORK}")
  file(REMOVE_RECURSE "${WORK}")
endif()
file(MAKE_DIRECTORY "${WORK}")

# The owner installs from a tree of its own: the tree keeps the list.
run("${CMAKE_COMMAND}" -S "${SOURCE_DIR}" -B "${WORK}/own" -G "${GENERATOR}")
run("${CMAKE_COMMAND}" --install "${WORK}/own" --prefix "${WORK}/own-prefix")
foreach(list "${WORK}/own/install_manifest.txt" "${WORK}/own-prefix/lib/installowner/install_manifest.txt")
  if(NOT EXISTS "${list}")
    string(APPEND failures "\n  the owner's install left no ${list}")
  endif()
endforeach()

execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
find_program(SETPRIV setpriv)
if(NOT uid STREQUAL "0" OR NOT SETPRIV)
  message(STATUS "Not root, or no setpriv: root's install from another user's tree is left out")
else()
  set(as_user "${SETPRIV}" --reuid=65534 --regid=65534 --clear-groups)
  set(user "${WORK}/user")
  file(MAKE_DIRECTORY "${user}")
  run(chown 65534:65534 "${user}")
  run(${as_user} "${CMAKE_COMMAND}" -S "${SOURCE_DIR}" -B "${user}/tree" -G "${GENERATOR}")
  run("${CMAKE_COMMAND}" --install "${user}/tree" --prefix "${WORK}/root-prefix")
  if(NOT EXISTS "${WORK}/root-prefix/lib/installowner/install_manifest.txt")
    string(APPEND failures "\n  root's install left no list in the prefix")
  endif()
  execute_process(COMMAND find "${user}/tree" -uid 0 OUTPUT_VARIABLE roots OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(roots)
    string(REPLACE "\n" "\n    " roots "${roots}")
    string(APPEND failures "\n  root's install left files of root's in the user's tree:\n    ${roots}")
  endif()
  # The user's `make clean`.
  execute_process(COMMAND ${as_user} "${CMAKE_COMMAND}" -E rm -rf "${user}/tree" RESULT_VARIABLE code
                  ERROR_VARIABLE text)
  if(NOT code EQUAL 0 OR EXISTS "${user}/tree")
    string(APPEND failures "\n  the user cannot remove the tree after root's install: ${text}")
  endif()
endif()

if(failures)
  message(FATAL_ERROR "Installing and the build tree's owner:${failures}")
endif()
