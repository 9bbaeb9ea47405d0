// SPDX-License-Identifier: MIT
// The new-game reset: starting values, meshes and the fixed OpenGL state.
#include <GL/freeglut.h>

#include "render.h"
#include "shell.h"
#include "toolkit.h"
#include "world.h"

void newGame() {
    startGameState(toolkitClock());
    prepareMeshes();
    glLightfv(GL_LIGHT0, GL_DIFFUSE, lightDiffuse);
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    world.hasJoystick = glutDeviceGet(GLUT_HAS_JOYSTICK) != 0 ? 1 : 0;
}
