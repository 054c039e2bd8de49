# Installs Morventa8 like a desktop program:
#
#   <prefix>/lib/morventa8/           the program and its tools (the program
#                                     folder), with one relative link per data
#                                     entry to the shared data
#   <prefix>/share/morventa8/         the data: variants, skins, books, sounds,
#                                     pieces, opening.pdn
#   <prefix>/bin/                     links to the program and its tools
#   <prefix>/share/applications/      morventa8.desktop
#   <prefix>/share/icons/hicolor/scalable/apps/morventa8.svg
#
# The program and the tools read their data beside their own binary, found
# through the links in bin/ to the real file; from the program folder the
# data links lead to share/. A program folder the user cannot write (the
# usual system-wide install) keeps the user's files in the user's data folder.
# All links are relative, so the tree may be installed under any prefix and
# staged with DESTDIR.
include(GNUInstallDirs)

set(M8_INSTALL_PROGRAMDIR "${CMAKE_INSTALL_LIBDIR}/morventa8")
set(M8_INSTALL_DATADIR "${CMAKE_INSTALL_DATADIR}/morventa8")

# The relative path from the folder `from` to `to` (both below the prefix).
function(m8_relative_path from to out)
  set(a "${CMAKE_INSTALL_PREFIX}/${from}")
  set(b "${CMAKE_INSTALL_PREFIX}/${to}")
  if(IS_ABSOLUTE "${from}")
    set(a "${from}")
  endif()
  if(IS_ABSOLUTE "${to}")
    set(b "${to}")
  endif()
  cmake_path(RELATIVE_PATH b BASE_DIRECTORY "${a}" OUTPUT_VARIABLE rel)
  set(${out} "${rel}" PARENT_SCOPE)
endfunction()

# A symbolic link made in the build tree, installed as a link.
set(M8_LINK_DIR "${CMAKE_BINARY_DIR}/install-links")
function(m8_install_link target name destination)
  set(link "${M8_LINK_DIR}/${destination}/${name}")
  get_filename_component(dir "${link}" DIRECTORY)
  file(MAKE_DIRECTORY "${dir}")
  file(REMOVE "${link}")
  file(CREATE_LINK "${target}" "${link}" SYMBOLIC)
  install(FILES "${link}" DESTINATION "${destination}")
endfunction()

# The program and its tools in the program folder, each linked from bin/.
set(M8_INSTALLED_PROGRAMS ${M8_TOOL_TARGETS})
if(TARGET morventa8)
  list(PREPEND M8_INSTALLED_PROGRAMS morventa8)
endif()
install(TARGETS ${M8_INSTALLED_PROGRAMS} RUNTIME DESTINATION "${M8_INSTALL_PROGRAMDIR}")
m8_relative_path("${CMAKE_INSTALL_BINDIR}" "${M8_INSTALL_PROGRAMDIR}" M8_BIN_TO_PROGRAMS)
foreach(program IN LISTS M8_INSTALLED_PROGRAMS)
  m8_install_link("${M8_BIN_TO_PROGRAMS}/${program}" "${program}" "${CMAKE_INSTALL_BINDIR}")
endforeach()

# The data in share/, each of its entries linked from the program folder.
install(DIRECTORY "${CMAKE_SOURCE_DIR}/data/" DESTINATION "${M8_INSTALL_DATADIR}")
m8_relative_path("${M8_INSTALL_PROGRAMDIR}" "${M8_INSTALL_DATADIR}" M8_PROGRAMS_TO_DATA)
file(GLOB M8_DATA_ENTRIES RELATIVE "${CMAKE_SOURCE_DIR}/data" CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/data/*")
foreach(entry IN LISTS M8_DATA_ENTRIES)
  m8_install_link("${M8_PROGRAMS_TO_DATA}/${entry}" "${entry}" "${M8_INSTALL_PROGRAMDIR}")
endforeach()

# The desktop entry names the program by its full installed path, quoted and
# escaped as desktop entries require. It is made with the build tree, for the
# prefix configured, and an install there only copies it. An install under
# another prefix (`cmake --install --prefix DIR`) writes the entry for that
# prefix straight into its place. Neither writes into the build tree: the one
# who installs may not own it (another user, or root in a user's tree).
if(TARGET morventa8)
  set(M8_DESKTOP_TEMPLATE "${CMAKE_SOURCE_DIR}/desktop/morventa8.desktop.in")
  set(M8_DESKTOP_EXEC_PATH "${CMAKE_INSTALL_FULL_BINDIR}/morventa8")
  set(M8_DESKTOP_FILE "${CMAKE_BINARY_DIR}/desktop/morventa8.desktop")
  include("${CMAKE_SOURCE_DIR}/cmake/desktopentry.cmake")
  install(CODE "
    if(CMAKE_INSTALL_PREFIX STREQUAL \"${CMAKE_INSTALL_PREFIX}\")
      file(INSTALL DESTINATION \"${CMAKE_INSTALL_FULL_DATADIR}/applications\" TYPE FILE
           FILES \"${M8_DESKTOP_FILE}\")
    else()
      set(M8_DESKTOP_TEMPLATE \"${M8_DESKTOP_TEMPLATE}\")
      set(M8_DESKTOP_EXEC_PATH \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/morventa8\")
      set(M8_DESKTOP_FILE \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications/morventa8.desktop\")
      if(IS_ABSOLUTE \"${CMAKE_INSTALL_BINDIR}\")
        set(M8_DESKTOP_EXEC_PATH \"${CMAKE_INSTALL_BINDIR}/morventa8\")
      endif()
      if(IS_ABSOLUTE \"${CMAKE_INSTALL_DATADIR}\")
        set(M8_DESKTOP_FILE \"${CMAKE_INSTALL_DATADIR}/applications/morventa8.desktop\")
      endif()
      # The list of installed files names them without a staging DESTDIR.
      list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${M8_DESKTOP_FILE}\")
      set(M8_DESKTOP_FILE \"\$ENV{DESTDIR}\${M8_DESKTOP_FILE}\")
      message(STATUS \"Installing: \${M8_DESKTOP_FILE}\")
      include(\"${CMAKE_SOURCE_DIR}/cmake/desktopentry.cmake\")
    endif()
  ")
  install(FILES "${CMAKE_SOURCE_DIR}/desktop/morventa8.svg"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
endif()

# The last install rule: the list of the files installed (see
# installlist.cmake).
include("${CMAKE_SOURCE_DIR}/cmake/installlist.cmake")
m8_install_list("${M8_INSTALL_PROGRAMDIR}/install_manifest.txt")
