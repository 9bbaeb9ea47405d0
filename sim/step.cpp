// SPDX-License-Identifier: MIT
// The game step: the time gate, the controls, the aiming and zoom, and the
// order of all thirteen sections.
#include <climits>
#include <cstdint>

#include "sim.h"
#include "toolkit.h"
#include "world.h"

int millisecondsBetween(int earlier, int later) {
    return static_cast<int>(static_cast<uint32_t>(later) - static_cast<uint32_t>(earlier));
}

int millisecondsAfter(int reading, int milliseconds) {
    return static_cast<int>(static_cast<uint32_t>(reading) + static_cast<uint32_t>(milliseconds));
}

void idleStep() {
    // 1. Time gate: the step runs at most once every 10 ms and takes the
    //    whole elapsed time, uncapped, as its time increment.
    const int clockReading = toolkitClock();
    const int stepNow = clockReading / world.clockDivisor;
    const int stepElapsed = millisecondsBetween(world.lastStepTime, stepNow);
    if (stepElapsed < STEP_INTERVAL_MS) {
        // Nothing is due: give the processor back until the next step is.
        // Events that arrive meanwhile are handled before the next call.
        const int remaining = (STEP_INTERVAL_MS - stepElapsed) * world.clockDivisor;
        toolkitWaitForClock(millisecondsAfter(clockReading, remaining));
        return;
    }
    world.lastStepTime = stepNow;
    const double stepSeconds = stepElapsed / 1000.0;

    // 2. Input poll. A key the game holds but the window system no longer
    //    holds down for the game's window lets go of its control: the toolkit
    //    reports no loss of the keyboard, and a release it turned into
    //    another character (Ctrl with space is NUL) would leave the control
    //    held for ever. Nothing is asked while no key is held.
    if (world.keyBits != 0) {
        world.keyBits &= toolkitKeysStillDown(world.keyBits);
    }
    //    Then joystickBits is made current before the bits are read. Every
    //    joystick that delivers a sample adds its held controls to
    //    joystickBits, cleared just before; when none does (the stick failed
    //    or was unplugged, and the toolkit gave up on it), the joystick
    //    counts as released rather than holding its last sample for the rest
    //    of the game.
    if (world.hasJoystick != 0) {
        world.joystickBits = 0;
        toolkitForceJoystickPoll();
    }
    decodeControls();            //  3. control decoding
    countDownSpawn();            //  4. spawn countdown and spawn
    updateElevation();           //  5. elevation
    updateHeading();             //  6. heading
    updateZoom();                //  7. zoom level
    updateTargets(stepSeconds);  //  8. targets
    updateImpactMarks();         //  9. impact-mark countdown
    updateShots(stepSeconds);    // 10. shot flight and hit test
    updateFiring();              // 11. firing and fire cooldown
    toolkitPostRedisplay();      // 12. redisplay request
    updateFrameRate(stepNow);    // 13. rate counter
}

void decodeControls() {
    const ControlBits bits = world.keyBits | world.joystickBits;
    world.pitchInput = bits & (CONTROL_UP | CONTROL_DOWN);
    world.yawInput = bits & (CONTROL_LEFT | CONTROL_RIGHT);
    world.fireInput = bits & CONTROL_FIRE;
    world.zoomInput = bits & (CONTROL_ZOOM1 | CONTROL_ZOOM2 | CONTROL_ZOOM3);
}

void countDownSpawn() {
    // While every slot is busy the countdown keeps falling; it stops at
    // INT_MIN, still below 0, instead of overflowing after 248 days.
    if (world.spawnCountdown > INT_MIN) {
        world.spawnCountdown -= 1;
    }
    if (world.spawnCountdown < 0) {
        spawnTarget();
    }
}

// Aiming rates in degrees per step: a held control starts at 1/32 and
// doubles each step up to 1; reversing starts again from 1/32.
static float rampPositive(float rate) {
    if (rate <= 0.0f) return 0.03125f;
    if (rate < 1.0f) return rate * 2.0f;
    return rate;
}

static float rampNegative(float rate) {
    if (rate >= 0.0f) return -0.03125f;
    if (rate > -1.0f) return rate * 2.0f;
    return rate;
}

void updateElevation() {
    if (world.pitchInput == CONTROL_UP) {
        world.pitchRate = rampPositive(world.pitchRate);
        world.pitchDeg += world.pitchRate;
        if (world.pitchDeg > 20.0f) world.pitchDeg = 20.0f;
    } else if (world.pitchInput == CONTROL_DOWN) {
        world.pitchRate = rampNegative(world.pitchRate);
        world.pitchDeg += world.pitchRate;
        if (world.pitchDeg < 0.0f) world.pitchDeg = 0.0f;
    } else {
        world.pitchRate = 0.0f;  // neither, or both at once
    }
}

void updateHeading() {
    // The heading wraps; the strict tests let exactly 0 and 360 stand.
    if (world.yawInput == CONTROL_LEFT) {
        world.yawRate = rampPositive(world.yawRate);
        world.yawDeg += world.yawRate;
        if (world.yawDeg > 360.0f) world.yawDeg -= 360.0f;
    } else if (world.yawInput == CONTROL_RIGHT) {
        world.yawRate = rampNegative(world.yawRate);
        world.yawDeg += world.yawRate;
        if (world.yawDeg < 0.0f) world.yawDeg += 360.0f;
    } else {
        world.yawRate = 0.0f;
    }
}

void updateZoom() {
    // A zoom holds only while its control is held alone; two or three at
    // once keep the level as it was.
    switch (world.zoomInput) {
        case 0: world.zoomLevel = 0; break;
        case CONTROL_ZOOM1: world.zoomLevel = 1; break;
        case CONTROL_ZOOM2: world.zoomLevel = 2; break;
        case CONTROL_ZOOM3: world.zoomLevel = 3; break;
        default: break;
    }
}
