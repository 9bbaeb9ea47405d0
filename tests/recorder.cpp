#include "recorder.h"

#include <cstdint>

#include "controls.h"
#include "sim.h"
#include "toolkit.h"
#include "world.h"

ToolkitRecorder recorder;

int toolkitClock() { return recorder.clock; }

void toolkitForceJoystickPoll() {
    recorder.joystickPolls += 1;
    if (recorder.joystickAttached) {
        joystickInput(recorder.joystickButtons, recorder.joystickX, recorder.joystickY, 0);
    }
}

void toolkitPostRedisplay() { recorder.redisplays += 1; }

void startTestGame(int clock) {
    clearWorld();
    recorder = ToolkitRecorder{};
    recorder.clock = clock;
    startGameState(clock);
}

void stepBy(int elapsedMs) {
    // Wraps like the real clock does after 24.8 days.
    recorder.clock = static_cast<int>(static_cast<uint32_t>(recorder.clock) + static_cast<uint32_t>(elapsedMs));
    idleStep();
}

bool seekDraws(const std::function<bool()>& drawsMatch, int limit) {
    for (int i = 0; i < limit; i++) {
        const uint32_t state = world.randomNext;
        const bool match = drawsMatch();
        world.randomNext = state;
        if (match) return true;
        gameRandom();
    }
    return false;
}
