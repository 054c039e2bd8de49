# Writes the desktop entry from its template, with the program's installed
# path in its Exec key: into the build tree when it is configured, and into
# place at an install under another prefix. Set by the install rules:
# M8_DESKTOP_EXEC_PATH, M8_DESKTOP_TEMPLATE, M8_DESKTOP_FILE.
#
# The path is quoted as one argument: a backslash, double quote, backtick or
# dollar sign in it takes a backslash, a percent sign is doubled (it starts a
# field code), and then every backslash is doubled once more because the
# value is a desktop entry string.
set(path "${M8_DESKTOP_EXEC_PATH}")
string(ASCII 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 29 30 31 127 controls)
if(path MATCHES "[${controls}]")
  message(FATAL_ERROR "The install prefix holds a control character, which a desktop entry cannot name: ${path}")
endif()
string(REPLACE "\\" "\\\\" path "${path}")
string(REPLACE "\"" "\\\"" path "${path}")
string(REPLACE "`" "\\`" path "${path}")
string(REPLACE "$" "\\$" path "${path}")
string(REPLACE "%" "%%" path "${path}")
string(REPLACE "\\" "\\\\" path "${path}")
set(M8_DESKTOP_EXEC "\"${path}\"")
configure_file("${M8_DESKTOP_TEMPLATE}" "${M8_DESKTOP_FILE}" @ONLY)
