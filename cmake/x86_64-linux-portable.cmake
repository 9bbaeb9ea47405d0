# SPDX-License-Identifier: MIT
# The portable Linux x86-64 game, for any distribution with glibc 2.17 or
# newer, libGL and the X client libraries: built in the Debian 11 root of
# scripts/portable-root with its g++ 10 against its glibc 2.31, freeglut
# (scripts/cross-deps portable) and GLU linked in statically, and libstdc++
# and libgcc too. Configured inside that root, whose CMake 3.18 reads no
# presets (scripts/run-tests portable and scripts/release do this):
#   scripts/portable-root run . cmake -S . -B build/portable -DCMAKE_BUILD_TYPE=Release \
#       -DCMAKE_TOOLCHAIN_FILE=cmake/x86_64-linux-portable.cmake
if(NOT EXISTS /etc/debian_version)
    message(FATAL_ERROR "the portable build is configured in the Debian 11 root: "
        "scripts/portable-root run . cmake ...")
endif()
file(READ /etc/debian_version zarvel_debian_version)
if(NOT zarvel_debian_version MATCHES "^11\\.")
    message(FATAL_ERROR "the portable build is configured in the Debian 11 root, "
        "not on Debian ${zarvel_debian_version}: scripts/portable-root run . cmake ...")
endif()

set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_COMPILER gcc)
set(ZARVEL_PORTABLE ON)

# freeglut's static library and its CMake package, built by scripts/cross-deps portable.
set(ZARVEL_PORTABLE_DEPS "${CMAKE_CURRENT_LIST_DIR}/../build/portable-deps/prefix"
    CACHE PATH "freeglut for the portable build, made by scripts/cross-deps portable")
get_filename_component(ZARVEL_PORTABLE_DEPS "${ZARVEL_PORTABLE_DEPS}" ABSOLUTE)
if(NOT EXISTS "${ZARVEL_PORTABLE_DEPS}/lib/libglut.a")
    message(FATAL_ERROR "No freeglut in ${ZARVEL_PORTABLE_DEPS}: run scripts/cross-deps portable")
endif()
list(APPEND CMAKE_PREFIX_PATH "${ZARVEL_PORTABLE_DEPS}")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ZARVEL_PORTABLE_DEPS)

# GLU from its static library (Debian's libglu1-mesa-dev ships one), where
# FindOpenGL would take the shared one.
set(OPENGL_glu_LIBRARY /usr/lib/x86_64-linux-gnu/libGLU.a CACHE FILEPATH "GLU, linked in")
# The C++ and GCC runtimes linked in, and none of the libraries linked in
# exported from the program: freeglut's own copy of XParseGeometry and the
# C++ runtime stay the game's, never taking the place of libX11's or of the
# one Mesa's driver loads.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libstdc++ -static-libgcc -Wl,--exclude-libs,ALL")
# The program asks for libGL.so.1, the name every Linux OpenGL has (the
# libOpenGL.so.0 of glvnd is missing on some older systems).
set(OpenGL_GL_PREFERENCE LEGACY)
# The end-to-end driver runs outside the root, on the building machine, with
# an Xvfb of its own there, and starts the game either there or in the root
# (scripts/run-tests portable): the root has no X server.
set(ZARVEL_XVFB /usr/bin/Xvfb CACHE FILEPATH "Xvfb of the machine the end-to-end tests run on")
set(ZARVEL_OPENBOX /usr/bin/openbox CACHE FILEPATH "openbox of the machine the end-to-end tests run on")
