// SPDX-License-Identifier: MIT
// What the driver recognises in a game frame: sky, sand, the barrel, the
// balls, and where the camera puts a point of the world on the screen.
#pragma once

#include <vector>

#include "xwindow.h"

// The clear colour the sky shows: opaque blue.
constexpr Rgb SKY_COLOUR{0, 0, 255};

// The floor's colour under the game's light, computed from its material
// (0.85, 0.75, 0.6), the light (1, 0.9, 0.6) from (0, 1, 0.8) and the
// default global ambient of 0.2.
Rgb expectedSandColour();

// True when the two colours differ by at most `tolerance` in every channel.
bool nearColour(const Rgb& a, const Rgb& b, int tolerance);

// The floor's colour as this frame shows it, sampled at the bottom left.
Rgb floorColourOf(const Frame& frame);

// A connected group of pixels that are neither sky nor floor.
struct Blob {
    int pixels = 0;               // count
    int minX = 0, maxX = 0;       // columns, inclusive
    int minY = 0, maxY = 0;       // rows from the top, inclusive
    double centreX = 0.0;         // mean column
    double centreY = 0.0;         // mean row
};

// Every such group below the text line (rows 45 and down).
std::vector<Blob> objectBlobs(const Frame& frame);

// The ball: the largest group that does not touch the bottom edge (the
// barrel does); false when there is none.
bool findBall(const Frame& frame, Blob& ball);

// Share of the box at the bottom centre where the barrel lies in the
// unzoomed view (columns 285..315, rows 470..594) that is not floor or sky.
double barrelShare(const Frame& frame);

// The top row of the barrel, the group that touches the bottom edge at the
// centre column; -1 when there is none (zoomed, the barrel leaves the view).
// It rises on the screen as the barrel is raised.
int barrelTop(const Frame& frame);

// Where the unzoomed view at heading 0 puts the top edge of the muzzle, the
// barrel's highest point on the screen, with the barrel raised pitchDeg
// degrees: a row in pixels from the top (not rounded).
double muzzleTopRow(double pitchDeg);

// True when the bottom 30 per cent of the frame is floor colour only.
bool bottomIsBareFloor(const Frame& frame);

// Screen position in pixels (from the left, from the top) of a 600 x 600
// frame.
struct ScreenPoint {
    double x = 0.0;
    double y = 0.0;
    bool inFront = false;  // false when the point is behind the eye
};

// Where the game's camera (eye (0, 1.5, 0) looking at (1000 sin yaw, 1,
// 1000 cos yaw), near 0.1) with the field of view fovyDeg puts a world point.
ScreenPoint projectPoint(double yawDeg, double fovyDeg, double x, double y, double z);
