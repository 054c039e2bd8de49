# An install into a fresh prefix, made read-only, works from there and writes
# nothing into it: the tools, started through their links in bin/, find the
# variant files and read a shipped PDN file.
# Run as: cmake -DBUILD_DIR=<build tree> -DPREFIX=<new folder>
#           -DBINDIR=bin -DPROGRAMDIR=lib/morventa8 -DDATADIR=share
#           -DAPP=ON|OFF -P tests/install.cmake
cmake_minimum_required(VERSION 3.22)
foreach(var BUILD_DIR PREFIX BINDIR PROGRAMDIR DATADIR)
  if(NOT ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()

set(failures "")
macro(fail text)
  string(APPEND failures "\n  ${text}")
endmacro()

# Every entry below the prefix with what it holds: a file's hash, a link's
# target; nothing is followed out of the tree.
function(snapshot out)
  file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE "${PREFIX}" "${PREFIX}/*")
  list(SORT entries)
  set(result "")
  foreach(entry IN LISTS entries)
    set(path "${PREFIX}/${entry}")
    if(IS_SYMLINK "${path}")
      file(READ_SYMLINK "${path}" what)
      set(what "link ${what}")
    elseif(IS_DIRECTORY "${path}")
      set(what "folder")
    else()
      file(SHA256 "${path}" what)
    endif()
    list(APPEND result "${entry}: ${what}")
  endforeach()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

# Runs an installed program from a working folder outside the prefix.
set(work "${BUILD_DIR}/tmp/install-run")
file(REMOVE_RECURSE "${work}")
file(MAKE_DIRECTORY "${work}")
# `out` is what it printed on the output stream, then its error stream.
function(run out rc)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY "${work}" RESULT_VARIABLE code
                  OUTPUT_VARIABLE text ERROR_VARIABLE errors TIMEOUT 120)
  set(${out} "${text}${errors}" PARENT_SCOPE)
  set(${rc} "${code}" PARENT_SCOPE)
endfunction()

# A fresh prefix (a read-only one left by an earlier run is made writable to
# be removed).
if(EXISTS "${PREFIX}")
  execute_process(COMMAND chmod -R u+w "${PREFIX}")
  file(REMOVE_RECURSE "${PREFIX}")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE code OUTPUT_VARIABLE text ERROR_VARIABLE text)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${code}):\n${text}")
endif()

# The places a desktop finds things in.
set(programs morventa8-perft morventa8-pdn morventa8-analyse)
if(APP)
  list(APPEND programs morventa8)
endif()
foreach(program IN LISTS programs)
  if(NOT IS_SYMLINK "${PREFIX}/${BINDIR}/${program}")
    fail("${BINDIR}/${program} is not a link")
  endif()
  if(NOT EXISTS "${PREFIX}/${PROGRAMDIR}/${program}" OR IS_SYMLINK "${PREFIX}/${PROGRAMDIR}/${program}")
    fail("${PROGRAMDIR}/${program} is missing")
  endif()
endforeach()
foreach(entry "variants/Russian Checkers.ini" opening.pdn "skins/Walnut.ini")
  if(NOT EXISTS "${PREFIX}/${DATADIR}/morventa8/${entry}")
    fail("${DATADIR}/morventa8/${entry} is missing")
  endif()
  if(NOT EXISTS "${PREFIX}/${PROGRAMDIR}/${entry}")
    fail("${PROGRAMDIR}/${entry} does not lead to the data")
  endif()
endforeach()
if(APP)
  set(entry "${PREFIX}/${DATADIR}/applications/morventa8.desktop")
  if(EXISTS "${entry}")
    file(STRINGS "${entry}" exec REGEX "^Exec=")
    # The prefix of this test holds a blank and no other character to escape.
    if(NOT exec STREQUAL "Exec=\"${PREFIX}/${BINDIR}/morventa8\"")
      fail("the desktop entry starts ${exec}")
    endif()
  else()
    fail("${DATADIR}/applications/morventa8.desktop is missing")
  endif()
  if(NOT EXISTS "${PREFIX}/${DATADIR}/icons/hicolor/scalable/apps/morventa8.svg")
    fail("the icon is missing")
  endif()
endif()
if(failures)
  message(FATAL_ERROR "The install into ${PREFIX} is not complete:${failures}")
endif()

# Read-only, as a system-wide install is for its users.
execute_process(COMMAND chmod -R a-w "${PREFIX}")
snapshot(before)

# A variant that exists only as a data file: the installed tool counts what
# the tool of the build tree counts.
run(built rc "${BUILD_DIR}/bin/morventa8-perft" --variant "Turkish Checkers" 4)
string(REGEX REPLACE " [0-9.]+\n" "\n" built "${built}")
run(installed rc "${PREFIX}/${BINDIR}/morventa8-perft" --variant "Turkish Checkers" 4)
string(REGEX REPLACE " [0-9.]+\n" "\n" counts "${installed}")
if(NOT rc EQUAL 0 OR NOT counts STREQUAL built OR NOT counts MATCHES "4 [0-9]+\n")
  fail("morventa8-perft --variant \"Turkish Checkers\" 4 gave (${rc}):\n${installed}\n  the build tree's tool:\n${built}")
endif()
# The shipped openings, read and replayed.
run(text rc "${PREFIX}/${BINDIR}/morventa8-pdn" "${PREFIX}/${DATADIR}/morventa8/opening.pdn")
if(NOT rc EQUAL 0 OR NOT text MATCHES "^game 1 ok" OR text MATCHES "refused")
  fail("morventa8-pdn on the shipped opening.pdn gave (${rc}):\n${text}")
endif()

snapshot(after)
if(NOT before STREQUAL after)
  set(changes "")
  foreach(entry IN LISTS after)
    if(NOT entry IN_LIST before)
      string(APPEND changes "\n    now ${entry}")
    endif()
  endforeach()
  foreach(entry IN LISTS before)
    if(NOT entry IN_LIST after)
      string(APPEND changes "\n    was ${entry}")
    endif()
  endforeach()
  fail("the prefix was written:${changes}")
endif()

# Writable again, so that the build tree can be removed by its owner.
execute_process(COMMAND chmod -R u+w "${PREFIX}")
if(failures)
  message(FATAL_ERROR "The read-only install did not work:${failures}")
endif()
message(STATUS "Installed into ${PREFIX}; the tools ran from it and wrote nothing there")
