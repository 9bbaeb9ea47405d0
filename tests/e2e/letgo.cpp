// SPDX-License-Identifier: MIT
// The scenarios of keys let go where the game cannot hear them.
// gtest comes before Xlib, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "letgo.h"

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
    sendKey(display, XK_space, true);
    EXPECT_NE(waitForShotsLeft(run, stopped - 1, 30.0).second, -1) << "space did not fire again";
    sendKey(display, XK_space, false);
    EXPECT_NE(settledShotsLeft(run, 30.0), -1) << "the gun kept firing after space was let go";
}

void expectModifiedReleasesLetGo(GameRun& run) {
    const std::pair<unsigned long, const char*> modifiers[] = {
        {XK_Control_L, "Ctrl"}, {XK_Alt_L, "Alt"},  {XK_Shift_L, "Shift"},
        {XK_Super_L, "Super"},  {XK_ISO_Level3_Shift, "AltGr"}, {XK_Caps_Lock, "Caps Lock"}};
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
