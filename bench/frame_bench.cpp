// SPDX-License-Identifier: MIT
// The cost of one frame (display, then glFinish, so the time is the real
// rendering time of Mesa's software renderer) in a real 600 x 600 game
// window, for the start scene, 300 targets with 25 shots, and the full load;
// each with the skipping of what cannot reach a pixel and with everything
// drawn, side by side. Also the pieces of the start scene's frame.
#include <GL/freeglut.h>
#include <GL/glx.h>
#include <benchmark/benchmark.h>

#include <cstdio>

#include "render.h"
#include "scenes.h"
#include "shell.h"
#include "sim.h"
#include "toolkit.h"
#include "world.h"

namespace {

constexpr int WINDOW_SIZE = 600;  // pixels on each side, as the game opens it

// Opens the game window once, with the game's reset, and waits for its
// first reshape.
void openWindow() {
    static bool open = false;
    if (open) return;
    int argc = 1;
    char name[] = "zarvel_frame_bench";
    char* argv[] = {name, nullptr};
    startGame(&argc, argv);
    for (int i = 0; i < 2000 && world.windowHeight == 0; i++) glutMainLoopEvent();
    open = true;
}

// Counts what this frame draws, for the figures' labels.
void countDrawn(benchmark::State& state) {
    const FrameView view = frameView(world.yawDeg, 64.0, world.windowWidth, world.windowHeight);
    int targets = 0, shots = 0, targetsSeen = 0, shotsSeen = 0;
    for (const Target& t : world.targets) {
        if (t.state == TARGET_FREE) continue;
        targets++;
        targetsSeen += sphereMayBeSeen(view, t.pos[0], t.pos[1], t.pos[2], 2.0) ? 1 : 0;
    }
    for (const Shot& s : world.shots) {
        if (s.state != SHOT_FLYING) continue;
        shots++;
        shotsSeen += sphereMayBeSeen(view, s.pos[0], s.pos[1], s.pos[2], 0.05) ? 1 : 0;
    }
    state.counters["targets"] = targets;
    state.counters["shots"] = shots;
    state.counters["targets_drawn"] = drawEverything ? targets : targetsSeen;
    state.counters["shots_drawn"] = drawEverything ? shots : shotsSeen;
}

// One whole frame of a scene; args: scene (0 start, 1 300 targets + 25
// shots, 2 full load), everything (1 draws everything, 0 skips).
void BM_Frame(benchmark::State& state) {
    openWindow();
    buildScene(static_cast<int>(state.range(0)));
    drawEverything = state.range(1) != 0;
    // The renderer compiles its code for new state on first use: not timed.
    for (int i = 0; i < 10; i++) display();
    glFinish();
    for (auto _ : state) {
        display();
        glFinish();
    }
    countDrawn(state);
    drawEverything = false;
    state.counters["frames_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// The overlay's text as drawHud draws it, without the swap.
void drawOverlayText() {
    glDisable(GL_LIGHTING);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glColor3f(1.0f, 1.0f, 0.0f);
    glRasterPos3f(-0.95f, 0.9f, 0.5f);
    const HudLine line = hudLine(0, 10000, 0, 0);
    for (int i = 0; i < line.length; i++) {
        glutBitmapCharacter(GLUT_BITMAP_HELVETICA_18, static_cast<unsigned char>(line.text[i]));
    }
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_LIGHTING);
}

// Pieces of the start scene's frame, by the argument: 0 the clear of colour
// and depth, 1 the clear and the floor, 2 one target ball alone (40 units
// ahead), 3 the barrel alone, 4 the overlay's text alone, 5 the buffer swap
// alone. Each is followed by glFinish.
void BM_FramePiece(benchmark::State& state) {
    openWindow();
    buildScene(0);
    world.targets[0].pos[0] = 0.0f;
    world.targets[0].pos[2] = 40.0f;
    for (int i = 0; i < 10; i++) display();
    // The frame's set-up before the objects are drawn.
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glLoadIdentity();
    gluPerspective(64.0, 1.0, 0.1, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    const int piece = static_cast<int>(state.range(0));
    for (auto _ : state) {
        if (piece <= 1) glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        if (piece == 1) drawFloor();
        if (piece == 2) drawTargets();
        if (piece == 3) drawGun();
        if (piece == 4) drawOverlayText();
        if (piece == 5) glutSwapBuffers();
        glFinish();
    }
    glLoadIdentity();
}

// What the step's key check costs in the real game window with keys held:
// the questions to the X server about the focus and the keys (two round
// trips), or the focus elsewhere (arg 1), when it lets go of them all.
void BM_StepKeyCheck(benchmark::State& state) {
    openWindow();
    Display* display = glXGetCurrentDisplay();
    const Window window = glXGetCurrentDrawable();
    XSetInputFocus(display, state.range(0) == 0 ? window : PointerRoot, RevertToPointerRoot,
                   CurrentTime);
    XWarpPointer(display, None, DefaultRootWindow(display), 0, 0, 0, 0, 900, 700);
    XSync(display, False);
    for (auto _ : state) {
        benchmark::DoNotOptimize(toolkitKeysStillDown(CONTROL_FIRE | CONTROL_LEFT));
    }
}

}  // namespace

BENCHMARK(BM_StepKeyCheck)->ArgName("elsewhere")->DenseRange(0, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Frame)
    ->ArgNames({"scene", "everything"})
    ->ArgsProduct({{0, 1, 2}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5);
BENCHMARK(BM_FramePiece)
    ->ArgName("piece")
    ->DenseRange(0, 5)
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(0.3);
// Runs the benchmarks after printing the renderer that the window got.
int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    openWindow();
    std::printf("GL_RENDERER: %s\nGL_VERSION: %s\n",
                reinterpret_cast<const char*>(glGetString(GL_RENDERER)),
                reinterpret_cast<const char*>(glGetString(GL_VERSION)));
    std::fflush(stdout);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
