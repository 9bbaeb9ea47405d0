// SPDX-License-Identifier: MIT
// How the C library's allocator treats the memory the renderer frees: on
// Windows, as it is.
#include "shell.h"

void keepFreedMemory() {
    // The setting the Linux game makes (heap.cpp) is glibc's mallopt, made
    // for Mesa's renderer; the Windows C runtime has no such call, and the
    // OpenGL driver there is the system's. Under Wine, where Mesa runs on the
    // host's glibc, the tests give Wine the same setting (GLIBC_TUNABLES).
}
