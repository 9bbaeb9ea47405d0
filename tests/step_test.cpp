// SPDX-License-Identifier: MIT
// The time gate, the order of the step, aiming, zoom and the spawn countdown.
#include <gtest/gtest.h>

#include <climits>

#include "controls.h"
#include "recorder.h"
#include "sim.h"
#include "world.h"

class Step : public ::testing::Test {
protected:
    void SetUp() override { startTestGame(); }

    // Holds `bits` on the keyboard for `steps` steps of 10 ms.
    static void hold(ControlBits bits, int steps) {
        world.keyBits = bits;
        for (int i = 0; i < steps; i++) stepBy(10);
    }
};

TEST_F(Step, GateWaitsTenMilliseconds) {
    stepBy(9);
    EXPECT_EQ(recorder.redisplays, 0);
    EXPECT_EQ(world.lastStepTime, 0);
    EXPECT_EQ(world.targets[0].state, TARGET_FREE);
    EXPECT_EQ(world.frameCount, 0);

    EXPECT_EQ(recorder.waits, 1) << "a call with nothing due gives the processor back";
    EXPECT_EQ(recorder.waitDue, 10) << "until the next step is due, not past it";

    stepBy(1);
    EXPECT_EQ(recorder.waits, 1) << "a step that runs does not wait";
    EXPECT_EQ(recorder.redisplays, 1);
    EXPECT_EQ(world.lastStepTime, 10);
    EXPECT_EQ(world.frameCount, 1);
    for (int i = 0; i < 50; i++) idleStep();  // the clock stands still
    EXPECT_EQ(recorder.redisplays, 1);
}

TEST_F(Step, TakesTheWholeElapsedTimeAsItsIncrement) {
    Shot& shot = world.shots[0];
    shot = Shot{SHOT_FLYING, {0.0f, 1.2f, 1.2f}, {0.0f, 0.0f, 120.0f}};
    stepBy(10);
    EXPECT_FLOAT_EQ(shot.vel[1], -0.1f);
    EXPECT_FLOAT_EQ(shot.pos[1], 1.199f);
    EXPECT_FLOAT_EQ(shot.pos[2], 2.4f);

    shot = Shot{SHOT_FLYING, {0.0f, 500.0f, 0.0f}, {0.0f, 0.0f, 120.0f}};
    stepBy(500);  // a stall is neither capped nor split
    EXPECT_FLOAT_EQ(shot.pos[2], 60.0f);
}

TEST_F(Step, KeepsSteppingAcrossTheClockWrap) {
    EXPECT_EQ(millisecondsBetween(INT_MAX - 5, INT_MIN + 4), 10);
    EXPECT_EQ(millisecondsBetween(INT_MIN + 4, INT_MAX - 5), -10);

    startTestGame(INT_MAX - 3000);
    world.lastStepTime = recorder.clock;  // as if it had been running for weeks
    world.fpsWindowStart = recorder.clock;
    world.keyBits = CONTROL_LEFT;
    for (int i = 0; i < 600; i++) stepBy(10);
    EXPECT_LT(recorder.clock, 0) << "the clock has wrapped";
    EXPECT_EQ(recorder.redisplays, 600);
    EXPECT_EQ(world.fpsValue, 100);
    for (int i = 0; i < 5; i++) idleStep();
    EXPECT_EQ(recorder.redisplays, 600) << "no extra steps after the wrap";
    recorder.clock = INT_MAX - 3;
    world.lastStepTime = INT_MAX - 5;
    idleStep();
    EXPECT_EQ(recorder.waitDue, INT_MIN + 4) << "the wait, too, is due across the wrap";
}

TEST_F(Step, ElevationRampsAndClamps) {
    const float rates[] = {0.03125f, 0.0625f, 0.125f, 0.25f, 0.5f, 1.0f, 1.0f};
    world.keyBits = CONTROL_UP;
    for (float rate : rates) {
        stepBy(10);
        EXPECT_EQ(world.pitchRate, rate);
    }
    startTestGame();
    hold(CONTROL_UP, 6);
    EXPECT_EQ(world.pitchDeg, 1.96875f);
    hold(CONTROL_UP, 18);
    EXPECT_EQ(world.pitchDeg, 19.96875f);
    hold(CONTROL_UP, 1);
    EXPECT_EQ(world.pitchDeg, 20.0f);
    hold(0, 1);
    EXPECT_EQ(world.pitchRate, 0.0f);
    EXPECT_EQ(world.pitchDeg, 20.0f);

    hold(CONTROL_UP, 3);
    hold(CONTROL_DOWN, 1);  // reversing starts again from the smallest rate
    EXPECT_EQ(world.pitchRate, -0.03125f);
    hold(CONTROL_DOWN, 40);
    EXPECT_EQ(world.pitchDeg, 0.0f);
    EXPECT_EQ(world.pitchRate, -1.0f);
}

TEST_F(Step, OppositeControlsCancel) {
    hold(CONTROL_UP | CONTROL_LEFT, 8);
    const float pitch = world.pitchDeg;
    const float yaw = world.yawDeg;
    hold(CONTROL_UP | CONTROL_DOWN | CONTROL_LEFT | CONTROL_RIGHT, 3);
    EXPECT_EQ(world.pitchRate, 0.0f);
    EXPECT_EQ(world.yawRate, 0.0f);
    EXPECT_EQ(world.pitchDeg, pitch);
    EXPECT_EQ(world.yawDeg, yaw);
}

TEST_F(Step, HeadingWrapsStrictly) {
    hold(CONTROL_RIGHT, 1);
    EXPECT_EQ(world.yawDeg, 359.96875f);

    world.yawDeg = 359.0f;
    world.yawRate = 1.0f;
    hold(CONTROL_LEFT, 1);
    EXPECT_EQ(world.yawDeg, 360.0f);
    hold(CONTROL_LEFT, 1);
    EXPECT_EQ(world.yawDeg, 1.0f);

    world.yawDeg = 1.0f;
    world.yawRate = -1.0f;
    hold(CONTROL_RIGHT, 1);
    EXPECT_EQ(world.yawDeg, 0.0f);
    hold(CONTROL_RIGHT, 1);
    EXPECT_EQ(world.yawDeg, 359.0f);
}

TEST_F(Step, ZoomHoldsOnlyWhileOneZoomControlIsHeld) {
    hold(CONTROL_ZOOM3, 1);
    EXPECT_EQ(world.zoomLevel, 3);
    hold(CONTROL_ZOOM1, 1);
    EXPECT_EQ(world.zoomLevel, 1);
    hold(CONTROL_ZOOM1 | CONTROL_ZOOM2, 1);
    EXPECT_EQ(world.zoomLevel, 1) << "two at once keep the level";
    hold(CONTROL_ZOOM2, 1);
    EXPECT_EQ(world.zoomLevel, 2);
    hold(CONTROL_ZOOM1 | CONTROL_ZOOM2 | CONTROL_ZOOM3, 1);
    EXPECT_EQ(world.zoomLevel, 2);
    hold(0, 1);
    EXPECT_EQ(world.zoomLevel, 0);
}

TEST_F(Step, JoystickIsPolledBeforeTheBitsAreRead) {
    stepBy(10);
    EXPECT_EQ(recorder.joystickPolls, 0) << "no joystick, no poll";

    world.hasJoystick = 1;
    recorder.joystickAttached = true;
    recorder.joystickY = -1000;  // stick up
    world.keyBits = CONTROL_DOWN;
    stepBy(10);
    EXPECT_EQ(recorder.joystickPolls, 1);
    EXPECT_EQ(world.pitchInput, CONTROL_UP | CONTROL_DOWN);
    EXPECT_EQ(world.pitchRate, 0.0f);

    world.keyBits = 0;
    recorder.joystickButtons = 8;
    stepBy(10);
    EXPECT_EQ(world.zoomLevel, 3) << "the sample of this very step is used";
}

// A joystick that fails or is unplugged is never read again: the forced poll
// then calls nothing, and the stick must not go on holding its last sample.
TEST_F(Step, LostJoystickCountsAsReleasedAndLeavesTheKeysAlone) {
    world.hasJoystick = 1;
    recorder.joystickAttached = true;
    recorder.joystickButtons = 1;  // fire held
    recorder.joystickX = -1000;    // stick left
    world.keyBits = CONTROL_UP | CONTROL_ZOOM2;
    for (int i = 0; i < 10; i++) stepBy(10);
    ASSERT_EQ(world.joystickBits, CONTROL_FIRE | CONTROL_LEFT);
    ASSERT_LT(world.shotsLeft, 10000);

    recorder.joystickAttached = false;  // unplugged
    stepBy(10);
    EXPECT_EQ(recorder.joystickPolls, 11) << "still polled every step";
    EXPECT_EQ(world.joystickBits, 0);
    EXPECT_EQ(world.keyBits, CONTROL_UP | CONTROL_ZOOM2);
    EXPECT_EQ(world.fireInput, 0);
    EXPECT_EQ(world.yawInput, 0);
    EXPECT_EQ(world.pitchInput, CONTROL_UP);
    EXPECT_EQ(world.zoomLevel, 2);
    const int shotsLeft = world.shotsLeft;
    const float yaw = world.yawDeg;
    for (int i = 0; i < 10; i++) stepBy(10);
    EXPECT_EQ(world.shotsLeft, shotsLeft) << "the lost fire button kept firing";
    EXPECT_EQ(world.yawDeg, yaw) << "the lost stick kept turning the gun";
}

// Keys whose release the window never heard (the keyboard went to another
// window, or a modifier changed the released character) let go of their
// controls in the very step that finds them up; the joystick holds on, and
// keys pressed afterwards work as before. With no key held nothing is asked.
TEST_F(Step, KeysTheWindowNoLongerHoldsLetGoAndTheJoystickHoldsOn) {
    world.hasJoystick = 1;
    recorder.joystickAttached = true;
    recorder.joystickY = -1000;  // stick up
    world.keyBits = CONTROL_FIRE | CONTROL_LEFT | CONTROL_ZOOM2;
    for (int i = 0; i < 10; i++) stepBy(10);
    ASSERT_EQ(recorder.keyChecks, 10);
    ASSERT_EQ(world.zoomLevel, 2);
    ASSERT_EQ(world.fireCooldown, 0) << "the next step could fire";

    recorder.keysUp = CONTROL_FIRE;  // space let go with Ctrl held
    const int shotsLeft = world.shotsLeft;
    stepBy(10);
    EXPECT_EQ(world.keyBits, CONTROL_LEFT | CONTROL_ZOOM2);
    EXPECT_EQ(world.fireInput, 0);
    EXPECT_EQ(world.shotsLeft, shotsLeft) << "fired in the step that found space up";

    recorder.keysUp = CONTROL_ALL;  // another window took the keyboard
    const float yaw = world.yawDeg;
    stepBy(10);
    EXPECT_EQ(world.keyBits, 0);
    EXPECT_EQ(world.yawInput, 0);
    EXPECT_EQ(world.yawDeg, yaw);
    EXPECT_EQ(world.zoomLevel, 0);
    EXPECT_EQ(world.pitchInput, CONTROL_UP) << "the joystick let go too";
    for (int i = 0; i < 5; i++) stepBy(10);
    EXPECT_EQ(recorder.keyChecks, 12) << "asked while no key was held";

    recorder.keysUp = 0;  // the keyboard is back
    keyboard(' ', 0, 0);
    stepBy(10);
    EXPECT_EQ(world.shotsLeft, shotsLeft - 1) << "space did not fire once the keyboard was back";
}

TEST_F(Step, SpawnCountdownReloadsAndNeverOverflows) {
    stepBy(10);
    EXPECT_EQ(world.targets[0].state, TARGET_ALIVE);
    const int reload = world.spawnCountdown;
    for (int i = 0; i < reload; i++) stepBy(10);
    EXPECT_EQ(world.targets[1].state, TARGET_FREE);
    stepBy(10);
    EXPECT_EQ(world.targets[1].state, TARGET_ALIVE) << "a reload to N spawns N + 1 steps later";

    for (Target& target : world.targets) target.state = TARGET_ALIVE;
    world.spawnCountdown = 0;
    hold(0, 3);
    EXPECT_EQ(world.spawnCountdown, -3) << "falls while every slot is busy";
    world.spawnCountdown = INT_MIN + 1;
    hold(0, 3);
    EXPECT_EQ(world.spawnCountdown, INT_MIN);
    world.targets[7].state = TARGET_FREE;
    hold(0, 1);
    EXPECT_EQ(world.targets[7].state, TARGET_ALIVE);
    EXPECT_GE(world.spawnCountdown, 80);
}
