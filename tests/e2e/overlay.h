// SPDX-License-Identifier: MIT
// Reading the game's text line exactly: its yellow pixels are compared with
// candidate texts drawn by the driver in the same bitmap font at the same
// raster position, and the candidate whose pixels are the same is the text.
#pragma once

#include <string>

#include "xwindow.h"

// What the line says, taken apart.
struct OverlayText {
    bool read = false;     // false when no candidate text matched the pixels
    std::string text;      // the whole line, e.g. "000/10000 FPS:97"
    int hits = 0;          // 0..999
    int shotsLeft = 0;     // 0..10000 (five digits)
    bool fpsShown = false; // the " FPS:" part is there
    int fps = 0;           // 0..999, 0 when not shown
};

// The title of the driver's reference window, a window of another X client
// than the game's, which the tests can also give the keyboard to.
constexpr const char* REFERENCE_WINDOW_TITLE = "zarvel-e2e-reference";

// Opens the driver's own freeglut window (600 x 100, at the bottom of the
// screen, clear of the game's window) on the display; its back buffer is
// where the candidate texts are drawn. Call once per process.
void openReferenceWindow(const std::string& display);

// Closes the reference window and the toolkit's connection.
void closeReferenceWindow();

// Reads the line at the top left of a 600 x 600 game frame.
OverlayText readOverlay(const Frame& frame);

// The line for given values, as the game writes it (used to check the reader).
std::string overlayLine(int hits, int shotsLeft, bool fpsShown, int fps);

// True when drawing `text` gives exactly the yellow pixels of the frame.
bool overlayShows(const Frame& frame, const std::string& text);
