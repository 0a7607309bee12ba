# Cross build for 64-bit Windows with mingw-w64 (POSIX threading flavour). Programs built here
# run under Wine through scripts/wine-run.sh, which needs a session started by
# scripts/wine-session.sh for the same build tree.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(HKM_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${HKM_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${HKM_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${HKM_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${HKM_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Packages: the cross sysroot first, then the paths as given, so that a program configured with
# CMAKE_PREFIX_PATH at an installed kit (examples/minimal-host) finds find_package(HotKeyManager).
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# The wrapper gets the build tree first so that it finds that tree's Wine prefix and display.
get_filename_component(HKM_SCRIPTS_DIR "${CMAKE_CURRENT_LIST_DIR}/../scripts" ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${HKM_SCRIPTS_DIR}/wine-run.sh;${CMAKE_BINARY_DIR}")
