// SPDX-License-Identifier: MIT
// The browser game's binding of the step's seam: the page's clock, which
// stands still while the page is hidden, and the loop's timer (glut.js).
#include <GL/freeglut.h>

#include "controls.h"
#include "shell.h"
#include "toolkit.h"

static_assert(GLUT_KEY_LEFT == KEY_LEFT && GLUT_KEY_UP == KEY_UP && GLUT_KEY_RIGHT == KEY_RIGHT &&
                  GLUT_KEY_DOWN == KEY_DOWN,
              "the controls use the toolkit's arrow-key codes");

extern "C" {
// Milliseconds the page has been shown since glutInit, as an int (glut.js).
int zarvelGameClock(void);
// Has the loop's timer call the idle callback again when the clock reads dueMs (glut.js).
void zarvelWakeAt(int dueMs);
}

int toolkitClock() { return zarvelGameClock(); }

// The page cannot sleep: the loop returns to the browser, and its timer
// calls the step again when it is due.
void toolkitWaitForClock(int dueMs) { zarvelWakeAt(dueMs); }

void toolkitForceJoystickPoll() { glutForceJoystickFunc(); }

void toolkitPostRedisplay() { glutPostRedisplay(); }

// The page lets go of every key it holds when the canvas loses the keyboard,
// and hands the game every key-up of a key it holds, whatever the modifiers
// (glut.js): what the game holds is still down.
int toolkitKeysStillDown(int held) { return held; }

// The browser shows a frame when it composites the page, never waiting in
// the swap: there is no swap interval to ask for.
void unsyncSwaps() {}
