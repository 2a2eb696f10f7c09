# The build folder mirrors the installed program folder: executables with data/ and an empty temp/ beside them.
set(MOZA_PROGRAM_DIR ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${MOZA_PROGRAM_DIR})

add_custom_target(moza_program_folder ALL
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/data ${MOZA_PROGRAM_DIR}/data
  COMMAND ${CMAKE_COMMAND} -E make_directory ${MOZA_PROGRAM_DIR}/temp
  COMMENT "Laying out the program folder in ${MOZA_PROGRAM_DIR}"
  VERBATIM)
