// The step's time base: elapsed real time, never processor time.
#include <chrono>
#include <cstdint>

#include "sim.h"

namespace {
// Taken during static initialisation, so readings start near 0 with the process.
const std::chrono::steady_clock::time_point processStart = std::chrono::steady_clock::now();
}  // namespace

int processMilliseconds() {
    const auto elapsed = std::chrono::steady_clock::now() - processStart;
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
    // An int clock wraps after 24.8 days; the step measures across the wrap.
    return static_cast<int>(static_cast<uint32_t>(ms));
}
