// SPDX-License-Identifier: MIT
// The reshape callback: viewport, stored window size and the unzoomed projection.
#include <GL/freeglut.h>

#include "shell.h"
#include "world.h"

void reshape(int width, int height) {
    glViewport(0, 0, width, height);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    // A minimised window reports height 0: keep the last good size, and with
    // it the aspect of the next frames, instead of dividing by zero.
    if (height <= 0) return;
    world.windowWidth = width;
    world.windowHeight = height;
    gluPerspective(64.0, static_cast<double>(width) / static_cast<double>(height), 0.1, 1000.0);
}
