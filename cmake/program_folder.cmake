# The build folder mirrors the installed program folder: executables with data/ and an empty temp/ beside them.
set(MOZA_PROGRAM_DIR ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${MOZA_PROGRAM_DIR})

# The version page shows the version from project(); the rest of data/ is copied as it is.
configure_file(${CMAKE_CURRENT_LIST_DIR}/templates/version.html.in ${MOZA_GENERATED_DIR}/data/version.html @ONLY)

add_custom_target(moza_program_folder ALL
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/data ${MOZA_PROGRAM_DIR}/data
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${MOZA_GENERATED_DIR}/data/version.html ${MOZA_PROGRAM_DIR}/data/version.html
  COMMAND ${CMAKE_COMMAND} -E make_directory ${MOZA_PROGRAM_DIR}/temp
  COMMENT "Laying out the program folder in ${MOZA_PROGRAM_DIR}"
  VERBATIM)
