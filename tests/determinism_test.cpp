// SPDX-License-Identifier: MIT
// One world everywhere: a long scripted game hashed at checkpoints, and a
// hash of every value the game takes from sine and cosine, both compared
// with the list in determinism_expected.h that the Linux x86-64 build
// printed. Every platform must print the same lines.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "controls.h"
#include "determinism_expected.h"
#include "recorder.h"
#include "sim.h"
#include "world.h"

namespace {

// 64-bit FNV-1a over `size` bytes, continuing from `hash`.
uint64_t fnv1a(const void* data, size_t size, uint64_t hash = 0xcbf29ce484222325u) {
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; i++) {
        hash ^= bytes[i];
        hash *= 0x100000001b3u;
    }
    return hash;
}

// Prints the line "name hash" and returns it with the expected line of that
// name ("" when the list has none).
struct CheckedLine {
    std::string observed;
    std::string expected;
};
CheckedLine printLine(const std::string& name, uint64_t hash) {
    char line[64] = {};
    std::snprintf(line, sizeof line, "%s %016" PRIx64, name.c_str(), hash);
    std::printf("%s\n", line);
    for (const char* expected : EXPECTED_HASHES) {
        if (std::strncmp(expected, line, name.size() + 1) == 0) return {line, expected};
    }
    return {line, ""};
}

// Every line is printed, so that a run gives the whole list; the failure
// names the first line that differs.
struct LineChecker {
    std::string firstDifference;
    void check(const std::string& name, uint64_t hash) {
        const CheckedLine line = printLine(name, hash);
        if (line.observed != line.expected && firstDifference.empty()) {
            firstDifference = "first difference at " + name + ": expected \"" +
                              line.expected + "\", observed \"" + line.observed + "\"";
        }
    }
};

constexpr int REPLAY_STEPS = 200000;
constexpr int CHECKPOINT_STEPS = 10000;
constexpr int STEPS_PER_GAME = 50000;  // a new game before the ammunition runs out

// The keyboard half of the script: presses or releases one of the keys the
// game reads (both letter cases, arrows, F) as `roll` picks it.
void scriptKey(unsigned roll) {
    const unsigned char letters[] = {' ', 'z', 'x', 'c', 'Z', 'X', 'C', 'f'};
    const bool press = (roll & 1u) != 0;
    const unsigned pick = (roll >> 1) % 12;
    if (pick < 8) {
        const unsigned char key = letters[pick];
        press ? keyboard(key, 0, 0) : keyboardUp(key, 0, 0);
    } else {
        const int key = KEY_LEFT + static_cast<int>(pick - 8);
        press ? special(key, 0, 0) : specialUp(key, 0, 0);
    }
}

// The joystick half: a new sample held from now on, or the stick gone.
void scriptJoystick(unsigned roll) {
    const int axis[5] = {-1000, -600, 0, 600, 1000};
    recorder.joystickAttached = roll % 7 != 0;
    recorder.joystickButtons = (roll >> 3) & 15u;
    recorder.joystickX = axis[(roll >> 7) % 5];
    recorder.joystickY = axis[(roll >> 11) % 5];
}

// Step length in ms: 10 to 40, and now and then a stall of 200 to 900.
int scriptStepLength(unsigned roll) {
    if (roll % 2000 == 0) return 200 + static_cast<int>((roll >> 11) % 701);
    return 10 + static_cast<int>((roll >> 11) % 31);
}

}  // namespace

// A fixed script (std::mt19937's sequence is the same everywhere) plays
// four games through the input callbacks and idleStep: phases of turning,
// raising and lowering, zooming and firing, a volley at full elevation with
// short steps that fills every shot slot, and stalls that bring many shots
// down in one step. The world is hashed byte for byte every 10,000 steps.
TEST(Determinism, ScriptedGameHashesAsOnLinuxX86_64) {
    static_assert(alignof(WorldState) == 4, "the world is 32-bit fields with no padding");
    std::mt19937 script(2026);
    startTestGame(0);
    LineChecker lines;
    int mostShots = 0;
    int mostMarks = 0;
    int hits = 0;
    for (int step = 1; step <= REPLAY_STEPS; step++) {
        if (step % STEPS_PER_GAME == 1) {
            hits += world.hitCount;
            startGameState(recorder.clock);
            world.hasJoystick = 1;
        }
        const bool volley = step % 20000 < 1500;
        if (volley) {
            keyboard(' ', 0, 0);
            special(KEY_UP, 0, 0);
            recorder.joystickAttached = false;
            stepBy(step % 1500 >= 1498 ? 600 : 10);
        } else {
            const unsigned roll = script();
            if (roll % 16 == 0) scriptKey(roll >> 4);
            if (roll % 256 == 1) scriptJoystick(roll >> 8);
            stepBy(scriptStepLength(script()));
        }
        int shots = 0;
        for (const Shot& shot : world.shots) shots += shot.state;
        int marks = 0;
        for (const ImpactMark& mark : world.impactMarks) marks += mark.ttl > 0 ? 1 : 0;
        mostShots = std::max(mostShots, shots);
        mostMarks = std::max(mostMarks, marks);
        if (step % CHECKPOINT_STEPS == 0) lines.check(std::to_string(step), fnv1a(&world, sizeof world));
    }
    hits += world.hitCount;
    std::printf("replay: %d hits, at most %d shots flying and %d marks\n", hits, mostShots,
                mostMarks);
    EXPECT_EQ(lines.firstDifference, "");
    EXPECT_GT(hits, 0);
    EXPECT_EQ(mostShots, MAX_SHOTS);
    EXPECT_EQ(mostMarks, MAX_IMPACT_MARKS);
}
