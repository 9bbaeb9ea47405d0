// SPDX-License-Identifier: MIT
// The game's entry: one 600 x 600 window, and the toolkit's main loop, which
// runs until the window is closed and then ends the process with status 0.
#include <GL/freeglut.h>

#include "shell.h"

// Hands the command line to the toolkit, opens the window and plays.
int main(int argc, char** argv) {
    startGame(&argc, argv);
    glutMainLoop();
    return 0;
}
