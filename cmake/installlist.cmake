# The last install rule: the list of the files installed, one a line, left in
# the program folder as `install_manifest.txt` (the program reads its presence
# as "installed": it then keeps no user's files in its folder, root's neither).
# It names what to remove to uninstall, without the build tree.
#
# The build tree's own list of the same name is written after this rule, only
# when the one who installs owns the tree and can write it. Another user, and
# root installing from a user's tree (`sudo make install`), leave no file in
# it: the tree stays its owner's to rebuild and to remove.
#
# m8_install_list(PATH): PATH is the list's place below the prefix, or
# absolute.
function(m8_install_list path)
  if(NOT IS_ABSOLUTE "${path}")
    set(path "\${CMAKE_INSTALL_PREFIX}/${path}")
  endif()
  install(CODE "
    # Where the files will be, without a staging DESTDIR.
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"${path}\")
    list(JOIN CMAKE_INSTALL_MANIFEST_FILES \"\\n\" text)
    set(list \"\$ENV{DESTDIR}${path}\")
    message(STATUS \"Installing: \${list}\")
    file(WRITE \"\${list}\" \"\${text}\\n\")
    execute_process(COMMAND id -u OUTPUT_VARIABLE installer OUTPUT_STRIP_TRAILING_WHITESPACE)
    execute_process(COMMAND stat -c %u \"${CMAKE_BINARY_DIR}\" OUTPUT_VARIABLE owner
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(NOT installer STREQUAL owner)
      message(STATUS \"The build tree is another user's: the installed files are listed in \${list} only\")
      return()
    endif()
    execute_process(COMMAND \"\${CMAKE_COMMAND}\" -E touch \"${CMAKE_BINARY_DIR}/install_manifest.txt\"
                    RESULT_VARIABLE code OUTPUT_QUIET ERROR_QUIET)
    if(NOT code EQUAL 0)
      message(STATUS \"The build tree cannot be written: the installed files are listed in \${list} only\")
      return()
    endif()
  ")
endfunction()
