// SPDX-License-Identifier: MIT
// A preloaded library that counts a program's buffer swaps without touching
// the program: it stands in for glXSwapBuffers, hands every call on to the
// real one, and about once a second appends "milliseconds swaps" (since the
// first swap; swaps so far) to the file named by ZARVEL_SWAP_LOG. The game
// draws one frame per step, so the swaps count its steps.
//   LD_PRELOAD=libzarvel_swap_counter.so ZARVEL_SWAP_LOG=swaps.log zarvel
#include <GL/glx.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

using SwapFunction = void (*)(Display*, GLXDrawable);
using Clock = std::chrono::steady_clock;

SwapFunction realSwap = nullptr;  // the library's own glXSwapBuffers
int logFile = -1;                 // descriptor of the log, -1 until opened
long swaps = 0;                   // swaps so far
long nextLineMs = 0;              // ms since the first swap when the next line is due
Clock::time_point firstSwap;      // when the first swap came

// Opens the log and finds the real function, at the first swap.
void start() {
    realSwap = reinterpret_cast<SwapFunction>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
    const char* path = std::getenv("ZARVEL_SWAP_LOG");
    if (path != nullptr) logFile = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    firstSwap = Clock::now();
}

// Appends one line when its second has come.
void logCount() {
    const long ms = static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - firstSwap).count());
    if (ms < nextLineMs || logFile < 0) return;
    char line[64] = {};
    const int length = std::snprintf(line, sizeof line, "%ld %ld\n", ms, swaps);
    if (write(logFile, line, static_cast<size_t>(length)) < 0) logFile = -1;
    nextLineMs = ms - ms % 1000 + 1000;
}

}  // namespace

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable) {
    if (realSwap == nullptr) start();
    if (realSwap != nullptr) realSwap(display, drawable);
    swaps++;
    logCount();
}
