// SPDX-License-Identifier: MIT
// The game's sine and cosine, computed with nothing but additions and
// multiplications of doubles, so every platform gets the same bits; a
// platform's own sin and cos differ in the last bit now and then, and that
// can reach the world.
// At every angle the game takes them at, they return the double nearest to
// the exact value: the native Linux tests prove it against MPFR, and the
// determinism test on every platform checks that it gets those doubles.
// That is all that is proven. At other angles the value is carried to about
// 106 bits before the one rounding, so it is off by more than half an ulp
// only where the exact value lies within a tiny fraction of an ulp of
// halfway between two doubles (the published hard cases of double sin and
// cos hold a few such inputs inside +-8, off by 0.5 ulp plus under 1e-16).
#pragma once

// Sine of x radians, for |x| < 2^20 (the game's angles lie within +-8);
// NaN for any other x.
double roundedSin(double x);

// Cosine of x radians, for |x| < 2^20; NaN for any other x.
double roundedCos(double x);
