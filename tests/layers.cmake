# The layers of the source only point down:
#   base (src/core/*) < rules < engine < files < game < app (src/app)
# A file includes headers of its own layer and lower ones; the core includes
# no Qt. Every include form counts: "core/rules/movegen.h", <core/...>, a
# path relative to the including file ("movegen.h", "../rules/movegen.h").
# The tests follow their code: tests/core/<layer>/ (tests/core/ itself for the
# base) includes the headers and test fixtures of its own layer and lower
# ones, so that each layer is tested without the ones above it.
# Run as: cmake -DSOURCE_DIR=<checkout> -P tests/layers.cmake
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()
# A relative SOURCE_DIR counts from the folder the check runs in.
get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)

set(M8_LAYERS base rules engine files game app)

# The layer of a path below src/ ("core/rules/movegen.h", "app/..."); empty
# when the path is not one of ours.
function(layer_of path out)
  set(result "")
  if("${path}" MATCHES "^app/")
    set(result app)
  elseif("${path}" MATCHES "^core/([^/]+)/")
    set(result "${CMAKE_MATCH_1}")
  elseif("${path}" MATCHES "^core/[^/]+$")
    set(result base)
  endif()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

# The path below src/ or tests/ that an include of `name` in `source` (a path
# below `tree`, src or tests) names; empty when it names no file of ours. A
# relative include counts from the including file's folder, wherever in the
# checkout it leads ("../../../src/core/game/gamesetup.h" from a test names
# core/game/gamesetup.h of src); a test's relative include may also name a
# source file as the include path finds it.
function(included_path tree source name out)
  set(result "")
  if("${name}" MATCHES "^(core|app)/")
    set(result "${name}")
  else()
    get_filename_component(dir "${source}" DIRECTORY)
    set(candidate "${tree}/${dir}/${name}")
    cmake_path(NORMAL_PATH candidate)
    if(candidate MATCHES "^(src|tests)/(.+)$" AND EXISTS "${SOURCE_DIR}/${candidate}")
      set(result "${CMAKE_MATCH_2}")
    else()
      set(candidate "${dir}/${name}")
      cmake_path(NORMAL_PATH candidate)
      if(NOT candidate MATCHES "^\\.\\./" AND EXISTS "${SOURCE_DIR}/src/${candidate}")
        set(result "${candidate}")
      endif()
    endif()
  endif()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

set(faults "")
set(count 0)
foreach(tree IN ITEMS src tests)
  # The tests' fixture trees hold faults on purpose; only the tests of the
  # core and the window are checked.
  if(tree STREQUAL "src")
    file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}/src" "${SOURCE_DIR}/src/*.h" "${SOURCE_DIR}/src/*.cpp")
  else()
    file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}/tests" "${SOURCE_DIR}/tests/core/*.h"
         "${SOURCE_DIR}/tests/core/*.cpp" "${SOURCE_DIR}/tests/app/*.h" "${SOURCE_DIR}/tests/app/*.cpp")
  endif()
  list(LENGTH sources n)
  math(EXPR count "${count} + ${n}")
  foreach(source IN LISTS sources)
    set(file "${tree}/${source}")
    layer_of("${source}" own)
    if(own STREQUAL "")
      continue()
    endif()
    list(FIND M8_LAYERS "${own}" ownRank)
    if(ownRank LESS 0)
      string(APPEND faults "\n  ${file}: ${own}/ is no known layer")
      continue()
    endif()
    file(STRINGS "${SOURCE_DIR}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line IN LISTS includes)
      if(NOT line MATCHES "include[ \t]*[\"<]([^\">]*)[\">]")
        string(APPEND faults "\n  ${file}: an include this check cannot read: ${line}")
        continue()
      endif()
      set(name "${CMAKE_MATCH_1}")
      included_path("${tree}" "${source}" "${name}" target)
      if(NOT target STREQUAL "")
        layer_of("${target}" targetLayer)
        if(targetLayer STREQUAL "")
          continue()
        endif()
        list(FIND M8_LAYERS "${targetLayer}" targetRank)
        if(targetRank LESS 0)
          string(APPEND faults "\n  ${file} includes ${name}: ${targetLayer}/ is no known layer")
        elseif(targetRank GREATER ownRank)
          string(APPEND faults "\n  ${file} (${own}) includes ${name} (${targetLayer})")
        endif()
      elseif(NOT own STREQUAL "app" AND name MATCHES "^(Q[A-Za-z]+|Qt[A-Za-z]*/)")
        string(APPEND faults "\n  ${file} (${own}) includes Qt: ${name}")
      endif()
    endforeach()
  endforeach()
endforeach()

# A tree without sources (a wrong SOURCE_DIR) proves nothing.
if(count EQUAL 0)
  message(FATAL_ERROR "No source files under ${SOURCE_DIR}/src or ${SOURCE_DIR}/tests")
endif()
if(faults)
  message(FATAL_ERROR "Includes that point up a layer:${faults}")
endif()
message(STATUS "Layers hold: ${count} files checked")
