// SPDX-License-Identifier: MIT
// The X session every end-to-end test of one driver process shares (its own
// Xvfb, a connection, the reference window) and one run of the game on it.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "overlay.h"
#include "processes.h"
#include "xwindow.h"

// The driver's X server and its connection, set up before the first test.
struct Session {
    XServer server;
    Display* display = nullptr;
    std::string error;      // why setting up failed, empty when it worked
    std::string glPreload;  // LD_PRELOAD that pins Mesa's driver in the game, sanitizer builds
};

Session& session();

// One run of the built game.
struct GameRun {
    ChildProcess process;
    Window window = 0;       // its window, once found
    std::string outputPath;  // where its stdout and stderr went
    double startedAt = 0.0;  // nowSeconds() when it was started
};

// Starts the game behind `prefix` (by default ZARVEL_E2E_WRAPPER's words),
// in the system of ZARVEL_E2E_SYSTEM when that is set, with DISPLAY set to the session's display
// plus the given changes. In a sanitizer build a game started straight away gets Mesa's driver
// pinned (see sanitizer.h); one behind a prefix (strace) gets no leak check, as the prefix program
// would be preloaded too. An LD_PRELOAD among the changes is kept there, after the sanitizer's
// runtime.
void launchGame(GameRun& run, const std::string& name, const std::vector<std::string>& prefix,
                const ChildEnvironment& environment);

// Waits for a viewable window titled "Zarvel"; false on timeout.
bool waitForGameWindow(GameRun& run, double seconds);

// Waits until a frame of the window shows a readable text line; false on
// timeout. Leaves the frame and the line read from it.
bool waitForOverlay(GameRun& run, double seconds, Frame& frame, OverlayText& line);

// Reads the text line from the top rows of the window only (cheap enough
// to poll often); the line, not read when the window could not be read.
OverlayText readLineNow(GameRun& run);

// Waits until a frame's text line is exactly `wanted`; false on timeout.
bool waitForLine(GameRun& run, double seconds, const std::string& wanted, Frame& frame);

// Grabs frames until `count` of them differ from the one before (the game
// kept drawing); false when it does not within `seconds`.
bool waitForNewFrames(GameRun& run, int count, double seconds, Frame& frame);

// The lowest and highest step rates the line showed while it was read.
struct RateRange {
    int slowest = 1000;  // steps per second
    int fastest = 0;     // steps per second
};

// Reads the line until it shows at most `most` shots left, widening `rates`
// (when given) by the step rates shown meanwhile; the time and the count
// then, or a count of -1 after `seconds`.
std::pair<double, int> waitForShotsLeft(GameRun& run, int most, double seconds,
                                        RateRange* rates = nullptr);

// Reads the line until its shot count has not changed for half a second (a
// gun that fires changes it 50 times a second); the count, or -1 when it
// keeps changing for `seconds`.
int settledShotsLeft(GameRun& run, double seconds);

// Closes the game: the close request, then signals if it does not end.
void finishGame(GameRun& run);

// The lines of the game's output that report a sanitizer or valgrind
// finding; empty when there is none.
std::string findingsIn(const std::string& output);
