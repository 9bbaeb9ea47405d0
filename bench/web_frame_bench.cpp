// SPDX-License-Identifier: MIT
// The cost of one frame of the browser game (display, then a read of one
// pixel, which waits until the browser's WebGL has drawn it: its glFinish
// does not wait for the GPU process) in its 600 x 600
// canvas: scene 0 the start (one target) and scene 1 300 targets with 25
// shots, the scenes of bench/frame_bench.cpp (bench/scenes.cpp), each with the skipping
// and with everything drawn. Prints one line per scene to the console;
// bench/web-bench.js runs it in headless Chromium.
#include <GL/freeglut.h>
#include <emscripten.h>

#include <cstdio>

#include "render.h"
#include "scenes.h"
#include "shell.h"
#include "sim.h"
#include "world.h"

namespace {

constexpr int FRAMES = 200;  // timed frames per scene and way

// Draws one frame and waits until it is drawn.
void drawAndWait() {
    display();
    unsigned char pixel[4] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
}

// Milliseconds per frame of the world as it is, after ten untimed frames.
double frameMs() {
    for (int i = 0; i < 10; i++) drawAndWait();
    const double start = emscripten_get_now();
    for (int i = 0; i < FRAMES; i++) drawAndWait();
    return (emscripten_get_now() - start) / FRAMES;
}

// Prints both ways of drawing the world as it is, named `scene`.
void measure(const char* scene) {
    drawEverything = false;
    const double skipping = frameMs();
    drawEverything = true;
    const double everything = frameMs();
    drawEverything = false;
    std::printf("%s: %.2f ms a frame with the skipping, %.2f ms drawing everything\n", scene,
                skipping, everything);
}

}  // namespace

// Opens the game's canvas and measures the two scenes.
int main(int argc, char** argv) {
    startGame(&argc, argv);
    glutMainLoopEvent();
    buildScene(0);
    measure("scene 0, the start");
    buildScene(1);
    measure("scene 1, 300 targets + 25 shots");
    std::printf("frame bench done\n");
    return 0;
}
