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

// Strikes every living target whose ball the shot lies strictly inside.
static void strikeTargets(const Shot& shot) {
    for (Target& target : world.targets) {
        if (target.state != TARGET_ALIVE) continue;
        const double dx = static_cast<double>(target.pos[0]) - shot.pos[0];
        const double dy = static_cast<double>(target.pos[1]) - shot.pos[1];
        const double dz = static_cast<double>(target.pos[2]) - shot.pos[2];
        const double radius = target.radius;
        if (dx * dx + dy * dy + dz * dz < radius * radius) {
            target.state = TARGET_HIT;
            world.hitCount += 1;
        }
    }
}

void updateShots(double stepSeconds) {
    // The fall per step is rounded to a float before it is subtracted.
    const float fall = static_cast<float>(GRAVITY * stepSeconds);
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
        strikeTargets(shot);
    }
}
