// SPDX-License-Identifier: MIT
// The game's binding of the step's seam: the real clock and freeglut.
#include <GL/freeglut.h>

#include "controls.h"
#include "sim.h"
#include "toolkit.h"

static_assert(GLUT_KEY_LEFT == KEY_LEFT && GLUT_KEY_UP == KEY_UP && GLUT_KEY_RIGHT == KEY_RIGHT &&
                  GLUT_KEY_DOWN == KEY_DOWN,
              "the controls use the toolkit's arrow-key codes");

int toolkitClock() { return processMilliseconds(); }

void toolkitWaitForClock(int dueMs) { sleepUntilMilliseconds(dueMs); }

void toolkitForceJoystickPoll() { glutForceJoystickFunc(); }

void toolkitPostRedisplay() { glutPostRedisplay(); }
