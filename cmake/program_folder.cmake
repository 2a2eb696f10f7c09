# The build folder mirrors the installed program folder: executables with data/ and an empty temp/ beside them.
set(MOZA_PROGRAM_DIR ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${MOZA_PROGRAM_DIR})

# The version page shows the version from project(); the rest of data/ is copied as it is.
configure_file(${CMAKE_CURRENT_LIST_DIR}/templates/version.html.in ${MOZA_GENERATED_DIR}/data/version.html @ONLY)

# Windows has no IPAGothic, the font pages are drawn in: there the program folder carries Debian's
# copy of it (fonts-ipafont-gothic) with its licence, registered by the desktop program at start.
set(moza_font_commands)
if(WIN32 AND MOZA_BUILD_UI AND NOT MOZA_CORE_ONLY)
  set(font_folder /usr/share/fonts/opentype/ipafont-gothic)
  find_file(MOZA_GLYPH_FONT_FILE ipag.ttf PATHS ${font_folder} NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  set(moza_font_commands
    COMMAND ${CMAKE_COMMAND} -E make_directory ${MOZA_PROGRAM_DIR}/data/fonts
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${MOZA_GLYPH_FONT_FILE} ${MOZA_PROGRAM_DIR}/data/fonts/ipag.ttf
    COMMAND ${CMAKE_COMMAND} -E copy_if_different /usr/share/doc/fonts-ipafont-gothic/copyright
            ${MOZA_PROGRAM_DIR}/data/fonts/IPA_Font_License.txt)
endif()

add_custom_target(moza_program_folder ALL
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/data ${MOZA_PROGRAM_DIR}/data
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${MOZA_GENERATED_DIR}/data/version.html ${MOZA_PROGRAM_DIR}/data/version.html
  COMMAND ${CMAKE_COMMAND} -E make_directory ${MOZA_PROGRAM_DIR}/temp
  ${moza_font_commands}
  COMMENT "Laying out the program folder in ${MOZA_PROGRAM_DIR}"
  VERBATIM)
