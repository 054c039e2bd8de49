# The engine chooses; the game plays, ends, rates and announces. No file of
# src/core/engine changes the game's flow (a field of Flow: GameOver,
# GameResult, Busy, ...), the rating flag or any rating field, or switches a
# command of the window: the drivers report what they decided, and game/
# applies it. GameOver, GameResult, Busy and RatedGame may only be compared.
# The engine is given a PositionState, which has neither the flow nor the
# rating (the compiler keeps it from them, see engine_cannot_reach_game_flow);
# no engine file names GameState, so that none casts its way back to them.
# Comments do not count.
# Run as: cmake -DSOURCE_DIR=<checkout> -P tests/engineflow.cmake
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()
# A relative SOURCE_DIR counts from the folder the check runs in.
get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)

set(field "[A-Za-z0-9_]+")
set(flowState "(Flow|Rating)\\.${field}")
set(flowKeys "(Flow\\.(GameOver|GameResult|Busy)|Rating\\.RatedGame)")

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}"
     "${SOURCE_DIR}/src/core/engine/*.h" "${SOURCE_DIR}/src/core/engine/*.cpp")
set(faults "")
foreach(source IN LISTS sources)
  file(STRINGS "${SOURCE_DIR}/${source}" lines REGEX "Flow\\.|Rating\\.|setCommand|GameState")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "//.*$" "" code "${line}")
    string(STRIP "${code}" shown)
    if(code MATCHES "(^|[^A-Za-z0-9_])GameState([^A-Za-z0-9_]|$)")
      string(APPEND faults "\n  ${source} names GameState: ${shown}")
    endif()
    if(code MATCHES "setCommand(Enabled|Checked)")
      string(APPEND faults "\n  ${source} switches a command: ${shown}")
    endif()
    set(assigned "")
    foreach(pattern
            "${flowState}[ \t]*([-+*/%|&^]?=[^=]|\\+\\+|--)"
            "(\\+\\+|--)[ \t]*[A-Za-z0-9_.>-]*${flowState}"
            "${flowState}\\.(clear|assign|append|push_back|swap|resize|insert|erase|replace)[ \t]*\\(")
      if(assigned STREQUAL "" AND code MATCHES "${pattern}")
        string(REGEX MATCH "${flowState}" assigned "${CMAKE_MATCH_0}")
      endif()
    endforeach()
    if(NOT assigned STREQUAL "")
      string(APPEND faults "\n  ${source} assigns ${assigned}: ${shown}")
      continue()
    endif()
    # What is left of the four once their comparisons are taken out is a use
    # that may change them (a reference bound, an argument passed).
    string(REGEX REPLACE "${flowKeys}[ \t]*[!=]=" "" rest "${code}")
    if(rest MATCHES "${flowKeys}")
      string(APPEND faults "\n  ${source} uses ${CMAKE_MATCH_0} other than in a comparison: ${shown}")
    endif()
  endforeach()
endforeach()

list(LENGTH sources count)
# A tree without engine sources (a wrong SOURCE_DIR) proves nothing.
if(count EQUAL 0)
  message(FATAL_ERROR "No engine source files under ${SOURCE_DIR}/src/core/engine")
endif()
if(faults)
  message(FATAL_ERROR "The engine reaches into the game's flow:${faults}")
endif()
message(STATUS "The engine leaves the game's flow alone: ${count} files checked")
