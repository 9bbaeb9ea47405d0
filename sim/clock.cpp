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

// How much earlier than due a wait wakes up. A sleep here overshoots by
// 100-200 us (measured on a 2-core Debian 12 machine), so the waiting ends
// a little early and the idle loop spins the last fraction of a millisecond.
constexpr auto WAKE_MARGIN = std::chrono::microseconds(300);

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

void sleepUntilMilliseconds(int dueMs) {
    const int64_t now = elapsedMilliseconds();
    const int ahead = millisecondsBetween(static_cast<int>(static_cast<uint32_t>(now)), dueMs);
    if (ahead <= 0) {
        return;
    }
    // The clock reads dueMs from this instant on.
    const Clock::time_point due = processStart + std::chrono::milliseconds(now + ahead);
    std::this_thread::sleep_until(due - WAKE_MARGIN);
}
