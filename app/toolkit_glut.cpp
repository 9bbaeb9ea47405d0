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

// Wakes when the step is due, not before: the step gate counts whole
// milliseconds, so a sleep that runs over by a fraction of one still starts
// the step in its due millisecond, and waking early would only spin. On
// Windows a sleep lasts whole scheduler ticks, 15.6 ms unless the timer
// resolution is raised: the 10 ms step would take 15.6 ms and aiming and
// firing, which count steps, would be a third slower. freeglut raises it to
// 1 ms in glutInit (timeBeginPeriod(1), undone at exit), and the game relies
// on that rather than raising it again itself.
void toolkitWaitForClock(int dueMs) { sleepUntilMilliseconds(dueMs, 0); }

void toolkitForceJoystickPoll() { glutForceJoystickFunc(); }

void toolkitPostRedisplay() { glutPostRedisplay(); }
