# SPDX-License-Identifier: MIT
# The part the Arm Linux toolchain files share. Each sets ZARVEL_ARM_TRIPLE
# (the GNU triplet of Debian's cross compiler) and ZARVEL_ARM_DEBIAN_ARCH
# (Debian's name of the architecture) and then includes this file. The
# target's libraries come from the Debian 12 sysroot that
# scripts/arm-sysroot ARCH makes, never from the build machine's /usr.
set(CMAKE_SYSTEM_NAME Linux)

# Debian's cross compilers (g++-aarch64-linux-gnu, g++-arm-linux-gnueabihf).
set(CMAKE_C_COMPILER ${ZARVEL_ARM_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${ZARVEL_ARM_TRIPLE}-g++)

# The sysroot: the compiler takes headers and libraries from it (after its
# own C and C++ libraries, the same versions), and every find_* looks in it.
set(ZARVEL_SYSROOT "${CMAKE_CURRENT_LIST_DIR}/../build/sysroot-${ZARVEL_ARM_DEBIAN_ARCH}"
    CACHE PATH "Debian 12 sysroot of the target, made by scripts/arm-sysroot")
get_filename_component(ZARVEL_SYSROOT "${ZARVEL_SYSROOT}" ABSOLUTE)
if(NOT EXISTS "${ZARVEL_SYSROOT}/usr/include/GL/glut.h")
    message(FATAL_ERROR "No sysroot in ${ZARVEL_SYSROOT}: run scripts/arm-sysroot ${ZARVEL_ARM_DEBIAN_ARCH}")
endif()
set(CMAKE_SYSROOT "${ZARVEL_SYSROOT}")
# The compiler checks CMake runs in projects of their own see the same one.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ZARVEL_SYSROOT)
# The compiler's own libraries in /usr/TRIPLE are searched as well.
set(CMAKE_FIND_ROOT_PATH "/usr/${ZARVEL_ARM_TRIPLE}")
# Programs (gzip, strip-nondeterminism, Xvfb) are the build machine's own.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
# Libraries, headers and CMake packages only from the target's roots.
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# pkg-config (which FindGLUT asks first) reads only the target's .pc files,
# and prefixes the paths in them with the sysroot; otherwise it hands over
# the build machine's libglut.
set(ENV{PKG_CONFIG_LIBDIR}
    "${ZARVEL_SYSROOT}/usr/lib/${ZARVEL_ARM_TRIPLE}/pkgconfig:${ZARVEL_SYSROOT}/usr/share/pkgconfig")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "${ZARVEL_SYSROOT}")
set(ENV{PKG_CONFIG_PATH} "")
# The linker finds the libraries that the target's libraries need in turn.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-Wl,-rpath-link,${ZARVEL_SYSROOT}/usr/lib/${ZARVEL_ARM_TRIPLE}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${CMAKE_EXE_LINKER_FLAGS_INIT}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${CMAKE_EXE_LINKER_FLAGS_INIT}")
