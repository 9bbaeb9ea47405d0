// SPDX-License-Identifier: MIT
// What the Linux and the Windows end-to-end tests both check, on a running
// game whose window has the keyboard and shows a readable line: its first
// picture, and keys that go up where the game cannot hear them.
#pragma once

#include "session.h"

// Expects a drawing area of 600 x 600 pixels.
void expectDrawingArea(GameRun& run);

// Expects the first frame's line, the blue sky, the lit sand and the barrel.
void expectStartScene(const Frame& frame, const OverlayText& line);

// Degrees per second the view turns, from the ball's place on the screen 5
// and then 15 new frames from now; the ball's own drift is at most about 2
// degrees per second. Fails the test when the ball is out of view.
double turnRate(GameRun& run);

// Space and the left arrow held, then the keyboard given to the driver's
// reference window (another X client's): the gun stops firing and turning
// while the keys are still down; their releases there change nothing; given
// the keyboard back, the game fires on space again.
void expectKeysLetGoElsewhere(GameRun& run);

// Space pressed with `shotsLeft` shots left fires, and let go, the firing
// stops.
void expectSpaceFiresAndStops(GameRun& run, int shotsLeft);

// Space held, a modifier down, space up, the modifier up: firing stops, for
// Ctrl, Alt, Shift, Super, AltGr and Caps Lock in turn.
void expectModifiedReleasesLetGo(GameRun& run);
