// SPDX-License-Identifier: MIT
// A display that syncs buffer swaps, for the end-to-end tests, preloaded into
// the real game. Mesa's software renderer on Xvfb never waits in a swap;
// most GPU drivers start a window at swap interval 1, where every swap waits
// for the display's next refresh. With ZARVEL_SYNCED_DISPLAY set this library
// acts as such a driver on a 60 Hz display: the extension list names
// GLX_EXT_swap_control and GLX_MESA_swap_control, the interval starts at 1,
// and while it is 1 or more glXSwapBuffers waits for the next 1/60 s tick.
// Each SIGUSR2 turns the syncing off or on again, for comparison.
// Without ZARVEL_SYNCED_DISPLAY the real driver's swap control is used as it is.
// With ZARVEL_SWAP_INTERVAL_LOG set, every interval the program asks for is
// written to that file as "EXT|MESA asked N, interval before B after A" (the
// interval as glXQueryDrawable reports it, -1 when it cannot be read), and
// the first swap that waits for the display as "a swap waited".
#include <GL/glx.h>
#include <GL/glxext.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
using GetProcAddress = void (*(*)(const GLubyte*))();

constexpr auto REFRESH = std::chrono::nanoseconds(1000000000 / 60);  // one 60 Hz tick

const Clock::time_point loaded = Clock::now();  // ticks count from here
unsigned int standInInterval = 1;               // the interval while standing in
volatile sig_atomic_t syncing = 1;              // 0 while swaps never wait (SIGUSR2 flips it)

// True when this library stands in for a driver with a synced display.
bool standingIn() { return std::getenv("ZARVEL_SYNCED_DISPLAY") != nullptr; }

void flipSyncing(int) { syncing = syncing != 0 ? 0 : 1; }

// Installs the handler of SIGUSR2 when the library is loaded.
__attribute__((constructor)) void installFlipHandler() {
    if (!standingIn()) return;
    struct sigaction action {};
    action.sa_handler = flipSyncing;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGUSR2, &action, nullptr);
}

// The next library's function of that name.
template <typename Function>
Function nextFunction(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

// The driver's own swap-interval function of that name, or null.
template <typename Function>
Function driverFunction(const char* name) {
    static auto real = nextFunction<GetProcAddress>("glXGetProcAddressARB");
    return reinterpret_cast<Function>(real(reinterpret_cast<const GLubyte*>(name)));
}

// The swap interval of the current drawable as the driver reports it, or -1.
int reportedInterval() {
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    if (standingIn()) return static_cast<int>(standInInterval);
    if (display == nullptr || drawable == None) return -1;
    unsigned int value = 0;
    glXQueryDrawable(display, drawable, GLX_SWAP_INTERVAL_EXT, &value);
    return static_cast<int>(value);
}

// Appends one line to the log, when one is asked for.
void logLine(const char* line) {
    const char* path = std::getenv("ZARVEL_SWAP_INTERVAL_LOG");
    if (path == nullptr) return;
    const int file = open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (file < 0) return;
    if (write(file, line, std::strlen(line)) < 0) std::perror("swap interval log");
    close(file);
}

// Logs an interval asked for, with the interval before and after.
void logRequest(const char* extension, int asked, int before, int after) {
    char line[96] = {};
    std::snprintf(line, sizeof line, "%s asked %d, interval before %d after %d\n", extension, asked,
                  before, after);
    logLine(line);
}

void swapIntervalExt(Display* display, GLXDrawable drawable, int interval) {
    const int before = reportedInterval();
    if (standingIn()) {
        if (interval >= 0) standInInterval = static_cast<unsigned int>(interval);
    } else {
        const auto function = driverFunction<PFNGLXSWAPINTERVALEXTPROC>("glXSwapIntervalEXT");
        if (function != nullptr) function(display, drawable, interval);
    }
    logRequest("EXT", interval, before, reportedInterval());
}

int swapIntervalMesa(unsigned int interval) {
    const int before = reportedInterval();
    int status = 0;
    if (standingIn()) {
        standInInterval = interval;
    } else {
        const auto function = driverFunction<PFNGLXSWAPINTERVALMESAPROC>("glXSwapIntervalMESA");
        status = function != nullptr ? function(interval) : GLX_BAD_CONTEXT;
    }
    logRequest("MESA", static_cast<int>(interval), before, reportedInterval());
    return status;
}

// This library's swap-interval functions for their names, else the driver's.
void (*procAddress(const char* lookup, const GLubyte* name))() {
    const char* text = reinterpret_cast<const char*>(name);
    if (std::strcmp(text, "glXSwapIntervalEXT") == 0) {
        return reinterpret_cast<void (*)()>(swapIntervalExt);
    }
    if (std::strcmp(text, "glXSwapIntervalMESA") == 0) {
        return reinterpret_cast<void (*)()>(swapIntervalMesa);
    }
    return nextFunction<GetProcAddress>(lookup)(name);
}

}  // namespace

extern "C" void (*glXGetProcAddressARB(const GLubyte* name))() {
    return procAddress("glXGetProcAddressARB", name);
}

extern "C" void (*glXGetProcAddress(const GLubyte* name))() {
    return procAddress("glXGetProcAddress", name);
}

// The driver's list, and while standing in the two swap-control extensions.
extern "C" const char* glXQueryExtensionsString(Display* display, int screen) {
    static auto real = nextFunction<const char* (*)(Display*, int)>("glXQueryExtensionsString");
    static std::string extended;
    const char* list = real(display, screen);
    if (!standingIn()) return list;
    extended =
        std::string(list != nullptr ? list : "") + " GLX_EXT_swap_control GLX_MESA_swap_control ";
    return extended.c_str();
}

// While standing in at interval 1 or more, the swap waits for the next tick.
extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable) {
    static auto real = nextFunction<void (*)(Display*, GLXDrawable)>("glXSwapBuffers");
    if (standingIn() && syncing != 0 && standInInterval >= 1) {
        static bool waited = false;
        if (!waited) logLine("a swap waited\n");
        waited = true;
        const auto ticks = (Clock::now() - loaded) / REFRESH + 1;
        std::this_thread::sleep_until(loaded + ticks * REFRESH);
    }
    real(display, drawable);
}
