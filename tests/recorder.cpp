// SPDX-License-Identifier: MIT
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
    if (recorder.secondJoystick) joystickInput(0, 0, 0, 0);
}

void toolkitPostRedisplay() { recorder.redisplays += 1; }

int toolkitKeysStillDown(int held) {
    recorder.keyChecks += 1;
    return held & ~recorder.keysUp;
}

void toolkitWaitForClock(int dueMs) {
    recorder.waits += 1;
    recorder.waitDue = dueMs;
}

void startTestGame(int clock) {
    clearWorld();
    recorder = ToolkitRecorder{};
    recorder.clock = clock;
    startGameState(clock);
}

void stepBy(int elapsedMs) {
    recorder.clock = millisecondsAfter(recorder.clock, elapsedMs);
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
