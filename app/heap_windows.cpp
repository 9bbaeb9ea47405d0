// SPDX-License-Identifier: MIT
// How the C library's allocator treats the memory the renderer frees: on
// Windows, as it is.
#include "shell.h"

void keepFreedMemory() {
    // The setting made on Linux (heap.cpp) is glibc's mallopt, which the
    // Windows C runtime does not have. Windows' own heap keeps freed blocks
    // for reuse, and its OpenGL driver is not glibc's client, so nothing is
    // changed here. (Under Wine, Mesa runs on the host's glibc: the tests
    // give Wine the same setting through GLIBC_TUNABLES.)
}
