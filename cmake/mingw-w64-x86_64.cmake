# SPDX-License-Identifier: MIT
# Cross build for 64-bit Windows with Debian's mingw-w64 (posix thread model).
# Libraries and packages are taken from the mingw-w64 sysroot and from the
# prefixes in CMAKE_PREFIX_PATH (the cross-built freeglut and GoogleTest),
# never from the build machine's own /usr.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZARVEL_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZARVEL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZARVEL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ZARVEL_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZARVEL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# BOTH so that the cross-built prefixes given in CMAKE_PREFIX_PATH are
# searched as they are; they come before any host location.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# Every program carries libstdc++, libgcc and winpthread inside it, so it
# needs no DLL beyond those that come with Windows. The linker writes no time
# stamp into the PE header, so the same objects link to the same program.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -Wl,--no-insert-timestamp")
