// SPDX-License-Identifier: MIT
// The cost of one game step (sections 2 to 13, behind a passing time gate)
// at a typical and at the full load. Prints microseconds per step.
#include <benchmark/benchmark.h>

#include "recorder.h"
#include "sim.h"
#include "world.h"

namespace {

// Fires at full elevation with 10 ms steps until `shots` are in flight,
// then fills the target slots as the spawner spreads them.
void buildLoad(int shots, int targets, int marks) {
    startTestGame();
    world.keyBits = CONTROL_FIRE;
    world.pitchDeg = 20.0f;
    for (int i = 0; i < 100000; i++) {
        int flying = 0;
        for (const Shot& shot : world.shots) flying += shot.state == SHOT_FLYING ? 1 : 0;
        if (flying >= shots) break;
        stepBy(10);
    }
    world.keyBits = 0;
    for (Target& target : world.targets) target.state = TARGET_FREE;
    for (int i = 0; i < targets; i++) spawnTarget();
    for (int i = 0; i < MAX_IMPACT_MARKS; i++) {
        world.impactMarks[i] = ImpactMark{i < marks ? 2 : 0, static_cast<float>(i), 50.0f};
    }
}

// Runs one step from the same world every iteration.
void runSteps(benchmark::State& state, int shots, int targets, int marks) {
    buildLoad(shots, targets, marks);
    const WorldState start = world;
    const int clock = recorder.clock;
    for (auto _ : state) {
        state.PauseTiming();
        world = start;
        recorder.clock = clock;
        state.ResumeTiming();
        stepBy(10);
        benchmark::DoNotOptimize(world.hitCount);
    }
}

void BM_StepTypical(benchmark::State& state) { runSteps(state, 25, 30, 5); }
void BM_StepFullLoad(benchmark::State& state) {
    runSteps(state, MAX_SHOTS, MAX_TARGETS, MAX_IMPACT_MARKS);
}

}  // namespace

BENCHMARK(BM_StepTypical)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepFullLoad)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
