// SPDX-License-Identifier: MIT
// Firing from the muzzle and the step-rate counter.
#include <gtest/gtest.h>

#include <cmath>

#include "recorder.h"
#include "sim.h"
#include "world.h"

class Firing : public ::testing::Test {
protected:
    void SetUp() override {
        startTestGame();
        world.fireInput = CONTROL_FIRE;
    }

    static int flyingShots() {
        int count = 0;
        for (const Shot& shot : world.shots) count += shot.state == SHOT_FLYING ? 1 : 0;
        return count;
    }
};

TEST_F(Firing, ShotLeavesTheMuzzleAlongTheBarrel) {
    ASSERT_TRUE(seekDraws([] { return gameRandom() % 100 == 0; }));
    updateFiring();
    const Shot& shot = world.shots[0];
    EXPECT_EQ(shot.state, SHOT_FLYING);
    EXPECT_NEAR(shot.pos[0], 0.0, 1e-6);
    EXPECT_FLOAT_EQ(shot.pos[1], 1.2f);
    EXPECT_FLOAT_EQ(shot.pos[2], 1.15f);
    EXPECT_NEAR(shot.vel[0], 0.0, 0.5);
    EXPECT_NEAR(shot.vel[1], 0.0, 0.5);
    EXPECT_NEAR(shot.vel[2], 120.0, 0.5);
    EXPECT_EQ(world.shotsLeft, 9999);
    EXPECT_EQ(world.fireCooldown, 1);

    world.fireCooldown = 0;
    world.yawDeg = 90.0f;
    world.pitchDeg = 20.0f;
    updateFiring();
    const Shot& aimed = world.shots[1];
    EXPECT_NEAR(aimed.vel[0], 120.0 * std::cos(20.0 / 180.0 * 3.141592653589793), 0.5);
    EXPECT_NEAR(aimed.vel[1], 41.04, 0.5);
    EXPECT_NEAR(aimed.vel[2], 0.0, 0.5);
    EXPECT_GT(aimed.pos[0], 1.07f);
    EXPECT_GT(aimed.pos[1], 1.59f);
}

TEST_F(Firing, ShotDrawsFiveNumbersInOrder) {
    WorldState copy = world;
    const int muzzleDraw = gameRandom();
    gameRandom();
    const int spreadX = gameRandom();
    const int spreadY = gameRandom();
    const int spreadZ = gameRandom();
    const uint32_t afterFive = world.randomNext;
    world = copy;
    updateFiring();
    const Shot& shot = world.shots[0];
    EXPECT_EQ(world.randomNext, afterFive);
    EXPECT_FLOAT_EQ(shot.pos[2], static_cast<float>(1.15f + (muzzleDraw % 100) / 1000.0));
    EXPECT_FLOAT_EQ(shot.vel[0], static_cast<float>((spreadX % 100) / 100.0 - 0.5));
    EXPECT_FLOAT_EQ(shot.vel[1], static_cast<float>((spreadY % 100) / 100.0 - 0.5));
    EXPECT_FLOAT_EQ(shot.vel[2], static_cast<float>(120.0 + (spreadZ % 100) / 100.0 - 0.5));
}

TEST_F(Firing, HeldFireShootsOnEverySecondStep) {
    world.keyBits = CONTROL_FIRE;
    int shotsPerStep[8] = {};
    for (int& fired : shotsPerStep) {
        const int before = world.shotsLeft;
        stepBy(10);
        fired = before - world.shotsLeft;
    }
    const int expected[8] = {1, 0, 1, 0, 1, 0, 1, 0};
    for (int i = 0; i < 8; i++) EXPECT_EQ(shotsPerStep[i], expected[i]) << "step " << i;
    EXPECT_EQ(flyingShots(), 4);

    world.keyBits = 0;
    stepBy(10);
    stepBy(10);
    EXPECT_EQ(world.fireCooldown, 0);
    EXPECT_EQ(world.shotsLeft, 9996);
}

TEST_F(Firing, ANewShotFirstMovesInTheNextStep) {
    world.keyBits = CONTROL_FIRE;
    stepBy(10);
    const Shot fired = world.shots[0];
    EXPECT_LT(fired.pos[2], 1.25f) << "drawn at its start point in the frame of its own step";
    stepBy(10);
    EXPECT_GT(world.shots[0].pos[2], fired.pos[2] + 1.0f);
}

TEST_F(Firing, StopsWhenAmmunitionOrSlotsRunOut) {
    world.shotsLeft = 1;
    updateFiring();
    updateFiring();
    const uint32_t state = world.randomNext;
    for (int i = 0; i < 10; i++) updateFiring();
    EXPECT_EQ(world.shotsLeft, 0);
    EXPECT_EQ(flyingShots(), 1);
    EXPECT_EQ(world.randomNext, state) << "an empty gun draws nothing";

    startTestGame();
    world.fireInput = CONTROL_FIRE;
    for (Shot& shot : world.shots) shot.state = SHOT_FLYING;
    const uint32_t before = world.randomNext;
    updateFiring();
    EXPECT_EQ(world.shotsLeft, 10000);
    EXPECT_EQ(world.fireCooldown, 0);
    EXPECT_EQ(world.randomNext, before);
    world.shots[123].state = SHOT_FREE;
    updateFiring();
    EXPECT_EQ(world.shots[123].state, SHOT_FLYING) << "fires at once when a slot frees";
    EXPECT_EQ(world.shotsLeft, 9999);
}

TEST_F(Firing, ASlotFreedInFlightIsRefilledInTheSameStep) {
    for (Shot& shot : world.shots) {
        shot = Shot{SHOT_FLYING, {0.0f, 500.0f, 0.0f}, {0.0f, 0.0f, 0.0f}};
    }
    world.shots[5].pos[1] = 0.0001f;
    world.shots[5].vel[1] = -1.0f;
    world.keyBits = CONTROL_FIRE;
    stepBy(10);
    EXPECT_EQ(world.shots[5].state, SHOT_FLYING);
    EXPECT_LT(world.shots[5].pos[2], 1.25f);
    EXPECT_EQ(world.impactMarks[0].ttl, 2);
    EXPECT_EQ(world.shotsLeft, 9999);
}

TEST(FrameRate, ClosesItsWindowAfterMoreThanASecond) {
    startTestGame();
    for (int i = 1; i <= 99; i++) updateFrameRate(i * 10);
    updateFrameRate(1000);
    EXPECT_EQ(world.fpsValue, 0) << "e = 1000 does not close the window";
    EXPECT_EQ(world.frameCount, 100);
    updateFrameRate(1010);
    EXPECT_EQ(world.fpsValue, 100) << "101 steps over 1010 ms";
    EXPECT_EQ(world.frameCount, 0);
    EXPECT_EQ(world.fpsWindowStart, 1010);

    for (int i = 0; i < 66; i++) updateFrameRate(1020 + i);
    updateFrameRate(2011);
    EXPECT_EQ(world.fpsValue, 66) << "67 steps over 1001 ms, truncated";
}

TEST(FrameRate, OnlyStepsThatRunAreCounted) {
    startTestGame();
    for (int i = 0; i < 200; i++) stepBy(5);
    EXPECT_EQ(recorder.redisplays, 100);
    EXPECT_EQ(world.fpsValue, 0) << "the first window closes only after 1000 ms";
    EXPECT_EQ(world.frameCount, 100);
}
