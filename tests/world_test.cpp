// SPDX-License-Identifier: MIT
// The reset, the random sequence and the clock.
#include "world.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "recorder.h"
#include "sim.h"

TEST(Random, FollowsThePortableSequenceFromSeedOne) {
    clearWorld();
    const int expected[] = {16838, 5758, 10113, 17515, 31051};
    for (int value : expected) {
        EXPECT_EQ(gameRandom(), value);
    }
    int lowest = 32767;
    int highest = 0;
    for (int i = 0; i < 200000; i++) {
        const int draw = gameRandom();
        lowest = std::min(lowest, draw);
        highest = std::max(highest, draw);
    }
    EXPECT_EQ(lowest, 0);
    EXPECT_EQ(highest, 32767);
}

TEST(NewGame, FreesEverySlotAndSetsTheStartingValues) {
    startTestGame();
    for (Target& target : world.targets) {
        target.state = TARGET_DYING;
        target.colorStep[1] = 0.01f;
    }
    for (Shot& shot : world.shots) shot.state = SHOT_FLYING;
    for (ImpactMark& mark : world.impactMarks) mark.ttl = 2;
    world.shotsLeft = 3;
    world.hitCount = 12;
    world.zoomLevel = 2;
    world.showFps = 1;
    world.keyBits = CONTROL_FIRE;
    world.joystickBits = CONTROL_UP;
    world.yawDeg = 123.0f;
    world.pitchRate = 0.5f;

    startGameState(0);
    for (const Target& target : world.targets) {
        EXPECT_EQ(target.state, TARGET_FREE);
        EXPECT_EQ(target.colorStep[1], 0.01f) << "the reset writes only the state";
    }
    for (const Shot& shot : world.shots) EXPECT_EQ(shot.state, SHOT_FREE);
    for (const ImpactMark& mark : world.impactMarks) EXPECT_EQ(mark.ttl, 0);
    EXPECT_EQ(world.shotsLeft, 10000);
    EXPECT_EQ(world.hitCount, 0);
    EXPECT_EQ(world.zoomLevel, 0);
    EXPECT_EQ(world.showFps, 0);
    EXPECT_EQ(world.keyBits | world.joystickBits, 0);
    EXPECT_EQ(world.yawDeg, 0.0f);
    EXPECT_EQ(world.pitchRate, 0.0f);
    EXPECT_EQ(world.clockDivisor, 1);
    EXPECT_EQ(world.gunHeight, 1.2f);
}

TEST(NewGame, StoresTheClockReadingInThousands) {
    startTestGame(1999);
    EXPECT_EQ(world.lastStepTime, 1);
    startTestGame(999);
    EXPECT_EQ(world.lastStepTime, 0);
}

TEST(NewGame, FirstStepSpawnsTheSeededTarget) {
    startTestGame();
    spawnTarget();
    const Target& target = world.targets[0];
    const double heading = 358.0 * 3.141592653589793 / 180.0;
    EXPECT_EQ(target.state, TARGET_ALIVE);
    EXPECT_FLOAT_EQ(target.pos[0], static_cast<float>(std::sin(heading) * 138));
    EXPECT_FLOAT_EQ(target.pos[1], 2.0f);
    EXPECT_FLOAT_EQ(target.pos[2], static_cast<float>(std::cos(heading) * 138));
    EXPECT_FLOAT_EQ(target.vel[0], -3.87f);
    EXPECT_EQ(target.vel[1], 0.0f);
    EXPECT_FLOAT_EQ(target.vel[2], 0.15f);
    EXPECT_EQ(world.spawnCountdown, 91);

    // Through the idle callback: the countdown starts at 0, so the first
    // step spawns, reloads to 91 and moves the new target at once.
    startTestGame();
    stepBy(10);
    EXPECT_EQ(world.targets[0].state, TARGET_ALIVE);
    EXPECT_EQ(world.targets[1].state, TARGET_FREE);
    EXPECT_EQ(world.spawnCountdown, 91);
    EXPECT_NEAR(world.targets[0].pos[0], std::sin(heading) * 138 - 0.0387, 0.01);
}

TEST(Clock, CountsRealMillisecondsFromProcessStart) {
    const int first = processMilliseconds();
    EXPECT_GE(first, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const int second = processMilliseconds();
    EXPECT_GE(millisecondsBetween(first, second), 30) << "the clock must follow real time";
}

TEST(Clock, SleepsUntilTheDueReading) {
    const int start = processMilliseconds();
    sleepUntilMilliseconds(millisecondsAfter(start, 25), 0);
    EXPECT_GE(millisecondsBetween(start, processMilliseconds()), 25) << "woke before it was due";
    const int early = processMilliseconds();
    sleepUntilMilliseconds(millisecondsAfter(early, 25), 300);
    // Waking 0.3 ms early leaves it at most one reading short.
    EXPECT_GE(millisecondsBetween(early, processMilliseconds()), 24);
}
