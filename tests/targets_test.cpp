// SPDX-License-Identifier: MIT
// Spawning, drifting, colour pulsing and the struck -> dying -> free lifecycle.
#include <gtest/gtest.h>

#include <cmath>

#include "recorder.h"
#include "sim.h"
#include "world.h"

class Targets : public ::testing::Test {
protected:
    void SetUp() override { startTestGame(); }

    // An alive target at `pos` with a velocity the wander never changes.
    static Target& placeTarget(int slot, float x, float z, float vx, float vz) {
        Target& target = world.targets[slot];
        target.state = TARGET_ALIVE;
        target.radius = 2.0f;
        target.pos[0] = x;
        target.pos[1] = 2.0f;
        target.pos[2] = z;
        target.vel[0] = vx;
        target.vel[2] = vz;
        for (int c = 0; c < 4; c++) target.baseColor[c] = target.color[c] = c == 3 ? 1.0f : 0.5f;
        return target;
    }
};

TEST_F(Targets, SpawnPlacesTheBallAtTheDrawnHeadingAndDistance) {
    ASSERT_TRUE(seekDraws([] { return gameRandom() % 700 == 0 && gameRandom() % 360 == 0; }));
    spawnTarget();
    EXPECT_FLOAT_EQ(world.targets[0].pos[0], 0.0f);
    EXPECT_FLOAT_EQ(world.targets[0].pos[1], 2.0f);
    EXPECT_FLOAT_EQ(world.targets[0].pos[2], 100.0f);

    ASSERT_TRUE(seekDraws([] { return gameRandom() % 700 == 699 && gameRandom() % 360 == 90; }));
    spawnTarget();
    EXPECT_FLOAT_EQ(world.targets[1].pos[0], 799.0f);
    EXPECT_NEAR(world.targets[1].pos[2], 0.0, 1e-4);
    EXPECT_EQ(world.targets[1].radius, 2.0f);
    const float expectedColor[4] = {0.4f, 0.8f, 0.5f, 1.0f};
    for (int c = 0; c < 4; c++) {
        EXPECT_EQ(world.targets[1].color[c], expectedColor[c]);
        EXPECT_EQ(world.targets[1].baseColor[c], expectedColor[c]);
    }
}

TEST_F(Targets, SpawnDrawsFiveNumbersAndRefusesWhenFull) {
    WorldState copy = world;
    for (int i = 0; i < 5; i++) gameRandom();
    const uint32_t afterFive = world.randomNext;
    world = copy;
    spawnTarget();
    EXPECT_EQ(world.randomNext, afterFive);
    EXPECT_GE(world.spawnCountdown, 80);
    EXPECT_LE(world.spawnCountdown, 119);

    for (Target& target : world.targets) target.state = TARGET_HIT;
    world.spawnCountdown = -4;
    const uint32_t before = world.randomNext;
    spawnTarget();
    EXPECT_EQ(world.randomNext, before);
    EXPECT_EQ(world.spawnCountdown, -4);
}

TEST_F(Targets, FastComponentsNeverWanderAndBounceOnlyOutward) {
    Target& fast = placeTarget(0, 0.0f, 0.0f, -5.0f, 4.5f);
    for (int i = 0; i < 2000; i++) updateTargets(0.01);
    EXPECT_EQ(std::fabs(fast.vel[0]), 5.0f);
    EXPECT_EQ(std::fabs(fast.vel[2]), 4.5f);

    Target& edge = placeTarget(1, -900.0f, 900.0f, -4.5f, 4.5f);
    updateTargets(0.0);
    EXPECT_EQ(edge.vel[0], -4.5f) << "exactly at -900 is not beyond the edge";
    EXPECT_EQ(edge.vel[2], 4.5f);
    edge.pos[0] = -900.01f;
    edge.pos[2] = 900.01f;
    updateTargets(0.0);
    EXPECT_EQ(edge.vel[0], 4.5f);
    EXPECT_EQ(edge.vel[2], -4.5f);
    updateTargets(0.0);
    EXPECT_EQ(edge.vel[0], 4.5f) << "already moving inward";
}

TEST_F(Targets, MovesByVelocityTimesStepSeconds) {
    Target& target = placeTarget(0, 10.0f, 20.0f, 4.5f, -4.5f);
    updateTargets(0.010);
    EXPECT_FLOAT_EQ(target.pos[0], 10.045f);
    EXPECT_FLOAT_EQ(target.pos[1], 2.0f);
    EXPECT_FLOAT_EQ(target.pos[2], 19.955f);
}

TEST_F(Targets, SlowComponentsWanderInTwentieths) {
    Target& target = placeTarget(0, 0.0f, 0.0f, 0.0f, 3.99f);
    int changes = 0;
    double smallest = 0.0;
    double largest = 0.0;
    for (int i = 0; i < 4000; i++) {
        target.vel[0] = 0.0f;
        updateTargets(0.0);
        const double change = target.vel[0];
        if (change != 0.0) changes++;
        EXPECT_NEAR(change * 20.0, std::round(change * 20.0), 1e-4);
        smallest = std::min(smallest, change);
        largest = std::max(largest, change);
        EXPECT_LT(std::fabs(target.vel[2]), 4.5f) << "one wander at most past 4";
    }
    EXPECT_GT(changes, 700) << "about a quarter of the steps, less the zero draws";
    EXPECT_LT(changes, 1300);
    EXPECT_FLOAT_EQ(smallest, -0.5);
    EXPECT_FLOAT_EQ(largest, 0.45);
}

TEST_F(Targets, ColourPulsesWithinItsBounds) {
    spawnTarget();
    Target& target = world.targets[0];
    target.colorStep[0] = target.colorStep[1] = target.colorStep[2] = 0.01f;
    updateTargets(0.0);
    for (float step : target.colorStep)
        EXPECT_EQ(step, -0.01f) << "a new ball starts at its upper bound";

    const double low[3] = {0.08, 0.48, 0.18};
    const double high[3] = {0.4, 0.8, 0.5};
    bool reachedLow[3] = {false, false, false};
    for (int i = 0; i < 20000; i++) {
        target.pos[0] = target.pos[2] = 0.0f;
        updateTargets(0.01);
        for (int c = 0; c < 3; c++) {
            EXPECT_GE(target.color[c], low[c] - 1e-6);
            EXPECT_LE(target.color[c], high[c] + 1e-6);
            EXPECT_EQ(std::fabs(target.colorStep[c]), 0.01f);
            if (target.color[c] <= low[c] + 1e-6) reachedLow[c] = true;
        }
        EXPECT_EQ(target.color[3], 1.0f);
    }
    for (bool reached : reachedLow) EXPECT_TRUE(reached);
}

TEST_F(Targets, StruckBallReddensFadesAndFreesItsSlot) {
    Target& target = placeTarget(0, 5.0f, 6.0f, 1.0f, 1.0f);
    target.color[0] = 0.2f;
    target.color[1] = 0.7f;
    target.color[2] = 0.4f;
    target.colorStep[0] = 0.01f;
    target.state = TARGET_HIT;
    int steps = 0;
    while (target.state == TARGET_HIT && steps < 100) {
        const float red = target.color[0];
        updateTargets(1.0);
        steps++;
        if (target.state == TARGET_HIT) {
            EXPECT_GE(target.color[0] - red, 0.05 - 1e-6);
            EXPECT_LE(target.color[0] - red, 0.068 + 1e-6);
        }
    }
    EXPECT_EQ(target.state, TARGET_DYING);
    EXPECT_EQ(target.color[0], 1.0f);
    EXPECT_EQ(target.color[3], 0.6f);
    EXPECT_LE(target.color[1], 0.3);
    EXPECT_GT(target.color[1], 0.3 - 0.068 - 1e-6);
    EXPECT_LE(target.color[2], 0.2);
    EXPECT_EQ(target.pos[0], 5.0f) << "a struck ball stops";
    EXPECT_EQ(target.pos[2], 6.0f);

    while (target.state == TARGET_DYING && steps < 200) {
        const float alpha = target.color[3];
        updateTargets(1.0);
        steps++;
        if (target.state == TARGET_DYING)
            EXPECT_LT(target.color[3], alpha);
        else
            EXPECT_LT(alpha, 0.1) << "freed only once alpha was below 0.1";
    }
    EXPECT_EQ(target.state, TARGET_FREE);

    spawnTarget();
    EXPECT_EQ(target.state, TARGET_ALIVE);
    EXPECT_EQ(target.colorStep[0], 0.01f) << "the reused slot keeps its colorStep";
}

TEST_F(Targets, ReddeningAndFadingEdges) {
    Target& target = placeTarget(0, 0.0f, 0.0f, 0.0f, 0.0f);
    target.state = TARGET_HIT;
    target.color[0] = 1.0f;
    updateTargets(0.0);
    EXPECT_EQ(target.state, TARGET_HIT) << "red exactly 1.0 still reddens";
    EXPECT_GT(target.color[0], 1.0f);
    updateTargets(0.0);
    EXPECT_EQ(target.state, TARGET_DYING);

    target.color[3] = 0.1f;
    updateTargets(0.0);
    EXPECT_EQ(target.state, TARGET_DYING) << "0.1f is not below 0.1";
    EXPECT_LT(target.color[3], 0.1f);
    updateTargets(0.0);
    EXPECT_EQ(target.state, TARGET_FREE);
}

TEST_F(Targets, AFreedSlotIsTakenByTheNextStepsSpawn) {
    for (Target& target : world.targets) {
        target.state = TARGET_ALIVE;
        target.radius = 2.0f;
    }
    world.targets[42].state = TARGET_DYING;
    world.targets[42].color[3] = 0.05f;
    world.spawnCountdown = 0;
    stepBy(10);
    EXPECT_EQ(world.targets[42].state, TARGET_FREE);
    EXPECT_LT(world.spawnCountdown, 0);
    stepBy(10);
    EXPECT_EQ(world.targets[42].state, TARGET_ALIVE);
    EXPECT_GE(world.spawnCountdown, 80);
}
