# The version, written once in project(): MOZA_VERSION_TEXT is how the program shows it
# ("1.00.0003" for 1.0.3), and moza_version gives C++ code common/version.h with both forms.

function(moza_zero_pad value width out)
  string(LENGTH "${value}" length)
  while(length LESS width)
    string(PREPEND value "0")
    math(EXPR length "${length} + 1")
  endwhile()
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

moza_zero_pad("${PROJECT_VERSION_MINOR}" 2 _moza_minor)
moza_zero_pad("${PROJECT_VERSION_PATCH}" 4 _moza_patch)
set(MOZA_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${_moza_minor}.${_moza_patch}")

set(MOZA_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/templates/version.h.in ${MOZA_GENERATED_DIR}/common/version.h @ONLY)
# The Windows version resource of each executable: moza.rc (with the program's icon, drawn from
# the same SVG as the Linux icons, at Explorer's sizes), moza-convert.rc.
set(MOZA_RC_PROGRAM moza)
set(MOZA_RC_DESCRIPTION "Moza")
set(MOZA_RC_ICON "")
if(WIN32)
  enable_language(RC)
  find_program(MOZA_RSVG_CONVERT rsvg-convert REQUIRED)
  find_program(MOZA_IMAGEMAGICK convert REQUIRED)
  set(icon_sizes 16 24 32 48 64 256)
  set(icon_pngs)
  foreach(size IN LISTS icon_sizes)
    execute_process(COMMAND ${MOZA_RSVG_CONVERT} --width ${size} --height ${size}
                            --output ${MOZA_GENERATED_DIR}/icon-${size}.png ${PROJECT_SOURCE_DIR}/dist/icons/moza.svg
                    COMMAND_ERROR_IS_FATAL ANY)
    list(APPEND icon_pngs ${MOZA_GENERATED_DIR}/icon-${size}.png)
  endforeach()
  execute_process(COMMAND ${MOZA_IMAGEMAGICK} ${icon_pngs} ${MOZA_GENERATED_DIR}/moza.ico COMMAND_ERROR_IS_FATAL ANY)
  set(MOZA_RC_ICON "IDI_ICON1 ICON \"moza.ico\"")  # the name Qt gives its windows the icon by
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/templates/moza.rc.in ${MOZA_GENERATED_DIR}/moza.rc @ONLY)
set(MOZA_RC_PROGRAM moza-convert)
set(MOZA_RC_DESCRIPTION "Moza command-line converter")
set(MOZA_RC_ICON "")
configure_file(${CMAKE_CURRENT_LIST_DIR}/templates/moza.rc.in ${MOZA_GENERATED_DIR}/moza-convert.rc @ONLY)

add_library(moza_version INTERFACE)
add_library(moza::version ALIAS moza_version)
target_include_directories(moza_version INTERFACE ${MOZA_GENERATED_DIR})
