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
# The Windows version resource of each executable: moza.rc, moza-convert.rc.
set(MOZA_RC_PROGRAM moza)
set(MOZA_RC_DESCRIPTION "Moza")
configure_file(${CMAKE_CURRENT_LIST_DIR}/templates/moza.rc.in ${MOZA_GENERATED_DIR}/moza.rc @ONLY)
set(MOZA_RC_PROGRAM moza-convert)
set(MOZA_RC_DESCRIPTION "Moza command-line converter")
configure_file(${CMAKE_CURRENT_LIST_DIR}/templates/moza.rc.in ${MOZA_GENERATED_DIR}/moza-convert.rc @ONLY)
if(WIN32)
  enable_language(RC)
endif()

add_library(moza_version INTERFACE)
add_library(moza::version ALIAS moza_version)
target_include_directories(moza_version INTERFACE ${MOZA_GENERATED_DIR})
