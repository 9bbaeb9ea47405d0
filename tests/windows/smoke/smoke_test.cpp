// SPDX-License-Identifier: MIT
// The Windows game under Wine, played by the end-to-end driver's pieces on
// the driver's own Xvfb: its window is the Linux game's window, its first
// frame shows the sky, the floor, the barrel and the line 000/10000, keys
// that go up where it cannot hear them let go as on Linux, and the close
// request ends it with status 0.
// gtest comes before Xlib, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include "checks.h"
#include "session.h"

namespace {
// zarvel.exe started through the build's Wine wrapper, with the keyboard
// and a readable line; every test ends it with the close request and
// expects status 0.
class WineGame : public ::testing::Test {
protected:
    GameRun game;
    Frame frame;
    OverlayText line;

    void SetUp() override {
        ASSERT_TRUE(session().error.empty()) << session().error;
        // A Wine prefix serves one X display: this one is for the driver's Xvfb.
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        launchGame(game, std::string("WineGame.") + test->name(), {ZARVEL_WINE_RUN},
                   {{"WINEPREFIX=" ZARVEL_WINE_PREFIX}, {}});
        // The first start in a new prefix sets the prefix up, which takes a while.
        ASSERT_TRUE(waitForGameWindow(game, 120.0)) << "no window titled Zarvel; Wine wrote:\n"
                                                    << readFile(game.outputPath);
        focusWindow(session().display, game.window);
        ASSERT_TRUE(waitForOverlay(game, 30.0, frame, line))
            << "no readable text line at the top left; Wine wrote:\n"
            << readFile(game.outputPath);
    }

    void TearDown() override {
        if (game.process.pid > 0 && !game.process.finished) {
            // Without a window manager Wine takes about 2 s to act on the request.
            sendCloseRequest(session().display, game.window);
            EXPECT_TRUE(waitForExit(game.process, 30.0 * slowFactor()))
                << "the game ignored the close";
        }
        finishGame(game);
        EXPECT_TRUE(WIFEXITED(game.process.status) && WEXITSTATUS(game.process.status) == 0)
            << "wait status " << game.process.status;
    }
};

TEST_F(WineGame, WindowShowsTheScene) {
    expectDrawingArea(game);
    expectStartScene(frame, line);
}

TEST_F(WineGame, KeysHeldWhenAnotherWindowTakesTheKeyboardLetGo) { expectKeysLetGoElsewhere(game); }

TEST_F(WineGame, SpaceLetGoWithAModifierHeldStopsFiring) { expectModifiedReleasesLetGo(game); }
}  // namespace
