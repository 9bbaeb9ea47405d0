// SPDX-License-Identifier: MIT
// The one definition of the world state, and the two resets that act on it.
#include "world.h"

WorldState world;

void clearWorld() { world = WorldState{}; }

void startGameState(int clockReading) {
    world.clockDivisor = 1;
    world.pitchDeg = 0.0f;
    world.yawDeg = 0.0f;
    world.pitchRate = 0.0f;
    world.yawRate = 0.0f;
    // The reset divides its one reading by 1000, not by clockDivisor: at
    // start-up that gives 0, so the first step takes in nearly all the time
    // since the process began.
    world.lastStepTime = clockReading / 1000;
    world.joystickBits = 0;
    world.keyBits = 0;

    for (Shot& shot : world.shots) {
        shot.state = SHOT_FREE;
    }
    for (ImpactMark& mark : world.impactMarks) {
        mark.ttl = 0;
    }
    // Only the state is written: a reused slot keeps its colorStep.
    for (Target& target : world.targets) {
        target.state = TARGET_FREE;
    }
    world.zoomLevel = 0;
    world.hitCount = 0;
    world.shotsLeft = 10000;
    world.showFps = 0;
}
