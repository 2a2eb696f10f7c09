# Installing and packaging the two front ends (MOZA_BUILD_PACKAGING).
#  - The system layout (`cmake --install`, the .deb): executables in bin/, the data folder in
#    share/moza/data, with a desktop entry, icons, AppStream metainfo and man pages.
#  - The portable program folder (component "portable", the .tar.gz): moza/ with the executables,
#    data/ and an empty temp/ beside them, runnable wherever it is unpacked.
include(GNUInstallDirs)

set(MOZA_APP_ID io.github.moza.Moza)
set(MOZA_DIST_DIR ${PROJECT_SOURCE_DIR}/dist)

# moza_require_program(<variable> <program> <Debian package>): stops the configure, naming the package,
# when the program is not on the PATH.
function(moza_require_program variable program package)
  find_program(${variable} ${program})
  if(NOT ${variable})
    message(FATAL_ERROR "${program} is missing: MOZA_BUILD_PACKAGING needs it (Debian: apt install ${package}, "
                        "or scripts/install-deps.sh); configure with -DMOZA_BUILD_PACKAGING=OFF to build without packages")
  endif()
endfunction()
moza_require_program(MOZA_RSVG_CONVERT rsvg-convert librsvg2-bin)
moza_require_program(MOZA_HELP2MAN help2man help2man)
moza_require_program(MOZA_GZIP gzip gzip)

# Icons at the usual hicolor sizes, drawn from one SVG.
set(MOZA_DESKTOP_FILES)
foreach(size IN ITEMS 16 22 24 32 48 64 128 256)
  set(icon ${MOZA_GENERATED_DIR}/icons/${size}/${MOZA_APP_ID}.png)
  add_custom_command(OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${MOZA_GENERATED_DIR}/icons/${size}
    COMMAND ${MOZA_RSVG_CONVERT} --width ${size} --height ${size} --output ${icon} ${MOZA_DIST_DIR}/icons/moza.svg
    DEPENDS ${MOZA_DIST_DIR}/icons/moza.svg
    COMMENT "Drawing the ${size} x ${size} icon"
    VERBATIM)
  list(APPEND MOZA_DESKTOP_FILES ${icon})
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${MOZA_DIST_DIR}/icons/moza.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${MOZA_APP_ID}.svg)

# Man pages from each program's --help and --version, with the sections in docs/man.
foreach(program IN ITEMS moza-convert moza)
  set(page ${MOZA_GENERATED_DIR}/man/${program}.1)
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${MOZA_GENERATED_DIR}/man
    COMMAND ${MOZA_HELP2MAN} --no-info --locale=C.UTF-8 --include=${PROJECT_SOURCE_DIR}/docs/man/${program}.h2m --output=${page}
            $<TARGET_FILE:${program}>
    COMMAND ${MOZA_GZIP} --best --no-name --force ${page}
    DEPENDS ${program} ${PROJECT_SOURCE_DIR}/docs/man/${program}.h2m
    COMMENT "Writing the man page of ${program}"
    VERBATIM)
  list(APPEND MOZA_DESKTOP_FILES ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
add_custom_target(moza_desktop_files ALL DEPENDS ${MOZA_DESKTOP_FILES})

configure_file(${MOZA_DIST_DIR}/linux/${MOZA_APP_ID}.metainfo.xml.in ${MOZA_GENERATED_DIR}/${MOZA_APP_ID}.metainfo.xml @ONLY)
install(FILES ${MOZA_DIST_DIR}/linux/${MOZA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${MOZA_GENERATED_DIR}/${MOZA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The system layout. An installed program finds its data in ../share/moza/data from bin/.
install(TARGETS moza moza-convert RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${MOZA_PROGRAM_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/moza/data)

# The portable program folder, only when asked for by component.
install(TARGETS moza moza-convert RUNTIME DESTINATION moza COMPONENT portable EXCLUDE_FROM_ALL)
install(DIRECTORY ${MOZA_PROGRAM_DIR}/data/ DESTINATION moza/data COMPONENT portable EXCLUDE_FROM_ALL)
install(DIRECTORY DESTINATION moza/temp COMPONENT portable EXCLUDE_FROM_ALL)

if(MOZA_BUILD_TESTS)
  moza_require_program(MOZA_DESKTOP_FILE_VALIDATE desktop-file-validate desktop-file-utils)
  moza_require_program(MOZA_APPSTREAMCLI appstreamcli appstream)
  add_test(NAME DesktopEntryIsValid COMMAND ${MOZA_DESKTOP_FILE_VALIDATE} ${MOZA_DIST_DIR}/linux/${MOZA_APP_ID}.desktop)
  add_test(NAME MetainfoIsValid
           COMMAND ${MOZA_APPSTREAMCLI} validate --no-net ${MOZA_GENERATED_DIR}/${MOZA_APP_ID}.metainfo.xml)
endif()

# CPack: `cpack -G DEB` makes moza_<version>_amd64.deb, `cpack -G TGZ` the portable folder.
set(CPACK_PACKAGE_NAME moza)
set(CPACK_PACKAGE_VENDOR "Moza")
set(CPACK_PACKAGE_CONTACT "Moza maintainers <maintainers@moza.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turn a picture into a web page of character art")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://github.com/moza/moza")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB TGZ)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic")
set(CPACK_PACKAGE_DESCRIPTION "Moza cuts a picture into blocks of 3 x 3 pixels and writes, for every block, the
Japanese character whose pattern of dark and light matches it, in the block's colour
or in black: an HTML page of character art in Shift_JIS. The desktop program moza
(Japanese menus) shows the page as it is made; moza-convert makes pages from the
command line.")
set(CPACK_ARCHIVE_FILE_NAME moza-${PROJECT_VERSION}-linux-x86_64)
# Each generator takes its own layout (see cmake/templates/cpack_layout.cmake.in).
configure_file(${CMAKE_CURRENT_LIST_DIR}/templates/cpack_layout.cmake.in ${CMAKE_BINARY_DIR}/cpack_layout.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/cpack_layout.cmake)
include(CPack)
