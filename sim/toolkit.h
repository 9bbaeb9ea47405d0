// SPDX-License-Identifier: MIT
// The seam between the step and the platform it runs on. The game binds
// these to the real clock and to freeglut; the tests bind them to a
// recorder with a clock they set by hand.
#pragma once

// Elapsed real time since the process started, in whole milliseconds.
int toolkitClock();

// Gives the processor back until about when the clock reads dueMs. The wait
// may end a little early or late (a sleep can run over); the caller checks
// the clock again either way.
void toolkitWaitForClock(int dueMs);

// Polls the joystick now: before this returns, the joystick callback runs
// once for every joystick the toolkit could read, and not at all when it
// could read none (a joystick that failed or was unplugged).
void toolkitForceJoystickPoll();

// Asks for the window to be redrawn.
void toolkitPostRedisplay();

// Of the controls `held` on the keyboard (control bits), those whose keys are
// still down for the game's window: none once another window has the
// keyboard, and none whose key went up without the game hearing it (let go
// while another window had the keyboard, or with a modifier that turned its
// release into another character). Asks the window system at most once.
int toolkitKeysStillDown(int held);
