# An install into a fresh prefix works from there and writes nothing into it.
# The program, started offscreen by the user who installed it (root, as for
# a system-wide install) on the prefix as installed, which that user could
# write, keeps its files in its own data folder. Made read-only, the prefix
# serves the tools, started through their links in bin/ (they find the
# variant files and read a shipped PDN file), and the program started by
# another user: root's files in the program folder do not reach that user.
# Another user, who owns neither the build tree nor its files, installs from
# it too, desktop entry and icon included, and uninstalls with the list the
# install leaves.
# Run as: cmake -DBUILD_DIR=<build tree> -DPREFIX=<new folder>
#           -DBINDIR=bin -DPROGRAMDIR=lib/morventa8 -DDATADIR=share
#           -DCONFIGURED_PREFIX=<the build tree's CMAKE_INSTALL_PREFIX>
#           -DAPP=ON|OFF -P tests/install.cmake
# Switching to another user takes root; run by another user, the test says
# that it leaves those parts out.
cmake_minimum_required(VERSION 3.22)
foreach(var BUILD_DIR PREFIX BINDIR PROGRAMDIR DATADIR CONFIGURED_PREFIX)
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
# `out` is what it printed on the output stream, then its error stream
# (without an install's line for each file).
function(run out rc)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY "${work}" RESULT_VARIABLE code
                  OUTPUT_VARIABLE text ERROR_VARIABLE errors TIMEOUT 120)
  string(REGEX REPLACE "-- (Installing|Up-to-date): [^\n]*\n" "" text "${text}")
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
# The desktop entry and its icon below `data` (the data folder as installed,
# DESTDIR included), the entry starting the program in `bin` (as it will be).
# The prefixes of this test hold a blank and no other character to escape.
function(check_desktop_entry data bin)
  set(entry "${data}/applications/morventa8.desktop")
  if(EXISTS "${entry}")
    file(STRINGS "${entry}" exec REGEX "^Exec=")
    if(NOT exec STREQUAL "Exec=\"${bin}/morventa8\"")
      fail("${entry} starts ${exec}")
    endif()
  else()
    fail("${entry} is missing")
  endif()
  if(NOT EXISTS "${data}/icons/hicolor/scalable/apps/morventa8.svg")
    fail("the icon is missing in ${data}/icons")
  endif()
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

# The list of the installed files in the program folder `programs` (DESTDIR
# included) names `file` and the list itself as they will be, under `prefix`.
function(check_install_list programs prefix file)
  set(list "${programs}/install_manifest.txt")
  if(EXISTS "${list}")
    file(STRINGS "${list}" listed)
    foreach(name "${file}" "${prefix}/${PROGRAMDIR}/install_manifest.txt")
      if(NOT name IN_LIST listed)
        fail("${list} does not name ${name}")
      endif()
    endforeach()
  else()
    fail("${list} is missing")
  endif()
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

if(APP)
  check_desktop_entry("${PREFIX}/${DATADIR}" "${PREFIX}/${BINDIR}")
  check_install_list("${PREFIX}/${PROGRAMDIR}" "${PREFIX}" "${PREFIX}/${DATADIR}/applications/morventa8.desktop")
endif()
if(failures)
  message(FATAL_ERROR "The install into ${PREFIX} is not complete:${failures}")
endif()

# The prefix holds what it held when `snapshot(${taken})` was taken.
function(check_unchanged taken what)
  snapshot(now)
  if(NOT ${taken} STREQUAL now)
    set(changes "")
    foreach(entry IN LISTS now)
      if(NOT entry IN_LIST ${taken})
        string(APPEND changes "\n    now ${entry}")
      endif()
    endforeach()
    foreach(entry IN LISTS ${taken})
      if(NOT entry IN_LIST now)
        string(APPEND changes "\n    was ${entry}")
      endif()
    endforeach()
    fail("${what} wrote into the prefix:${changes}")
  endif()
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

# The test runs as root where it can (as the CI does): the other user is
# nobody, switched to for a command by `as_other`.
execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
set(as_other "")
set(other_id 65534)
if(uid STREQUAL "0")
  find_program(SETPRIV setpriv)
  if(SETPRIV)
    set(as_other "${SETPRIV}" --reuid=${other_id} --regid=${other_id} --clear-groups)
  else()
    message(STATUS "setpriv (util-linux) is missing: the parts as another user are left out")
  endif()
else()
  message(STATUS "Run by user ${uid}, not root: the parts as another user are left out")
endif()
if(as_other)
  run(text rc ${as_other} test -x "${PREFIX}/${BINDIR}/morventa8-perft")
  if(NOT rc EQUAL 0)
    message(STATUS "User ${other_id} cannot reach ${PREFIX} (a folder above it is closed to others): the parts as another user are left out")
    set(as_other "")
  endif()
endif()
# A home folder for a user of the program (`user` empty: the test's own,
# else nobody), with its data folder.
function(make_home home user)
  file(REMOVE_RECURSE "${home}")
  file(MAKE_DIRECTORY "${home}/data" "${home}/config" "${home}/cache" "${home}/runtime")
  execute_process(COMMAND chmod 700 "${home}/runtime")
  if(user)
    execute_process(COMMAND chown -R ${other_id}:${other_id} "${home}")
  endif()
endfunction()

# The program, started offscreen from the prefix with its home in
# `home`, runs until it has chosen where to keep its user's files (it made
# its data folder, or one of the paths `started` shows), and ends on SIGTERM
# as at a logout, saving like Exit. ARGN switches the user.
function(start_and_end home who started)
  list(APPEND started "${home}/data/Morventa8/variants/uservariants")
  run(text rc sh "${CMAKE_CURRENT_LIST_DIR}/startandend.sh" 90 ${started} --
      ${ARGN} env "HOME=${home}" "XDG_DATA_HOME=${home}/data" "XDG_CONFIG_HOME=${home}/config"
      "XDG_CACHE_HOME=${home}/cache" "XDG_RUNTIME_DIR=${home}/runtime" QT_QPA_PLATFORM=offscreen
      ASAN_OPTIONS=detect_leaks=0 "${PREFIX}/${BINDIR}/morventa8")
  if(NOT rc EQUAL 0)
    fail("the program run by ${who} ended with ${rc}:\n${text}")
  endif()
  foreach(name tavrin.ini tavrin.rtg tavrin.sav tavrin.log)
    if(NOT EXISTS "${home}/data/Morventa8/${name}")
      fail("the program run by ${who} did not write ${name} into its data folder ${home}/data/Morventa8")
    endif()
  endforeach()
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

# As installed, the prefix is its installer's to write (root's, as with
# `sudo make install`). The installer runs the program first: its files go to
# its own data folder and nothing into the prefix, though it could write
# there.
if(APP)
  snapshot(as_installed)
  set(first "${work}/first user")
  make_home("${first}" "")
  start_and_end("${first}" "the installing user" "${PREFIX}/${PROGRAMDIR}/tavrin.log")
  check_unchanged(as_installed "the program run by the installing user")
endif()

# Then read-only, as a system-wide install is for its users.
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

check_unchanged(before "the tools")

if(APP AND as_other)
  # Root's files where an earlier version, run by root, left them: in the
  # program folder, root's own, marked with root's name and a line of its
  # log. Another user's first start takes none of them over.
  set(programs "${PREFIX}/${PROGRAMDIR}")
  foreach(name tavrin.ini tavrin.rtg tavrin.sav tavrin.log)
    set(from "${first}/data/Morventa8/${name}")
    if(NOT EXISTS "${from}")
      set(from "${programs}/${name}")
    endif()
    if(EXISTS "${from}")
      file(READ "${from}" bytes)
      string(REGEX REPLACE "([\n=])Player([\r\n])" "\\1Rootadmin\\2" bytes "${bytes}")
      if(name STREQUAL "tavrin.log")
        string(APPEND bytes "Rootadmin's own log line\r\n")
      endif()
      file(WRITE "${programs}/${name}" "${bytes}")
    endif()
  endforeach()
  snapshot(planted)
  set(second "${work}/second user")
  make_home("${second}" nobody)
  start_and_end("${second}" "another user" "" ${as_other})
  file(GLOB_RECURSE taken "${second}/data/*")
  foreach(file IN LISTS taken)
    file(READ "${file}" bytes)
    if(bytes MATCHES "Rootadmin")
      fail("${file} of another user holds root's files' content")
    endif()
  endforeach()
  check_unchanged(planted "the program run by another user")
  foreach(name tavrin.ini tavrin.rtg tavrin.sav tavrin.log)
    file(REMOVE "${programs}/${name}")
  endforeach()
endif()

# Writable again, so that the build tree can be removed by its owner.
execute_process(COMMAND chmod -R u+w "${PREFIX}")
if(failures)
  message(FATAL_ERROR "The read-only install did not work:${failures}")
endif()

# Another user, who owns neither the build tree nor anything in it, installs
# from it: under a prefix of that user's (`--prefix`), and staged for the
# configured prefix (DESTDIR). Then the list left in the program folder
# uninstalls, as the README says.
set(installer "${work}/installing user")
set(installer_user "")
if(as_other)
  set(installer_user nobody)
endif()
make_home("${installer}" "${installer_user}")
set(other_prefix "${installer}/a prefix")
run(text rc ${as_other} "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${other_prefix}")
if(NOT rc EQUAL 0)
  fail("cmake --install --prefix by another user failed (${rc}):\n${text}")
elseif(APP)
  check_desktop_entry("${other_prefix}/${DATADIR}" "${other_prefix}/${BINDIR}")
  check_install_list("${other_prefix}/${PROGRAMDIR}" "${other_prefix}" "${other_prefix}/${BINDIR}/morventa8")
endif()
set(stage "${installer}/stage")
run(text rc ${as_other} env "DESTDIR=${stage}" "${CMAKE_COMMAND}" --install "${BUILD_DIR}")
if(NOT rc EQUAL 0)
  fail("cmake --install with DESTDIR by another user failed (${rc}):\n${text}")
elseif(APP)
  check_desktop_entry("${stage}${CONFIGURED_PREFIX}/${DATADIR}" "${CONFIGURED_PREFIX}/${BINDIR}")
  check_install_list("${stage}${CONFIGURED_PREFIX}/${PROGRAMDIR}" "${CONFIGURED_PREFIX}"
                     "${CONFIGURED_PREFIX}/${DATADIR}/applications/morventa8.desktop")
endif()
run(text rc ${as_other} sh -c [[
  xargs -d '\n' rm -f -- < "$1/install_manifest.txt" && rm -r "$1" "$2"
]] uninstall "${other_prefix}/${PROGRAMDIR}" "${other_prefix}/${DATADIR}/morventa8")
file(GLOB_RECURSE left "${other_prefix}/*")
if(NOT rc EQUAL 0 OR left)
  list(SUBLIST left 0 5 some)
  list(JOIN some "\n    " some)
  fail("the uninstall gave (${rc}) ${text}and left, among others:\n    ${some}")
endif()
file(REMOVE_RECURSE "${installer}")
if(failures)
  message(FATAL_ERROR "The install by another user did not work:${failures}")
endif()
message(STATUS "Installed into ${PREFIX}; the tools and the program ran from it and wrote nothing there")
