// SPDX-License-Identifier: MIT
// A binding of the step's seam for the early-waking build: like the game's,
// except that the wait wakes 0.3 ms before the step is due and the idle
// callback spins the rest of the way, as the game once did. For the
// benchmarks only, to compare with the game's wait in the same run.
#include <GL/freeglut.h>

#include "sim.h"
#include "toolkit.h"

int toolkitClock() { return processMilliseconds(); }

void toolkitWaitForClock(int dueMs) { sleepUntilMilliseconds(dueMs, 300); }

void toolkitForceJoystickPoll() { glutForceJoystickFunc(); }

void toolkitPostRedisplay() { glutPostRedisplay(); }
