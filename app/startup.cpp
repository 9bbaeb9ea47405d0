// SPDX-License-Identifier: MIT
// Start-up: the toolkit, the one window, the callbacks and the reset.
#include <GL/freeglut.h>

#include "controls.h"
#include "render.h"
#include "shell.h"
#include "sim.h"
#include "world.h"

void startGame(int* argc, char** argv) {
    keepFreedMemory();
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    // After glutInit, so a size given on the command line is overridden.
    glutInitWindowSize(600, 600);
    glutCreateWindow("Zarvel");
    // One frame is drawn per step: a swap that waited for the display would
    // hold the step to the display's rate.
    unsyncSwaps();
    // A held key gives one press and one release, not a stream of both.
    glutIgnoreKeyRepeat(1);
    glutReshapeFunc(reshape);
    glutIdleFunc(idleStep);
    glutSpecialFunc(special);
    glutSpecialUpFunc(specialUp);
    glutKeyboardFunc(keyboard);
    glutKeyboardUpFunc(keyboardUp);
    glutDisplayFunc(display);
    newGame();
    if (world.hasJoystick != 0) glutJoystickFunc(joystickInput, 10);
}
