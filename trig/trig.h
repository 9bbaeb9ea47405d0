// SPDX-License-Identifier: MIT
// The game's sine and cosine. They return the double nearest to the exact
// value, computed with nothing but additions and multiplications of
// doubles, so every platform gets the same bits; a platform's own sin and
// cos differ in the last bit now and then, and that can reach the world.
#pragma once

// Sine of x radians, for |x| < 2^20 (the game's angles lie within +-8);
// NaN for any other x.
double roundedSin(double x);

// Cosine of x radians, for |x| < 2^20; NaN for any other x.
double roundedCos(double x);
