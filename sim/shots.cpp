// SPDX-License-Identifier: MIT
// Shots in flight: gravity, motion, the end of a flight at the floor or the
// field limit, impact marks, and the hit test against living targets.
#include "sim.h"
#include "world.h"

namespace {
constexpr double GRAVITY = 10.0;  // units per second squared, downward
constexpr int MARK_LIFETIME = 2;  // steps a new impact mark stays visible
}  // namespace

void updateImpactMarks() {
    for (ImpactMark& mark : world.impactMarks) {
        if (mark.ttl > 0) mark.ttl -= 1;
    }
}

// True when a coordinate, truncated toward zero, exceeds 1000 in magnitude:
// the shot has left the field. Compared as a float, so any value is safe.
static bool beyondFieldLimit(float coordinate) {
    return coordinate >= 1001.0f || coordinate <= -1001.0f;
}

// Marks the floor where a shot went below it; a full array makes no mark.
static void placeImpactMark(const Shot& shot) {
    for (ImpactMark& mark : world.impactMarks) {
        if (mark.ttl == 0) {
            mark.ttl = MARK_LIFETIME;
            mark.x = shot.pos[0];
            mark.z = shot.pos[2];
            return;
        }
    }
}

// The living targets at the start of the shot section, gathered once per
// step into plain arrays, so that each shot's hit test runs over a few
// contiguous numbers per target. A struck entry gets a negative radiusSquared.
struct AliveTargets {
    int count = 0;
    int slot[MAX_TARGETS] = {};  // index into world.targets
    double x[MAX_TARGETS] = {};  // centre, world units
    double y[MAX_TARGETS] = {};
    double z[MAX_TARGETS] = {};
    double radiusSquared[MAX_TARGETS] = {};  // units squared; < 0 once struck
};

// Fills `alive` with every TARGET_ALIVE slot, in index order.
static void gatherAliveTargets(AliveTargets& alive) {
    alive.count = 0;
    for (int i = 0; i < MAX_TARGETS; i++) {
        const Target& target = world.targets[i];
        if (target.state != TARGET_ALIVE) continue;
        const int k = alive.count++;
        alive.slot[k] = i;
        alive.x[k] = target.pos[0];
        alive.y[k] = target.pos[1];
        alive.z[k] = target.pos[2];
        alive.radiusSquared[k] = static_cast<double>(target.radius) * target.radius;
    }
}

// True when the shot lies strictly inside alive target k. The squared
// distance is summed in double precision; since every term is non-negative,
// a shot whose x distance alone reaches the radius can be turned away
// early with the same answer, and almost every pair is turned away there.
static bool insideTarget(const AliveTargets& alive, int k, const double shot[3]) {
    const double dx = alive.x[k] - shot[0];
    const double dxSquared = dx * dx;
    if (dxSquared >= alive.radiusSquared[k]) return false;
    const double dy = alive.y[k] - shot[1];
    const double dz = alive.z[k] - shot[2];
    return dxSquared + dy * dy + dz * dz < alive.radiusSquared[k];
}

// Strikes every living target whose ball the shot lies strictly inside.
static void strikeTargets(const Shot& shot, AliveTargets& alive) {
    const double at[3] = {shot.pos[0], shot.pos[1], shot.pos[2]};
    for (int k = 0; k < alive.count; k++) {
        if (insideTarget(alive, k, at)) {
            world.targets[alive.slot[k]].state = TARGET_HIT;
            world.hitCount += 1;
            alive.radiusSquared[k] = -1.0;  // struck once only
        }
    }
}

void updateShots(double stepSeconds) {
    // The fall per step is rounded to a float before it is subtracted.
    const float fall = static_cast<float>(GRAVITY * stepSeconds);
    AliveTargets alive;
    gatherAliveTargets(alive);
    for (Shot& shot : world.shots) {
        if (shot.state != SHOT_FLYING) continue;
        shot.vel[1] = static_cast<float>(static_cast<double>(shot.vel[1]) - fall);
        for (int k = 0; k < 3; k++) {
            shot.pos[k] = static_cast<float>(shot.pos[k] + shot.vel[k] * stepSeconds);
        }
        const bool belowFloor = shot.pos[1] < 0.0f;
        if (belowFloor || beyondFieldLimit(shot.pos[0]) || beyondFieldLimit(shot.pos[2])) {
            shot.state = SHOT_FREE;
            if (belowFloor) placeImpactMark(shot);
        }
        // A shot that has just ended is still tested at its new position,
        // and a hit does not stop it.
        strikeTargets(shot, alive);
    }
}
