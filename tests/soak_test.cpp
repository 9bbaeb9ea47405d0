// SPDX-License-Identifier: MIT
// Long runs with random input: after every step the world stays sound.
// ZARVEL_SOAK_STEPS sets the length (the full run is 1,000,000 steps).
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <random>

#include "controls.h"
#include "recorder.h"
#include "sim.h"
#include "world.h"

namespace {

int soakSteps() {
    const char* text = std::getenv("ZARVEL_SOAK_STEPS");
    return text != nullptr ? std::atoi(text) : 200000;
}

bool finite3(const float v[3]) {
    return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

// What a player might do between two steps, drawn from `input`.
void randomInput(std::mt19937& input) {
    std::uniform_int_distribution<int> percent(0, 99);
    const unsigned char keys[] = {' ', 'z', 'Z', 'x', 'X', 'c', 'C', 'f', 'F', 'q', 0, 255};
    if (percent(input) < 10) {
        const unsigned char key = keys[input() % sizeof keys];
        if (input() % 2 == 0)
            keyboard(key, 0, 0);
        else
            keyboardUp(key, 0, 0);
    }
    if (percent(input) < 10) {
        const int key = 99 + static_cast<int>(input() % 6);
        if (input() % 2 == 0)
            special(key, 0, 0);
        else
            specialUp(key, 0, 0);
    }
    if (percent(input) < 2) {
        recorder.joystickButtons = input();
        recorder.joystickX = static_cast<int>(input() % 2001) - 1000;
        recorder.joystickY = static_cast<int>(input() % 2001) - 1000;
    }
}

// A new game every so many steps, so the ammunition lasts the whole run.
constexpr int STEPS_PER_GAME = 50000;
// Steps per phase; odd phases fire at full elevation with 10 ms steps,
// which keeps every shot slot busy.
constexpr int STEPS_PER_PHASE = 5000;

// Step length in ms: mostly 10 to 40, now and then a stall of seconds.
int randomStepLength(std::mt19937& input) {
    const unsigned roll = input() % 1000;
    if (roll < 3) return 1000 + static_cast<int>(input() % 4000);
    if (roll < 20) return static_cast<int>(input() % 10);  // too soon: no step
    return 10 + static_cast<int>(input() % 31);
}

}  // namespace

TEST(Soak, WorldStaysSoundUnderRandomPlay) {
    startTestGame(INT_MAX - 20000);  // the soak also runs the clock across its wrap
    world.lastStepTime = recorder.clock;
    world.fpsWindowStart = recorder.clock;
    world.hasJoystick = 1;
    recorder.joystickAttached = true;
    std::mt19937 input(12345);

    int previousState[MAX_TARGETS] = {};
    int shotsLeft = world.shotsLeft;
    int hitCount = 0;
    int totalHits = 0;
    int hitsSeen = 0;
    int mostShotsFlying = 0;
    int mostTargetsAlive = 0;
    const int steps = soakSteps();
    for (int step = 0; step < steps; step++) {
        if (step % STEPS_PER_GAME == 0) {
            startGameState(recorder.clock);
            world.lastStepTime = recorder.clock;
            shotsLeft = world.shotsLeft;
            hitsSeen = 0;
        }
        const bool volley = (step / STEPS_PER_PHASE) % 2 == 1;
        if (volley) {
            keyboard(' ', 0, 0);
            special(KEY_UP, 0, 0);
            stepBy(10);
        } else {
            randomInput(input);
            stepBy(randomStepLength(input));
        }

        ASSERT_GE(world.pitchDeg, 0.0f);
        ASSERT_LE(world.pitchDeg, 20.0f);
        ASSERT_GE(world.yawDeg, 0.0f);
        ASSERT_LE(world.yawDeg, 360.0f);
        ASSERT_GE(world.zoomLevel, 0);
        ASSERT_LE(world.zoomLevel, 3);
        ASSERT_EQ(world.keyBits & ~CONTROL_ALL, 0);
        ASSERT_EQ(world.joystickBits & ~CONTROL_ALL, 0);
        ASSERT_LE(world.shotsLeft, shotsLeft) << "ammunition never rises";
        ASSERT_GE(world.shotsLeft, 0);
        shotsLeft = world.shotsLeft;
        ASSERT_GE(world.fireCooldown, 0);
        ASSERT_LE(world.fireCooldown, 1);
        ASSERT_LE(world.spawnCountdown, 119);
        for (const ImpactMark& mark : world.impactMarks) {
            ASSERT_GE(mark.ttl, 0);
            ASSERT_LE(mark.ttl, 2);
        }
        int flying = 0;
        for (const Shot& shot : world.shots) {
            ASSERT_TRUE(finite3(shot.pos) && finite3(shot.vel)) << "step " << step;
            flying += shot.state == SHOT_FLYING ? 1 : 0;
        }
        int alive = 0;
        for (int i = 0; i < MAX_TARGETS; i++) {
            const Target& target = world.targets[i];
            ASSERT_TRUE(finite3(target.pos) && finite3(target.vel)) << "step " << step;
            ASSERT_GE(target.state, TARGET_FREE);
            ASSERT_LE(target.state, TARGET_DYING);
            if (target.state == TARGET_HIT && previousState[i] != TARGET_HIT) hitsSeen++;
            alive += target.state == TARGET_ALIVE ? 1 : 0;
            previousState[i] = target.state;
        }
        if (world.hitCount > hitCount) totalHits += world.hitCount - hitCount;
        hitCount = world.hitCount;
        ASSERT_EQ(hitCount, hitsSeen) << "every hit is one ALIVE -> HIT change";
        mostShotsFlying = std::max(mostShotsFlying, flying);
        mostTargetsAlive = std::max(mostTargetsAlive, alive);
    }
    std::printf("soak: %d steps, %d hits, at most %d shots flying and %d targets alive\n", steps,
                totalHits, mostShotsFlying, mostTargetsAlive);
    EXPECT_GT(totalHits, 0);
    if (steps >= 200000) {
        EXPECT_EQ(mostShotsFlying, MAX_SHOTS) << "the run filled every shot slot";
    }
}

TEST(Soak, EveryInputCodeTouchesOnlyTheEightControlBits) {
    startTestGame();
    std::mt19937 input(777);
    struct Event {
        int kind;
        int code;
    };  // kind: 0 press, 1 release, 2 special, 3 special up
    std::vector<Event> events;
    for (int code = 0; code < 256; code++) {
        events.push_back({0, code});
        events.push_back({1, code});
    }
    for (int code = -1; code < 300; code++) {
        events.push_back({2, code});
        events.push_back({3, code});
    }
    for (int round = 0; round < 20; round++) {
        std::shuffle(events.begin(), events.end(), input);
        for (const Event& event : events) {
            const int showFps = world.showFps;
            const unsigned char key = static_cast<unsigned char>(event.code);
            switch (event.kind) {
                case 0: keyboard(key, 0, 0); break;
                case 1: keyboardUp(key, 0, 0); break;
                case 2: special(event.code, 0, 0); break;
                default: specialUp(event.code, 0, 0); break;
            }
            const bool fRelease = event.kind == 1 && (key == 'F' || key == 'f');
            ASSERT_EQ(world.showFps, fRelease ? showFps ^ 1 : showFps);
            ASSERT_EQ(world.keyBits & ~CONTROL_ALL, 0);
            ASSERT_EQ(world.joystickBits, 0);
        }
    }
    for (int i = 0; i < 200000; i++) {
        const unsigned int buttons = input();
        const int x = static_cast<int>(input() % 4001) - 2000;
        const int y = static_cast<int>(input() % 4001) - 2000;
        world.joystickBits = 0;  // as the step does before each poll
        joystickInput(buttons, x, y, static_cast<int>(input()));
        ASSERT_EQ(world.joystickBits & ~CONTROL_ALL, 0);
        ASSERT_EQ((world.joystickBits & CONTROL_ZOOM3) != 0, (buttons & 8u) != 0);
        ASSERT_EQ((world.joystickBits & CONTROL_LEFT) != 0, x < -500);
    }
    for (unsigned int mask = 0; mask < 256; mask++) {
        world.joystickBits = 0;
        joystickInput(mask, 0, 0, 0);
        ASSERT_EQ(world.joystickBits, static_cast<int>((mask & 15u) << 4));
    }
}
