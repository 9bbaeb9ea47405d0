// SPDX-License-Identifier: MIT
// The game's random generator: the same sequence on every run and platform.
#include "sim.h"
#include "world.h"

int gameRandom() {
    world.randomNext = world.randomNext * 1103515245u + 12345u;
    return static_cast<int>((world.randomNext / 65536u) % 32768u);
}
