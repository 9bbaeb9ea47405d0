// SPDX-License-Identifier: MIT
// The benchmarks' fixed scenes, built in the world through the game's own
// new-game reset, spawner and firing, so they look as they do in play.
#include "scenes.h"

#include "sim.h"
#include "world.h"

namespace {

// A new game's world with the window's size kept.
void freshWorld() {
    const int width = world.windowWidth, height = world.windowHeight;
    clearWorld();
    startGameState(0);
    world.windowWidth = width;
    world.windowHeight = height;
}

// The step's sections that fly and fire shots, once, over 10 ms.
void flyAndFire() {
    decodeControls();
    updateImpactMarks();
    updateShots(0.010);
    updateFiring();
}

// Continuous fire at 20 degrees with 10 ms steps until `shots` fly, then
// `targets` spawned as the spawner spreads them and `marks` live marks.
void buildLoad(int shots, int targets, int marks) {
    freshWorld();
    world.pitchDeg = 20.0f;
    world.keyBits = CONTROL_FIRE;
    for (int i = 0; i < 100000; i++) {
        int flying = 0;
        for (const Shot& shot : world.shots) flying += shot.state == SHOT_FLYING ? 1 : 0;
        if (flying >= shots) break;
        flyAndFire();
    }
    world.keyBits = 0;
    for (Target& target : world.targets) target.state = TARGET_FREE;
    for (int i = 0; i < targets; i++) spawnTarget();
    for (int i = 0; i < MAX_IMPACT_MARKS; i++) {
        world.impactMarks[i] = ImpactMark{i < marks ? 2 : 0, static_cast<float>(i), 50.0f};
    }
}

}  // namespace

void buildScene(int scene) {
    switch (scene) {
        case 0:  // the start: what the first step leaves, one target
            freshWorld();
            spawnTarget();
            break;
        case 1: buildLoad(25, MAX_TARGETS, 0); break;
        default: buildLoad(MAX_SHOTS, MAX_TARGETS, MAX_IMPACT_MARKS); break;
    }
}

