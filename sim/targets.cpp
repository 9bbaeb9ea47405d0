// SPDX-License-Identifier: MIT
// Targets: spawning around the gun, drifting, colour pulsing, reddening
// once struck, fading and freeing their slot.
#include "sim.h"
#include "trig.h"
#include "world.h"

namespace {
constexpr float TARGET_RADIUS = 2.0f;
constexpr float TARGET_COLOR[4] = {0.4f, 0.8f, 0.5f, 1.0f};
constexpr double EDGE = 900.0;        // targets turn back beyond this |x| or |z|
constexpr double COLOR_SPAN = 0.32;   // the wander stays within base - 0.32 .. base
constexpr double WANDER_LIMIT = 4.0;  // velocity components this fast never wander
}  // namespace

// The first free target slot, or nullptr when all are busy.
static Target* freeTargetSlot() {
    for (Target& target : world.targets) {
        if (target.state == TARGET_FREE) return &target;
    }
    return nullptr;
}

// A velocity component from one draw: -5.00 to 4.99 units per second.
static float spawnSpeed() { return static_cast<float>((gameRandom() % 1000) / 100.0 - 5.0); }

double spawnRadians(int headingDeg) { return headingDeg * PI / 180.0; }

void spawnTarget() {
    Target* target = freeTargetSlot();
    if (target == nullptr) {
        return;  // the countdown stays below 0, so the next step tries again
    }
    target->state = TARGET_ALIVE;
    target->radius = TARGET_RADIUS;
    const int distance = 100 + gameRandom() % 700;  // 100..799 units
    const int angle = gameRandom() % 360;           // heading, 0..359 degrees
    for (int c = 0; c < 4; c++) {
        target->baseColor[c] = TARGET_COLOR[c];
        target->color[c] = TARGET_COLOR[c];
    }
    const double radians = spawnRadians(angle);
    target->pos[0] = static_cast<float>(roundedSin(radians) * distance);
    target->pos[1] = target->radius;
    target->pos[2] = static_cast<float>(roundedCos(radians) * distance);
    target->vel[0] = spawnSpeed();
    target->vel[1] = 0.0f;
    target->vel[2] = spawnSpeed();
    world.spawnCountdown = 80 + gameRandom() % 40;
    // colorStep is left as the slot's previous occupant had it.
}

// One component's random wander: a quarter of the time, -0.50..+0.45.
static void wanderVelocity(float& v) {
    if (v > -WANDER_LIMIT && v < WANDER_LIMIT && gameRandom() % 4 == 0) {
        v = static_cast<float>(v + ((gameRandom() % 20) / 20.0 - 0.5));
    }
}

// Turns a component back when the target is beyond the edge moving outward.
static void bounceAtEdge(float pos, float& vel) {
    if ((pos < -EDGE && vel < 0.0f) || (pos > EDGE && vel > 0.0f)) {
        vel = -vel;
    }
}

// Colour pulse: each channel steps by colorStep half the time, then turns
// back at its bounds. All three draws come before any bound is applied.
static void pulseColor(Target& target) {
    int draws[3] = {0, 0, 0};
    for (int& draw : draws) {
        draw = gameRandom();
    }
    for (int c = 0; c < 3; c++) {
        if (draws[c] % 10 < 5) {
            target.color[c] = target.color[c] + target.colorStep[c];
        }
    }
    for (int c = 0; c < 3; c++) {
        if (target.color[c] >= target.baseColor[c]) {
            target.color[c] = target.baseColor[c];
            target.colorStep[c] = -0.01f;
        }
        const double lowest = target.baseColor[c] - COLOR_SPAN;
        if (target.color[c] < lowest) {
            target.color[c] = static_cast<float>(lowest);
            target.colorStep[c] = 0.01f;
        }
    }
}

// A living target: velocity wander, edge bounce, move, colour pulse.
static void updateAliveTarget(Target& target, double stepSeconds) {
    wanderVelocity(target.vel[0]);
    wanderVelocity(target.vel[2]);
    bounceAtEdge(target.pos[0], target.vel[0]);
    bounceAtEdge(target.pos[2], target.vel[2]);
    for (int k = 0; k < 3; k++) {
        target.pos[k] = static_cast<float>(target.pos[k] + target.vel[k] * stepSeconds);
    }
    pulseColor(target);
}

// A small random change of a colour channel: 0.05..0.068.
static double redden() { return (gameRandom() % 10) / 500.0 + 0.05; }

// A struck target turns red, green and blue fall, then it starts to fade.
static void updateHitTarget(Target& target) {
    if (target.color[0] > 1.0f) {
        target.color[0] = 1.0f;
        target.state = TARGET_DYING;
        target.color[3] = 0.6f;
        return;
    }
    target.color[0] = static_cast<float>(target.color[0] + redden());
    if (target.color[1] > 0.3) target.color[1] = static_cast<float>(target.color[1] - redden());
    if (target.color[2] > 0.2) target.color[2] = static_cast<float>(target.color[2] - redden());
}

// A dying target fades by 0.030..0.048 a step and is freed below 0.1.
static void updateDyingTarget(Target& target) {
    if (target.color[3] < 0.1) {
        target.state = TARGET_FREE;
        return;
    }
    target.color[3] = static_cast<float>(target.color[3] - ((gameRandom() % 10) / 500.0 + 0.03));
}

void updateTargets(double stepSeconds) {
    for (Target& target : world.targets) {
        switch (target.state) {
            case TARGET_ALIVE: updateAliveTarget(target, stepSeconds); break;
            case TARGET_HIT: updateHitTarget(target); break;
            case TARGET_DYING: updateDyingTarget(target); break;
            default: break;
        }
    }
}
