// SPDX-License-Identifier: MIT
// Checks both end-to-end drivers make on a running game.
// gtest comes before Xlib, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "checks.h"

#include <X11/keysym.h>

#include <cmath>
#include <utility>

#include "scene.h"

namespace {
constexpr double PI = 3.141592653589793;

// Degrees right of the line of sight at which a column of the unzoomed view lies.
double headingOnScreen(double column) {
    return std::atan((column - 300.0) / 300.0 * std::tan(32.0 / 180.0 * PI)) / PI * 180.0;
}

// The ball in the frame `changes` new frames from now, and when it was seen;
// false when the game drew no such frames or the ball is out of view.
bool ballAfter(GameRun& run, int changes, Blob& ball, double& seenAt) {
    Frame frame;
    const bool drawn = waitForNewFrames(run, changes, 30.0, frame);
    seenAt = nowSeconds();
    return drawn && findBall(frame, ball);
}

// Gives the keyboard to `window` as a window manager or a click would.
void giveKeyboardTo(Window window) {
    XSetInputFocus(session().display, window, RevertToPointerRoot, CurrentTime);
    XSync(session().display, False);
}
}  // namespace

void expectDrawingArea(GameRun& run) {
    int width = 0;
    int height = 0;
    ASSERT_TRUE(windowSize(session().display, run.window, width, height));
    EXPECT_EQ(width, 600);
    EXPECT_EQ(height, 600);
}

void expectStartScene(const Frame& frame, const OverlayText& line) {
    EXPECT_EQ(line.text, "000/10000");
    for (const auto& [x, y] : {std::pair{300, 60}, {20, 150}, {580, 150}, {300, 250}}) {
        const Rgb sky = pixelAt(frame, x, y);
        EXPECT_TRUE(nearColour(sky, SKY_COLOUR, 0))
            << "no blue sky at " << x << "," << y << ": " << int(sky.r) << " " << int(sky.g) << " "
            << int(sky.b);
    }
    const Rgb sand = expectedSandColour();
    for (const auto& [x, y] : {std::pair{20, 590}, {580, 590}, {150, 400}, {450, 350}}) {
        const Rgb floor = pixelAt(frame, x, y);
        EXPECT_TRUE(nearColour(floor, sand, 6))
            << "no sand floor at " << x << "," << y << ": " << int(floor.r) << " " << int(floor.g)
            << " " << int(floor.b) << ", expected about " << int(sand.r) << " " << int(sand.g)
            << " " << int(sand.b);
    }
    EXPECT_GE(barrelShare(frame), 0.9) << "no barrel at the bottom centre";
}

double turnRate(GameRun& run) {
    Blob first;
    Blob second;
    double firstAt = 0.0;
    double secondAt = 0.0;
    if (!ballAfter(run, 5, first, firstAt) || !ballAfter(run, 10, second, secondAt)) {
        ADD_FAILURE() << "the ball left the view";
        return 1e9;
    }
    return std::abs(headingOnScreen(second.centreX) - headingOnScreen(first.centreX)) /
           (secondAt - firstAt);
}

void expectKeysLetGoElsewhere(GameRun& run) {
    Display* display = session().display;
    const Window other = findWindowByTitle(display, REFERENCE_WINDOW_TITLE);
    ASSERT_NE(other, 0u) << "no window of another client to give the keyboard to";
    Blob ball;
    double seenAt = 0.0;
    const double deadline = nowSeconds() + 30.0 * slowFactor();
    bool seen = false;
    while (!seen && nowSeconds() < deadline) seen = ballAfter(run, 1, ball, seenAt);
    ASSERT_TRUE(seen) << "no ball appeared";
    sendKey(display, XK_space, true);
    ASSERT_NE(waitForShotsLeft(run, 9999, 30.0).second, -1) << "space did not fire";
    // The arrow goes down just before the keyboard goes, so that the ball is
    // still in view to show whether the view stands still.
    sendKey(display, XK_Left, true);
    giveKeyboardTo(other);

    const int stopped = settledShotsLeft(run, 30.0);
    EXPECT_NE(stopped, -1) << "the gun kept firing with the keyboard in another window";
    EXPECT_LT(turnRate(run), 10.0) << "the view kept turning with the keyboard in another window";
    sendKey(display, XK_Left, false);
    sendKey(display, XK_space, false);
    Frame frame;
    ASSERT_TRUE(waitForNewFrames(run, 10, 30.0, frame));
    EXPECT_EQ(readLineNow(run).shotsLeft, stopped) << "the releases in the other window fired";

    focusWindow(display, run.window);
    expectSpaceFiresAndStops(run, stopped);
}

void expectSpaceFiresAndStops(GameRun& run, int shotsLeft) {
    sendKey(session().display, XK_space, true);
    EXPECT_NE(waitForShotsLeft(run, shotsLeft - 1, 30.0).second, -1) << "space did not fire again";
    sendKey(session().display, XK_space, false);
    EXPECT_NE(settledShotsLeft(run, 30.0), -1) << "the gun kept firing after space was let go";
}

void expectModifiedReleasesLetGo(GameRun& run) {
    const std::pair<unsigned long, const char*> modifiers[] = {
        {XK_Control_L, "Ctrl"},         {XK_Alt_L, "Alt"},
        {XK_Shift_L, "Shift"},          {XK_Super_L, "Super"},
        {XK_ISO_Level3_Shift, "AltGr"}, {XK_Caps_Lock, "Caps Lock"}};
    Display* display = session().display;
    for (const auto& [modifier, name] : modifiers) {
        const int before = readLineNow(run).shotsLeft;
        sendKey(display, XK_space, true);
        ASSERT_NE(waitForShotsLeft(run, before - 1, 30.0).second, -1) << "space did not fire";
        sendKey(display, modifier, true);
        sendKey(display, XK_space, false);
        sendKey(display, modifier, false);
        EXPECT_NE(settledShotsLeft(run, 30.0), -1)
            << "the gun kept firing after space was let go with " << name << " held";
    }
}
