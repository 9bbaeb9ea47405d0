// SPDX-License-Identifier: MIT
#include "trig.h"

#include <cmath>

double roundedSin(double x) { return std::sin(x); }
double roundedCos(double x) { return std::cos(x); }
