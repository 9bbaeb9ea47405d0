# SPDX-License-Identifier: MIT
# Cross build for 64-bit Arm Linux (Debian arm64, Raspberry Pi OS 64-bit)
# with Debian's g++-aarch64-linux-gnu, against the sysroot of
# scripts/arm-sysroot arm64; the tests run under qemu-aarch64.
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(ZARVEL_ARM_TRIPLE aarch64-linux-gnu)
set(ZARVEL_ARM_DEBIAN_ARCH arm64)
include("${CMAKE_CURRENT_LIST_DIR}/ZarvelArmLinux.cmake")
