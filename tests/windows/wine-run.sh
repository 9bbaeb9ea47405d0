#!/bin/sh
# SPDX-License-Identifier: MIT
# Runs a program of the Windows build under Wine: the emulator of the
# windows preset, through which ctest starts every Windows test program.
#   wine-run.sh PROGRAM.exe [ARGUMENT...]
# WINEPREFIX chooses the Wine prefix (made on first use); the test preset
# gives one in the build tree, and this default is the same place.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
WINEPREFIX=${WINEPREFIX:-$here/../../build/windows/wine}
WINEDEBUG=${WINEDEBUG:--all}
# A new prefix does not offer to install Wine's Mono and Gecko.
WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# Wine draws with the host's Mesa on the host's glibc, whose heap needs the
# setting app/heap.cpp makes in the Linux game (M_TRIM_THRESHOLD 128 MB,
# M_MMAP_THRESHOLD 32 MB), or drawing a ball costs a millisecond more.
GLIBC_TUNABLES=glibc.malloc.trim_threshold=134217728:glibc.malloc.mmap_threshold=33554432
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES GLIBC_TUNABLES
exec wine "$@"
