// SPDX-License-Identifier: MIT
// How the C library's allocator treats the memory the renderer frees.
#include <malloc.h>

#include "shell.h"

void keepFreedMemory() {
    // Mesa's software renderer mallocs and frees a large block for every
    // ball it draws. By default glibc hands the top of the heap back to the
    // system after each free and the next ball faults it in afresh, which
    // made a ball cost about 1.2 ms instead of 0.2 ms. Freed memory is kept
    // for reuse instead: the heap stays at the renderer's peak, a few MB.
    mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
}
