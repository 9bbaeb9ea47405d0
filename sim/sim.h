// SPDX-License-Identifier: MIT
// The game step and its sections. idleStep runs at most once every 10 ms
// of real time and then advances the whole world by the time that passed.
#pragma once

// Step timing (step.cpp) -----------------------------------------------------

constexpr int STEP_INTERVAL_MS = 10;  // shortest time between two steps

// The idle callback: runs one whole step when 10 ms or more have passed
// since the last one, and otherwise returns at once.
void idleStep();

// later - earlier in ms for two readings of the int millisecond clock,
// correct across the clock's wrap from INT_MAX to INT_MIN.
int millisecondsBetween(int earlier, int later);

// The clock reading `milliseconds` after `reading`, wrapping as the clock does.
int millisecondsAfter(int reading, int milliseconds);

// Sections 3 and 5 to 7: decode the held controls, then elevate, turn and zoom.
void decodeControls();
void updateElevation();
void updateHeading();
void updateZoom();

// Section 4: count the spawn countdown down and spawn when it drops below 0.
void countDownSpawn();

// Targets (targets.cpp) ------------------------------------------------------

// Puts a new target in the first free slot and reloads spawnCountdown;
// does nothing when all slots are busy. Draws five random numbers.
void spawnTarget();

// The heading of a spawn, whole degrees 0..359, in radians.
double spawnRadians(int headingDeg);

// Moves, colours, reddens and fades every target slot; stepSeconds in s.
void updateTargets(double stepSeconds);

// Shots and hits (shots.cpp) -------------------------------------------------

// Lowers the ttl of every live impact mark by one step.
void updateImpactMarks();

// Lets every flying shot fall and fly for stepSeconds, ends flights at the
// floor or the field limit, leaves marks and strikes the targets it enters.
void updateShots(double stepSeconds);

// Firing and rate counter (firing.cpp) ---------------------------------------

// Fires one shot from the muzzle when fire is held and the gun is ready,
// then runs the fire cooldown down by one step.
void updateFiring();

// The barrel's angles in radians: psi, the heading turned by 90 degrees,
// and theta, the elevation. The shot's direction is (-cos psi cos theta,
// sin theta, sin psi cos theta).
double barrelPsi(float yawDeg);
double barrelTheta(float pitchDeg);

// Counts this step and recomputes fpsValue about once a second; stepNow in ms.
void updateFrameRate(int stepNow);

// Random numbers (random.cpp) ------------------------------------------------

// The next number 0..32767 of the game's fixed sequence (the C standard's
// portable example generator, starting from 1 on every run).
int gameRandom();

// The clock (clock.cpp) ------------------------------------------------------

// Real time since the process started, in whole ms, wrapping past INT_MAX.
int processMilliseconds();

// Sleeps until wakeEarlyUs microseconds before processMilliseconds() reads
// dueMs; returns at once when that time has come already. The sleep itself
// may run over, by 0.1-0.2 ms on an idle machine and more on a busy one.
void sleepUntilMilliseconds(int dueMs, int wakeEarlyUs);
