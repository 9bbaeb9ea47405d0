// SPDX-License-Identifier: MIT
// A binding of the step's seam for the busy-loop build: like the game's,
// except that the wait is no wait at all, so the idle callback spins while
// nothing is due, as a plain tight loop does. For the benchmarks only.
#include <GL/freeglut.h>

#include "sim.h"
#include "toolkit.h"

int toolkitClock() { return processMilliseconds(); }

void toolkitWaitForClock(int) {}

void toolkitForceJoystickPoll() { glutForceJoystickFunc(); }

void toolkitPostRedisplay() { glutPostRedisplay(); }
