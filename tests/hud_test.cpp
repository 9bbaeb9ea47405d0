// SPDX-License-Identifier: MIT
// The overlay's text for the values the game can hold.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "render.h"

namespace {

// The overlay line as a string, checking that the length matches the NUL.
std::string text(int hitCount, int shotsLeft, int showFps, int fpsValue) {
    const HudLine line = hudLine(hitCount, shotsLeft, showFps, fpsValue);
    EXPECT_EQ(static_cast<size_t>(line.length), std::strlen(line.text));
    return line.text;
}

}  // namespace

TEST(HudLine, ExamplesOfTheWholeLine) {
    EXPECT_EQ(text(0, 10000, 0, 77), "000/10000");
    EXPECT_EQ(text(0, 10000, 1, 0), "000/10000 FPS:0");
    EXPECT_EQ(text(7, 9993, 1, 100), "007/09993 FPS:100");
    EXPECT_EQ(text(42, 512, 1, 64), "042/00512 FPS:64");
    EXPECT_EQ(text(999, 0, 1, 5), "999/00000 FPS:5");
    EXPECT_EQ(text(123, 10000, 1, 1234), "123/10000 FPS:234");
    EXPECT_EQ(text(5, 1, 0, 99), "005/00001");
}

TEST(HudLine, RateShowsOneToThreeDigitsWithoutLeadingZeros) {
    EXPECT_EQ(text(0, 0, 1, 9), "000/00000 FPS:9");
    EXPECT_EQ(text(0, 0, 1, 10), "000/00000 FPS:10");
    EXPECT_EQ(text(0, 0, 1, 99), "000/00000 FPS:99");
    EXPECT_EQ(text(0, 0, 1, 999), "000/00000 FPS:999");
    EXPECT_EQ(text(0, 0, 1, 1000), "000/00000 FPS:000");
    EXPECT_EQ(text(0, 0, 1, 1005), "000/00000 FPS:005");
    EXPECT_EQ(text(0, 0, 1, 2147483647), "000/00000 FPS:647");
    EXPECT_EQ(text(0, 0, 2, 3), "000/00000 FPS:3") << "any non-zero flag shows the rate";
}

TEST(HudLine, HitsFromAThousandWidenTheField) {
    EXPECT_EQ(text(1000, 10, 0, 0), "1000/00010");
    EXPECT_EQ(text(1234, 10, 1, 60), "1234/00010 FPS:60");
    EXPECT_EQ(text(99999, 0, 0, 0), "99999/00000");
    EXPECT_EQ(text(2147483647, 10000, 1, 999), "2147483647/10000 FPS:999")
        << "the longest line still fits";
}

TEST(HudLine, ShotsKeepFiveDigits) {
    EXPECT_EQ(text(0, 10000, 0, 0), "000/10000");
    EXPECT_EQ(text(0, 0, 0, 0), "000/00000");
    EXPECT_EQ(text(0, 1050, 0, 0), "000/01050");
    EXPECT_EQ(text(10, 90, 0, 0), "010/00090");
}
