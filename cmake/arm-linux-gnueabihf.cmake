# SPDX-License-Identifier: MIT
# Cross build for 32-bit Arm Linux (Debian armhf: ARMv7 with VFPv3-D16, hard
# float; Raspberry Pi OS 32-bit on the Pi 2 and later) with Debian's
# g++-arm-linux-gnueabihf, against the sysroot of scripts/arm-sysroot armhf;
# the tests run under qemu-arm.
set(CMAKE_SYSTEM_PROCESSOR arm)
set(ZARVEL_ARM_TRIPLE arm-linux-gnueabihf)
set(ZARVEL_ARM_DEBIAN_ARCH armhf)
include("${CMAKE_CURRENT_LIST_DIR}/ZarvelArmLinux.cmake")
# GCC notes on every std::vector iterator passed by value that GCC 7.1 changed
# how such arguments are passed; all of the program is built by one compiler.
set(CMAKE_CXX_FLAGS_INIT "-Wno-psabi")
