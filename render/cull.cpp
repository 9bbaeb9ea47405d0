// SPDX-License-Identifier: MIT
// Which balls and marks can reach a pixel of this frame. Pure arithmetic on
// the camera and projection the scene uses; no OpenGL call is made here.
// Every test leans toward drawing: a ball is skipped only when it lies
// wholly outside the view volume or covers no pixel centre, with room to
// spare for the renderer's rounding.
#include <cmath>

#include "render.h"
#include "trig.h"
#include "world.h"

bool drawEverything = false;

namespace {

// A mesh's vertices lie on its sphere within float rounding; the bound is
// widened by this share of the radius and by this many world units.
constexpr double RADIUS_SLACK = 1e-3;
constexpr double DISTANCE_SLACK = 1e-3;  // world units
// Depth beyond the far plane, in world units, before a ball counts as cut off.
constexpr double FAR_SLACK = 1.0;
// Balls this close to the eye (world units, beyond their radius) are drawn.
constexpr double NEAR_EYE = 4.0;
// The size test needs the whole ball at least this deep (world units).
constexpr double MIN_DEPTH = 2.0;
// The picture box of a ball is widened by this many pixels on every side:
// over ten times what float arithmetic and the rasteriser's 1/256-pixel
// snapping can move a vertex.
constexpr double PIXEL_MARGIN = 1.0 / 16.0;

// The dot product of two 3-vectors.
double dot(const double* a, const double* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// Scales a 3-vector to length 1.
void normalise(double* v) {
    const double length = std::sqrt(dot(v, v));
    for (int c = 0; c < 3; c++) v[c] /= length;
}

// True when some pixel centre (i + 0.5) lies in [low, high], in pixels,
// after widening the interval by the margin.
bool coversPixelCentre(double low, double high) {
    return std::floor(high + PIXEL_MARGIN - 0.5) >= std::ceil(low - PIXEL_MARGIN - 0.5);
}

// The smallest and largest of focal x s / d (s in [along - r, along + r],
// d in [depth - r, depth + r], all d > 0), turned into window pixels.
void pictureSpan(double along, double depth, double r, double focal, double half, double& low,
                 double& high) {
    low = HUGE_VAL;
    high = -HUGE_VAL;
    for (int i = 0; i < 4; i++) {
        const double s = (i & 1) != 0 ? along + r : along - r;
        const double d = (i & 2) != 0 ? depth + r : depth - r;
        const double pixel = (focal * s / d + 1.0) * half;
        low = std::fmin(low, pixel);
        high = std::fmax(high, pixel);
    }
}

// True when the ball (eye coordinates: sideways, upward, depth; radius r)
// lies wholly on the outer side of one of the six planes of the view volume.
bool outsideViewVolume(const FrameView& view, double along, double upward, double depth, double r) {
    if (depth + r < view.nearPlane) return true;
    if (depth - r > view.farPlane + FAR_SLACK) return true;
    // The side planes pass through the eye: device x = +-1 and y = +-1.
    if ((view.focalX * along + depth) / view.planeX < -r) return true;
    if ((-view.focalX * along + depth) / view.planeX < -r) return true;
    if ((view.focalY * upward + depth) / view.planeY < -r) return true;
    if ((-view.focalY * upward + depth) / view.planeY < -r) return true;
    return false;
}

}  // namespace

void lookAtCentre(double yawDeg, double centre[2]) {
    // Every object of a frame applies the camera again, always for the same
    // heading, so the last answer is kept rather than recomputed.
    static double lastYawDeg = NAN;
    static double lastCentre[2] = {0.0, 0.0};
    if (yawDeg != lastYawDeg) {
        // theta = pi/2 - yaw: the centre lies along (sin yaw, cos yaw) in (x, z).
        const double theta = (yawDeg - 90.0) / 180.0 * (-PI);
        lastCentre[0] = 1000.0 * roundedCos(theta);
        lastCentre[1] = 1000.0 * roundedSin(theta);
        lastYawDeg = yawDeg;
    }
    centre[0] = lastCentre[0];
    centre[1] = lastCentre[1];
}

FrameView frameView(double yawDeg, double fovyDeg, int width, int height) {
    FrameView view;
    if (width <= 0 || height <= 0) return view;
    // The look-at of the camera: eye (0, 1.5, 0), centre 1000 units along
    // the heading at height 1, up (0, 1, 0).
    double centre[2] = {0.0, 0.0};
    lookAtCentre(yawDeg, centre);
    view.eye[1] = 1.5;
    view.forward[0] = centre[0];
    view.forward[1] = 1.0 - 1.5;
    view.forward[2] = centre[1];
    normalise(view.forward);
    // side = forward x up, then up = side x forward.
    view.side[0] = -view.forward[2];
    view.side[2] = view.forward[0];
    normalise(view.side);
    view.up[0] = view.side[1] * view.forward[2] - view.side[2] * view.forward[1];
    view.up[1] = view.side[2] * view.forward[0] - view.side[0] * view.forward[2];
    view.up[2] = view.side[0] * view.forward[1] - view.side[1] * view.forward[0];

    const double focal = 1.0 / std::tan(fovyDeg / 2.0 / 180.0 * PI);
    const double aspect = static_cast<double>(width) / static_cast<double>(height);
    view.focalX = focal / aspect;
    view.focalY = focal;
    view.planeX = std::sqrt(view.focalX * view.focalX + 1.0);
    view.planeY = std::sqrt(view.focalY * view.focalY + 1.0);
    view.halfWidth = width / 2.0;
    view.halfHeight = height / 2.0;
    view.usable = true;
    return view;
}

bool sphereMayBeSeen(const FrameView& view, double x, double y, double z, double radius) {
    if (!view.usable) return true;
    const double offset[3] = {x - view.eye[0], y - view.eye[1], z - view.eye[2]};
    const double r = radius * (1.0 + RADIUS_SLACK) + DISTANCE_SLACK;
    const double distance = std::sqrt(dot(offset, offset));
    if (distance < r + NEAR_EYE || !std::isfinite(distance)) return true;

    const double along = dot(view.side, offset);
    const double upward = dot(view.up, offset);
    const double depth = dot(view.forward, offset);
    if (outsideViewVolume(view, along, upward, depth, r)) return false;
    if (depth - r < MIN_DEPTH) return true;

    double left = 0.0;
    double right = 0.0;
    double bottom = 0.0;
    double top = 0.0;
    pictureSpan(along, depth, r, view.focalX, view.halfWidth, left, right);
    pictureSpan(upward, depth, r, view.focalY, view.halfHeight, bottom, top);
    return coversPixelCentre(left, right) && coversPixelCentre(bottom, top);
}
