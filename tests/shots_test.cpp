// SPDX-License-Identifier: MIT
// Shot flight, the end of a flight, impact marks and the hit test.
#include <gtest/gtest.h>

#include <cmath>

#include "recorder.h"
#include "sim.h"
#include "world.h"

class Shots : public ::testing::Test {
protected:
    void SetUp() override { startTestGame(); }

    static Shot& launch(int slot, float x, float y, float z, float vx, float vy, float vz) {
        world.shots[slot] = Shot{SHOT_FLYING, {x, y, z}, {vx, vy, vz}};
        return world.shots[slot];
    }

    static Target& placeTarget(int slot, float x, float y, float z) {
        Target& target = world.targets[slot];
        target.state = TARGET_ALIVE;
        target.radius = 2.0f;
        target.pos[0] = x;
        target.pos[1] = y;
        target.pos[2] = z;
        return target;
    }

    // Steps of 10 ms until the shot lands; returns how many it took.
    static int flyUntilLanded(Shot& shot) {
        int steps = 0;
        while (shot.state == SHOT_FLYING && steps < 5000) {
            updateImpactMarks();
            updateShots(0.010);
            steps++;
        }
        return steps;
    }
};

TEST_F(Shots, LevelAndHighShotsLandWhereTheyShould) {
    Shot& level = launch(0, 0.0f, 1.2f, 1.15f, 0.0f, 0.0f, 120.0f);
    EXPECT_EQ(flyUntilLanded(level), 49);
    EXPECT_NEAR(level.pos[2], 60.0, 1.0);
    EXPECT_EQ(world.impactMarks[0].ttl, 2);
    EXPECT_EQ(world.impactMarks[0].z, level.pos[2]) << "the mark stands where the shot ended";

    const double pitch = 20.0 / 180.0 * 3.141592653589793;
    Shot& high = launch(1, 0.0f, static_cast<float>(1.2 + 1.15 * std::sin(pitch)),
                        static_cast<float>(1.15 * std::cos(pitch)), 0.0f,
                        static_cast<float>(120.0 * std::sin(pitch)),
                        static_cast<float>(120.0 * std::cos(pitch)));
    EXPECT_EQ(flyUntilLanded(high), 824);
    EXPECT_NEAR(high.pos[2], 930.0, 5.0);
}

TEST_F(Shots, FieldLimitIsATruncatedThousand) {
    const float inside[] = {1000.9f, -1000.9f};
    const float outside[] = {1001.0f, -1001.0f};
    for (float x : inside) {
        Shot& alongX = launch(0, x, 50.0f, 0.0f, 0.0f, 0.0f, 0.0f);
        Shot& alongZ = launch(1, 0.0f, 50.0f, x, 0.0f, 0.0f, 0.0f);
        updateShots(0.010);
        EXPECT_EQ(alongX.state, SHOT_FLYING) << x;
        EXPECT_EQ(alongZ.state, SHOT_FLYING) << x;
    }
    for (float x : outside) {
        Shot& alongX = launch(0, x, 50.0f, 0.0f, 0.0f, 0.0f, 0.0f);
        Shot& alongZ = launch(1, 0.0f, 50.0f, x, 0.0f, 0.0f, 0.0f);
        updateShots(0.010);
        EXPECT_EQ(alongX.state, SHOT_FREE) << x;
        EXPECT_EQ(alongZ.state, SHOT_FREE) << x;
    }
    EXPECT_EQ(world.impactMarks[0].ttl, 0) << "leaving the field above the floor leaves no mark";

    launch(0, 1500.0f, 0.01f, 0.0f, 0.0f, -10.0f, 0.0f);
    updateShots(0.010);
    EXPECT_EQ(world.impactMarks[0].ttl, 2) << "below the floor and beyond the limit";
    EXPECT_EQ(world.impactMarks[0].x, 1500.0f);
}

TEST_F(Shots, FloorIsReachedOnlyBelowZero) {
    Shot& shot = launch(0, 0.0f, 2.0f, 0.0f, 0.0f, 1.0f, 0.0f);
    updateShots(0.5);  // falls by 5 exactly: vel.y -4, pos.y 0
    EXPECT_EQ(shot.pos[1], 0.0f);
    EXPECT_EQ(shot.state, SHOT_FLYING);
    updateShots(0.010);
    EXPECT_EQ(shot.state, SHOT_FREE);
}

TEST_F(Shots, MarksLiveTwoStepsAndAFullArrayMakesNone) {
    launch(0, 3.0f, 0.001f, 4.0f, 0.0f, -1.0f, 0.0f);
    updateImpactMarks();
    updateShots(0.010);
    EXPECT_EQ(world.impactMarks[0].ttl, 2);
    EXPECT_EQ(world.impactMarks[0].x, 3.0f);
    updateImpactMarks();
    EXPECT_EQ(world.impactMarks[0].ttl, 1);
    updateImpactMarks();
    EXPECT_EQ(world.impactMarks[0].ttl, 0);
    updateImpactMarks();
    EXPECT_EQ(world.impactMarks[0].ttl, 0);

    for (ImpactMark& mark : world.impactMarks) mark.ttl = 2;
    Shot& unmarked = launch(0, 0.0f, 0.001f, 0.0f, 0.0f, -1.0f, 0.0f);
    updateShots(0.010);
    EXPECT_EQ(unmarked.state, SHOT_FREE) << "freed all the same";
    world.impactMarks[17].ttl = 0;
    world.impactMarks[30].ttl = 0;
    launch(0, 8.0f, 0.001f, 0.0f, 0.0f, -1.0f, 0.0f);
    updateShots(0.010);
    EXPECT_EQ(world.impactMarks[17].ttl, 2);
    EXPECT_EQ(world.impactMarks[17].x, 8.0f);
    EXPECT_EQ(world.impactMarks[30].ttl, 0);
}

TEST_F(Shots, AShotStrikesEveryAliveBallItIsInsideAndFliesOn) {
    // From y 4 with no speed, a 0.5 s step ends at exactly y 1.5.
    Target& first = placeTarget(3, 0.5f, 1.5f, 0.0f);
    Target& second = placeTarget(9, -1.0f, 1.5f, 0.0f);
    Target& onTheSurface = placeTarget(12, 2.0f, 1.5f, 0.0f);
    Target& dying = placeTarget(20, 0.0f, 1.5f, 0.0f);
    dying.state = TARGET_DYING;
    Shot& shot = launch(0, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    updateShots(0.5);
    ASSERT_EQ(shot.pos[1], 1.5f);
    EXPECT_EQ(first.state, TARGET_HIT);
    EXPECT_EQ(second.state, TARGET_HIT);
    EXPECT_EQ(onTheSurface.state, TARGET_ALIVE) << "exactly radius away is a miss";
    EXPECT_EQ(dying.state, TARGET_DYING);
    EXPECT_EQ(world.hitCount, 2);
    EXPECT_EQ(shot.state, SHOT_FLYING);

    first.state = TARGET_ALIVE;  // a ball is struck only while alive, and once
    shot.pos[1] = 4.0f;
    shot.vel[1] = 0.0f;
    launch(1, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    updateShots(0.5);
    EXPECT_EQ(world.hitCount, 3);
}

TEST_F(Shots, AShotEndingInsideABallStillStrikesIt) {
    Target& target = placeTarget(0, 0.0f, 0.0f, 0.0f);
    Shot& shot = launch(0, 0.0f, 0.01f, 0.0f, 0.0f, -1.0f, 0.0f);
    updateShots(0.010);
    EXPECT_EQ(shot.state, SHOT_FREE);
    EXPECT_EQ(target.state, TARGET_HIT);
    EXPECT_EQ(world.hitCount, 1);
}
