// SPDX-License-Identifier: MIT
// A joystick for the end-to-end tests, preloaded into the real game. The
// toolkit looks for /dev/input/js0 with access(), opens it with open() and
// reads 8-byte joystick events from it; this library hands it the FIFO named
// by ZARVEL_FAKE_JOYSTICK instead, which the driver writes events into.
// SIGUSR1 unplugs the device: from then on every read of it fails with
// ENODEV, as a read of a joystick that was pulled out does. Without
// ZARVEL_FAKE_JOYSTICK the library changes nothing.
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

namespace {
constexpr const char* DEVICE = "/dev/input/js0";

volatile sig_atomic_t unplugged = 0;  // set once by SIGUSR1
int deviceFd = -1;                    // the game's descriptor of the FIFO, once opened

// The FIFO standing in for the device, or nullptr when none is asked for.
const char* fifoPath() { return std::getenv("ZARVEL_FAKE_JOYSTICK"); }

// True when `path` is the device and a FIFO stands in for it.
bool isFakeDevice(const char* path) {
    return path != nullptr && fifoPath() != nullptr && std::strcmp(path, DEVICE) == 0;
}

// The C library's own function of that name, the next one after this library.
template <typename Function>
Function nextFunction(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

void unplug(int) { unplugged = 1; }

// Installs the unplug signal's handler when the library is loaded.
__attribute__((constructor)) void installUnplugHandler() {
    if (fifoPath() == nullptr) return;
    struct sigaction action {};
    action.sa_handler = unplug;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGUSR1, &action, nullptr);
}
}  // namespace

// The device exists while a FIFO stands in for it.
extern "C" int access(const char* path, int mode) {
    static auto real = nextFunction<int (*)(const char*, int)>("access");
    if (isFakeDevice(path)) return 0;
    return real(path, mode);
}

// Opens the FIFO for the device. Read-write, so that the open does not wait
// for the driver and an empty FIFO reads "no data yet" (EAGAIN once the
// toolkit has made it non-blocking) instead of end of file.
extern "C" int open(const char* path, int flags, ...) {
    static auto real = nextFunction<int (*)(const char*, int, ...)>("open");
    if (isFakeDevice(path)) {
        deviceFd = real(fifoPath(), O_RDWR);
        return deviceFd;
    }
    mode_t mode = 0;
    if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE) {
        va_list arguments{};
        va_start(arguments, flags);
        mode = static_cast<mode_t>(va_arg(arguments, int));
        va_end(arguments);
    }
    return real(path, flags, mode);
}

// Reads of the device fail with ENODEV once it is unplugged.
extern "C" ssize_t read(int fd, void* buffer, size_t count) {
    static auto real = nextFunction<ssize_t (*)(int, void*, size_t)>("read");
    if (fd != -1 && fd == deviceFd && unplugged != 0) {
        errno = ENODEV;
        return -1;
    }
    return real(fd, buffer, count);
}
