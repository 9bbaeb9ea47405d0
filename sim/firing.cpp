// SPDX-License-Identifier: MIT
// Firing from the muzzle, and the step-rate counter.
#include <cmath>

#include "sim.h"
#include "trig.h"
#include "world.h"

namespace {
constexpr double MUZZLE_SPEED = 120.0;  // units per second along the barrel
constexpr float MUZZLE_BASE = 1.15f;    // least distance of the start point from the pivot
constexpr float PIVOT_HEIGHT = 1.2f;    // height of the gun pivot above the floor
constexpr int RELOAD_STEPS = 2;         // fireCooldown after a shot
constexpr int RATE_WINDOW_MS = 1000;    // the rate is recomputed after this
}  // namespace

// The first free shot slot, or nullptr when all 300 are flying.
static Shot* freeShotSlot() {
    for (Shot& shot : world.shots) {
        if (shot.state == SHOT_FREE) return &shot;
    }
    return nullptr;
}

// A spread of -0.50..+0.49 units per second from one draw.
static double spread() { return (gameRandom() % 100) / 100.0 - 0.5; }

// Launches a shot along the barrel from the muzzle. Draws five numbers:
// muzzle distance, one discarded, then the spread of x, y and z.
static void launchShot(Shot& shot) {
    shot.state = SHOT_FLYING;
    const double psi = barrelPsi(world.yawDeg);
    const double theta = barrelTheta(world.pitchDeg);
    const float d[3] = {
        static_cast<float>(-(roundedCos(psi) * roundedCos(theta))),
        static_cast<float>(roundedSin(theta)),
        static_cast<float>(roundedSin(psi) * roundedCos(theta)),
    };
    const float length = static_cast<float>(std::sqrt(static_cast<double>(d[0]) * d[0] +
                                                      static_cast<double>(d[1]) * d[1] +
                                                      static_cast<double>(d[2]) * d[2]));
    const float muzzle = static_cast<float>(MUZZLE_BASE + (gameRandom() % 100) / 1000.0);
    const double unit[3] = {d[0] / static_cast<double>(length), d[1] / static_cast<double>(length),
                            d[2] / static_cast<double>(length)};
    shot.pos[0] = static_cast<float>(unit[0] * muzzle + world.playerX);
    shot.pos[1] = static_cast<float>(unit[1] * muzzle + PIVOT_HEIGHT);
    shot.pos[2] = static_cast<float>(unit[2] * muzzle + world.playerZ);
    gameRandom();
    for (int k = 0; k < 3; k++) {
        shot.vel[k] = static_cast<float>(unit[k] * MUZZLE_SPEED + spread());
    }
}

double barrelPsi(float yawDeg) { return (yawDeg + 90.0) / 180.0 * PI; }

double barrelTheta(float pitchDeg) { return pitchDeg / 180.0 * PI; }

void updateFiring() {
    if (world.fireCooldown == 0 && world.shotsLeft > 0 && world.fireInput != 0) {
        // With every slot flying nothing is fired, spent or drawn, and the
        // gun stays ready for the first step that finds a free slot.
        Shot* shot = freeShotSlot();
        if (shot != nullptr) {
            launchShot(*shot);
            world.shotsLeft -= 1;
            world.fireCooldown = RELOAD_STEPS;
        }
    }
    if (world.fireCooldown > 0) world.fireCooldown -= 1;
}

void updateFrameRate(int stepNow) {
    world.frameCount += 1;
    const int e = millisecondsBetween(world.fpsWindowStart, stepNow);
    if (e > RATE_WINDOW_MS) {
        world.fpsValue = static_cast<int>(world.frameCount * 1000.0 / e);
        world.frameCount = 0;
        world.fpsWindowStart = stepNow;
    }
}
