# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix: the
# POSIX thread model, which std::thread needs). Without Qt, programs link statically, so they run
# with no MinGW DLLs beside them; with Qt for Windows (MOZA_QT_PREFIX, made by
# scripts/build-qt-windows.sh) they use Qt's DLLs and the MinGW runtime DLLs beside them. With Wine
# installed, CTest runs them under it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MOZA_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MOZA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MOZA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MOZA_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MOZA_MINGW_TRIPLET})
if(MOZA_QT_PREFIX)
  list(APPEND CMAKE_FIND_ROOT_PATH ${MOZA_QT_PREFIX})
  list(APPEND CMAKE_PREFIX_PATH ${MOZA_QT_PREFIX})
  # Qt's build tools (moc, rcc, lrelease) are the build machine's own, of the same version.
  set(QT_HOST_PATH /usr)
  set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

if(NOT MOZA_QT_PREFIX)
  set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
endif()

find_program(MOZA_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(MOZA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${MOZA_WINE})
endif()

find_program(MOZA_CCACHE ccache)
if(MOZA_CCACHE)
  set(CMAKE_C_COMPILER_LAUNCHER ${MOZA_CCACHE})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${MOZA_CCACHE})
endif()
