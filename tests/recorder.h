// SPDX-License-Identifier: MIT
// The tests' binding of the toolkit seam: a clock set by hand, a count of
// every toolkit call, and a joystick sample delivered on each forced poll
// (and an idle second stick's, when one is attached).
#pragma once

#include <functional>

struct ToolkitRecorder {
    int clock = 0;                  // ms, what toolkitClock() answers
    int joystickPolls = 0;          // calls of toolkitForceJoystickPoll
    int redisplays = 0;             // calls of toolkitPostRedisplay
    int waits = 0;                  // calls of toolkitWaitForClock
    int waitDue = 0;                // ms, the clock reading the last wait was for
    bool joystickAttached = false;  // a poll delivers the sample below
    unsigned int joystickButtons = 0;
    int joystickX = 0;            // -1000..1000
    int joystickY = 0;            // -1000..1000
    bool secondJoystick = false;  // a second stick, idle, is polled after the first
    int keyChecks = 0;            // calls of toolkitKeysStillDown
    int keysUp = 0;               // control bits whose keys the window system says are up
};

extern ToolkitRecorder recorder;

// A clean world at the start of a game, with the clock at `clock` ms.
void startTestGame(int clock = 0);

// Moves the clock on by elapsedMs and calls the idle callback once.
void stepBy(int elapsedMs);

// Moves the random generator on, one draw at a time, to the first state
// from which the draws that drawsMatch makes satisfy it. Returns false when
// none is found within `limit` draws.
bool seekDraws(const std::function<bool()>& drawsMatch, int limit = 50000000);
