# SPDX-License-Identifier: MIT
# Cross build for 64-bit Arm Linux with Debian's g++-aarch64-linux-gnu, for
# the headless libraries and their tests, which run under qemu-user.
# Libraries and packages are taken from the arm64 sysroot and from the
# prefixes in CMAKE_PREFIX_PATH (the cross-built GoogleTest), never from the
# build machine's own /usr.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)

set(CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# BOTH so that the cross-built prefixes given in CMAKE_PREFIX_PATH are
# searched as they are; they come before any host location.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
