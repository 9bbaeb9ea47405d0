// SPDX-License-Identifier: MIT
// The step's time base: elapsed real time, never processor time.
#include <chrono>
#include <cstdint>
#include <thread>

#include "sim.h"

namespace {
using Clock = std::chrono::steady_clock;

// Taken during static initialisation, so readings start near 0 with the process.
const Clock::time_point processStart = Clock::now();

// Milliseconds since the process started, not wrapped.
int64_t elapsedMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - processStart)
        .count();
}
}  // namespace

int processMilliseconds() {
    // An int clock wraps after 24.8 days; the step measures across the wrap.
    return static_cast<int>(static_cast<uint32_t>(elapsedMilliseconds()));
}

void sleepUntilMilliseconds(int dueMs, int wakeEarlyUs) {
    const int64_t now = elapsedMilliseconds();
    const int ahead = millisecondsBetween(static_cast<int>(static_cast<uint32_t>(now)), dueMs);
    if (ahead <= 0) {
        return;
    }
    // The clock reads dueMs from this instant on.
    const Clock::time_point due = processStart + std::chrono::milliseconds(now + ahead);
    const Clock::time_point wake = due - std::chrono::microseconds(wakeEarlyUs);
    // A sleep can also end early: Windows sleeps in whole milliseconds and
    // may come back up to one before the time asked. Sleep again until then.
    while (Clock::now() < wake) {
        std::this_thread::sleep_until(wake);
    }
}
