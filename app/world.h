// SPDX-License-Identifier: MIT
// The world state: every value the game keeps from one callback to the next.
// One instance, `world`, lives for the whole process; nothing is allocated
// at run time. A slot of an array is free while its first field is 0.
#pragma once

#include <cfloat>
#include <cstddef>
#include <cstdint>

// The world is the same bits on every platform only with IEEE double and
// float arithmetic, each operation rounded by itself.
#ifdef __FAST_MATH__
#error "the world needs strict IEEE arithmetic: build without -ffast-math"
#endif
#if FLT_EVAL_METHOD != 0
#error "the world needs float and double arithmetic in their own precision (FLT_EVAL_METHOD 0), not x87's"
#endif

// Pi in double precision: degrees become radians as degrees / 180 x PI.
constexpr double PI = 3.141592653589793;

constexpr int MAX_TARGETS = 300;
constexpr int MAX_SHOTS = 300;
constexpr int MAX_IMPACT_MARKS = 50;

// Target states.
constexpr int TARGET_FREE = 0;
constexpr int TARGET_ALIVE = 1;
constexpr int TARGET_HIT = 2;
constexpr int TARGET_DYING = 3;

// Shot states.
constexpr int SHOT_FREE = 0;
constexpr int SHOT_FLYING = 1;

// Control bits: a bit is set while its control is held.
using ControlBits = int;
constexpr ControlBits CONTROL_UP = 1;
constexpr ControlBits CONTROL_DOWN = 2;
constexpr ControlBits CONTROL_LEFT = 4;
constexpr ControlBits CONTROL_RIGHT = 8;
constexpr ControlBits CONTROL_FIRE = 16;
constexpr ControlBits CONTROL_ZOOM1 = 32;
constexpr ControlBits CONTROL_ZOOM2 = 64;
constexpr ControlBits CONTROL_ZOOM3 = 128;
constexpr ControlBits CONTROL_ALL = 255;

// One target ball.
struct Target {
    int32_t state = TARGET_FREE;  // TARGET_FREE, _ALIVE, _HIT or _DYING
    float baseColor[4] = {};      // RGBA at spawn; upper bound of the colour wander
    float radius = 0.0f;          // collision radius, world units (2.0)
    float pos[3] = {};            // centre, world units; y equals radius
    float vel[3] = {};            // units per second; y always 0
    float colorStep[3] = {};      // wander increment per channel, +-0.01
    float color[4] = {};          // current RGBA, handed to OpenGL as is
};

// One projectile.
struct Shot {
    int32_t state = SHOT_FREE;  // SHOT_FREE or SHOT_FLYING
    float pos[3] = {};          // world units
    float vel[3] = {};          // units per second
};

// One mark where a shot reached the floor.
struct ImpactMark {
    int32_t ttl = 0;  // steps of visibility left, 0 = free, never negative
    float x = 0.0f;   // floor position x, world units
    float z = 0.0f;   // floor position z, world units
};

static_assert(sizeof(Target) == 19 * 4, "Target is 19 packed 32-bit fields");
static_assert(offsetof(Target, color) == 15 * 4, "Target color is fields 16-19");
static_assert(sizeof(Shot) == 7 * 4, "Shot is 7 packed 32-bit fields");
static_assert(sizeof(ImpactMark) == 3 * 4, "ImpactMark is 3 packed 32-bit fields");

// Everything the game remembers. Default member values are the values at
// program start; the new-game reset then sets the starting values.
struct WorldState {
    Target targets[MAX_TARGETS] = {};
    Shot shots[MAX_SHOTS] = {};
    ImpactMark impactMarks[MAX_IMPACT_MARKS] = {};

    ControlBits keyBits = 0;       // controls held on the keyboard
    ControlBits joystickBits = 0;  // controls held on the joystick at the last poll

    int pitchInput = 0;  // combined bits AND 3, this step
    int yawInput = 0;    // combined bits AND 12
    int fireInput = 0;   // combined bits AND 16
    int zoomInput = 0;   // combined bits AND 224

    float yawDeg = 0.0f;     // heading, degrees 0..360; 0 looks along +z, 90 along +x
    float pitchDeg = 0.0f;   // barrel elevation, degrees 0..20
    float yawRate = 0.0f;    // degrees per step, positive turning left
    float pitchRate = 0.0f;  // degrees per step, positive raising
    int zoomLevel = 0;       // 0..3: field of view 64, 32, 16 or 8 degrees

    int shotsLeft = 0;       // ammunition, 0..10000
    int hitCount = 0;        // targets struck since the game began
    int fireCooldown = 0;    // steps until the gun may fire again, 0..2
    int spawnCountdown = 0;  // steps until the next spawn attempt; < 0 while all slots are busy

    int lastStepTime = 0;    // clock reading / clockDivisor at the last step, ms
    int clockDivisor = 0;    // divisor applied to every clock reading of the step
    int frameCount = 0;      // steps since the rate window began
    int fpsWindowStart = 0;  // ms, when the rate window began
    int fpsValue = 0;        // steps per second, last computed
    int showFps = 0;         // 0 or 1: the overlay shows fpsValue
    int hasJoystick = 0;     // 0 or 1: a joystick was found at start

    int windowWidth = 0;   // pixels, from the last reshape
    int windowHeight = 0;  // pixels, from the last reshape

    float playerX = 0.0f;    // gun position x on the floor, never changed
    float playerZ = 0.0f;    // gun position z on the floor, never changed
    float gunHeight = 1.2f;  // height of the gun pivot and of a mark's tube

    uint32_t randomNext = 1;  // state of the game's random generator
};

// The determinism test hashes the world as its 32-bit fields, so it must
// have no padding: its size is the sum of its members' sizes. Every member
// is listed here, and a new one must join the list (any member other than a
// 32-bit field, or an array of them, breaks the hash on big-endian machines).
static_assert(sizeof(WorldState) ==
                  sizeof(WorldState::targets) + sizeof(WorldState::shots) +
                      sizeof(WorldState::impactMarks) + sizeof(WorldState::keyBits) +
                      sizeof(WorldState::joystickBits) + sizeof(WorldState::pitchInput) +
                      sizeof(WorldState::yawInput) + sizeof(WorldState::fireInput) +
                      sizeof(WorldState::zoomInput) + sizeof(WorldState::yawDeg) +
                      sizeof(WorldState::pitchDeg) + sizeof(WorldState::yawRate) +
                      sizeof(WorldState::pitchRate) + sizeof(WorldState::zoomLevel) +
                      sizeof(WorldState::shotsLeft) + sizeof(WorldState::hitCount) +
                      sizeof(WorldState::fireCooldown) + sizeof(WorldState::spawnCountdown) +
                      sizeof(WorldState::lastStepTime) + sizeof(WorldState::clockDivisor) +
                      sizeof(WorldState::frameCount) + sizeof(WorldState::fpsWindowStart) +
                      sizeof(WorldState::fpsValue) + sizeof(WorldState::showFps) +
                      sizeof(WorldState::hasJoystick) + sizeof(WorldState::windowWidth) +
                      sizeof(WorldState::windowHeight) + sizeof(WorldState::playerX) +
                      sizeof(WorldState::playerZ) + sizeof(WorldState::gunHeight) +
                      sizeof(WorldState::randomNext),
              "WorldState has padding, or a member missing from this list");

extern WorldState world;

// Puts every variable of the world back to its program-start value.
void clearWorld();

// Gives the world its starting values for a new game (everything the reset
// does that is not drawing or toolkit work). clockReading is the clock in ms.
void startGameState(int clockReading);
