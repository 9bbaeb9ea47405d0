// SPDX-License-Identifier: MIT
// Sine and cosine in double-double arithmetic: each value is carried as an
// unevaluated sum hi + lo of two doubles, about 106 bits, and rounded to one
// double only at the end. The angle is first brought into -pi/4..pi/4 by
// taking off the nearest multiple of pi/2, with pi/2 known to 250 bits so
// that even an angle a hair from a multiple keeps its leading bits; then
// Taylor series to the 29th power run to well under the last of those bits.
// Only additions, subtractions and multiplications of doubles are used, each
// rounded by itself (the build never fuses a multiply and an add), so the
// result is the same on every IEEE 754 machine.
#include "trig.h"

#include <cmath>
#include <cstdint>

namespace {

// An unevaluated sum of two doubles, |lo| at most half an ulp of hi.
struct DoubleDouble {
    double hi = 0.0;
    double lo = 0.0;
};

// pi/2 as the sum of these parts. The first six have at most 33 significant
// bits, so n times each is exact for any n below 2^20.
constexpr double HALF_PI_PARTS[7] = {
    0x1.921fb544p+0,   0x1.0b4611a6p-34,  0x1.3198a2ep-69,        0x1.b839a252p-104,
    0x1.27044533p-142, 0x1.cc74020bp-175, 0x1.7d4c76273644ap-208,
};
constexpr double TWO_OVER_PI = 0x1.45f306dc9c883p-1;
constexpr double SPLITTER = 134217729.0;  // 2^27 + 1: splits a double into two halves
constexpr double LARGEST_ANGLE = 0x1p20;  // radians; below this n < 2^20 and the reduction is exact
constexpr int SERIES_TERMS = 14;          // terms after the leading 1 of each series

// (-1)^k / (2k+1)! for k = 1..14, as double-doubles: the sine series in r^2.
constexpr DoubleDouble SINE_COEFFICIENTS[SERIES_TERMS] = {
    {-0x1.5555555555555p-3, -0x1.5555555555555p-57},
    {0x1.1111111111111p-7, 0x1.1111111111111p-63},
    {-0x1.a01a01a01a01ap-13, -0x1.a01a01a01a01ap-73},
    {0x1.71de3a556c734p-19, -0x1.c154f8ddc6cp-73},
    {-0x1.ae64567f544e4p-26, 0x1.c062e06d1f209p-80},
    {0x1.6124613a86d09p-33, 0x1.f28e0cc748ebep-87},
    {-0x1.ae7f3e733b81fp-41, -0x1.1d8656b0ee8cbp-97},
    {0x1.952c77030ad4ap-49, 0x1.ac981465ddc6cp-103},
    {-0x1.2f49b46814157p-57, -0x1.2650f61dbdcb4p-112},
    {0x1.71b8ef6dcf572p-66, -0x1.d043ae40c4647p-120},
    {-0x1.761b41316381ap-75, 0x1.3423c7d91404fp-130},
    {0x1.3f3ccdd165fa9p-84, -0x1.58ddadf344487p-139},
    {-0x1.d1ab1c2dccea3p-94, -0x1.054d0c78aea14p-149},
    {0x1.259f98b4358adp-103, 0x1.eaf8c39dd9bc5p-157},
};

// (-1)^k / (2k)! for k = 1..14, as double-doubles: the cosine series in r^2.
constexpr DoubleDouble COSINE_COEFFICIENTS[SERIES_TERMS] = {
    {-0x1p-1, 0.0},
    {0x1.5555555555555p-5, 0x1.5555555555555p-59},
    {-0x1.6c16c16c16c17p-10, 0x1.f49f49f49f49fp-65},
    {0x1.a01a01a01a01ap-16, 0x1.a01a01a01a01ap-76},
    {-0x1.27e4fb7789f5cp-22, -0x1.cbbc05b4fa99ap-76},
    {0x1.1eed8eff8d898p-29, -0x1.2aec959e14c06p-83},
    {-0x1.93974a8c07c9dp-37, -0x1.05d6f8a2efd1fp-92},
    {0x1.ae7f3e733b81fp-45, 0x1.1d8656b0ee8cbp-101},
    {-0x1.6827863b97d97p-53, -0x1.eec01221a8b0bp-107},
    {0x1.e542ba4020225p-62, 0x1.ea72b4afe3c2fp-120},
    {-0x1.0ce396db7f853p-70, 0x1.aebcdbd20331cp-124},
    {0x1.f2cf01972f578p-80, -0x1.9ada5fcc1ab14p-135},
    {-0x1.88e85fc6a4e5ap-89, 0x1.71c37ebd1654p-143},
    {0x1.0a18a2635085dp-98, 0x1.b9e2e28e1aa54p-153},
};

// a + b exactly, as the rounded sum and its rounding error.
DoubleDouble twoSum(double a, double b) {
    const double sum = a + b;
    const double bPart = sum - a;
    return {sum, (a - (sum - bPart)) + (b - bPart)};
}

// a + b exactly when |a| >= |b| or a is 0.
DoubleDouble fastTwoSum(double a, double b) {
    const double sum = a + b;
    return {sum, b - (sum - a)};
}

// a * b exactly, as the rounded product and its rounding error (Dekker's
// product: each factor split into two 26-bit halves).
DoubleDouble twoProduct(double a, double b) {
    const double product = a * b;
    const double aScaled = SPLITTER * a;
    const double bScaled = SPLITTER * b;
    const double aHigh = aScaled - (aScaled - a);
    const double bHigh = bScaled - (bScaled - b);
    const double aLow = a - aHigh;
    const double bLow = b - bHigh;
    return {product, ((aHigh * bHigh - product) + aHigh * bLow + aLow * bHigh) + aLow * bLow};
}

// x + y to about 106 bits.
DoubleDouble add(DoubleDouble x, DoubleDouble y) {
    const DoubleDouble high = twoSum(x.hi, y.hi);
    const DoubleDouble low = twoSum(x.lo, y.lo);
    const DoubleDouble sum = fastTwoSum(high.hi, high.lo + low.hi);
    return fastTwoSum(sum.hi, sum.lo + low.lo);
}

// x * y to about 106 bits.
DoubleDouble multiply(DoubleDouble x, DoubleDouble y) {
    const DoubleDouble product = twoProduct(x.hi, y.hi);
    return fastTwoSum(product.hi, product.lo + (x.hi * y.lo + x.lo * y.hi));
}

// An angle brought into -pi/4..pi/4: x = r + quadrant * pi/2 (mod 2 pi).
struct ReducedAngle {
    DoubleDouble r;
    int quadrant = 0;  // 0..3
};

// Takes the nearest multiple n of pi/2 off x. x and every -n * part are
// kept as an exact sum of doubles that do not overlap (each new term is
// added through the whole sum with twoSum), and only that exact remainder
// is rounded to a double-double.
ReducedAngle reduce(double x) {
    const double n = std::floor(x * TWO_OVER_PI + 0.5);
    double terms[8] = {x, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
    int count = 1;
    for (const double part : HALF_PI_PARTS) {
        double carry = -n * part;
        for (int i = 0; i < count; i++) {
            const DoubleDouble sum = twoSum(carry, terms[i]);
            terms[i] = sum.lo;
            carry = sum.hi;
        }
        terms[count] = carry;
        count += 1;
    }
    ReducedAngle reduced;
    for (int i = 0; i < count; i++) reduced.r = add(reduced.r, {terms[i], 0.0});
    reduced.quadrant = static_cast<int>(static_cast<int64_t>(n) & 3);
    return reduced;
}

// 1 + c[0] r^2 + c[1] r^4 + ... + c[13] r^28, by Horner's rule.
DoubleDouble series(const DoubleDouble* coefficients, DoubleDouble rSquared) {
    DoubleDouble sum = coefficients[SERIES_TERMS - 1];
    for (int k = SERIES_TERMS - 2; k >= 0; k--) {
        sum = add(multiply(sum, rSquared), coefficients[k]);
    }
    return add(multiply(sum, rSquared), {1.0, 0.0});
}

// sin r for |r| <= pi/4, rounded once to a double.
double sineOfReduced(DoubleDouble r) {
    return multiply(series(SINE_COEFFICIENTS, multiply(r, r)), r).hi;
}

// cos r for |r| <= pi/4, rounded once to a double.
double cosineOfReduced(DoubleDouble r) { return series(COSINE_COEFFICIENTS, multiply(r, r)).hi; }

// sin x when shift is 0, and cos x = sin(x + pi/2) when it is 1.
double shiftedSine(double x, int shift) {
    if (!(std::fabs(x) < LARGEST_ANGLE)) return NAN;
    const ReducedAngle angle = reduce(x);
    switch ((angle.quadrant + shift) & 3) {
        case 0: return sineOfReduced(angle.r);
        case 1: return cosineOfReduced(angle.r);
        case 2: return -sineOfReduced(angle.r);
        default: return -cosineOfReduced(angle.r);
    }
}

}  // namespace

// The reduction adds +0 to the angle, so a zero keeps its sign only here:
// sin(-0) is -0, as the C library and MPFR give it.
double roundedSin(double x) { return x == 0.0 ? x : shiftedSine(x, 0); }

double roundedCos(double x) { return shiftedSine(x, 1); }
