# Copies the data folders beside the program binary.
file(MAKE_DIRECTORY ${DST})
if(EXISTS ${SRC})
  file(COPY ${SRC}/ DESTINATION ${DST})
endif()
