// SPDX-License-Identifier: MIT
// Helpers of the picture tests: one real 600 x 600 game window, frames read
// back from it, colour probes, and the eye's view and light worked out
// independently of the drawing code.
#pragma once

#include <gtest/gtest.h>

#include <string>

constexpr int PICTURE_SIZE = 600;  // pixels on each side of the window

// A colour read from the frame or expected there, 0..255 per channel.
struct Rgb {
    int r = 0;  // 0..255
    int g = 0;  // 0..255
    int b = 0;  // 0..255
};

// A point on the picture, in pixels from the left and from the top.
struct Pixel {
    int x = 0;  // 0..599, from the left
    int y = 0;  // 0..599, from the top
};

// Opens the game window once per process (newGame included) and pumps the
// toolkit until its first reshape has arrived.
void openGameWindow();

// Puts the world in the plain starting state of a new game, nothing alive
// anywhere, and OpenGL as after a frame and a 600 x 600 reshape.
void resetWorld();

// Draws one frame with display() and reads the back buffer into memory.
void drawAndRead();

// The colour at `pixel` of the frame read last.
Rgb colourAt(Pixel pixel);

// Passes when every channel at `pixel` is within `tolerance` of `expected`;
// the message names the probe and gives expected and observed colours.
::testing::AssertionResult probe(const char* what, Pixel pixel, Rgb expected, int tolerance);

// Where the eye's camera and the projection put the world point (x, y, z),
// for heading yawDeg and the field of view of zoomLevel, in a 600 x 600 window.
Pixel project(double yawDeg, int zoomLevel, double x, double y, double z);

// The lit colour of a surface with material colour `colour` (RGB, 0..1)
// and normal (nx, ny, nz) in world space, its length taken as it is: global
// ambient 0.2 plus the directional light's diffuse, clamped to 1.
Rgb litColour(const float* colour, double nx, double ny, double nz);

// Writes the frame read last to `path` as a binary PPM picture, rows from
// the top.
void savePicture(const std::string& path);

// How the frame read last differs from the 600 x 600 binary PPM picture at
// `path`: the largest difference of any channel of any pixel (0..255) and
// the number of pixels that differ at all; false when there is no such
// picture.
bool compareWithPicture(const std::string& path, int& largest, int& differing);
