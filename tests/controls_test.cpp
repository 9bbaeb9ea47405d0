// SPDX-License-Identifier: MIT
// Keyboard, special-key and joystick callbacks set and clear the control bits.
#include "controls.h"

#include <gtest/gtest.h>

#include "recorder.h"
#include "world.h"

class Controls : public ::testing::Test {
protected:
    void SetUp() override { startTestGame(); }
};

TEST_F(Controls, CharacterKeysHoldTheirBitInBothCases) {
    const struct {
        unsigned char upper, lower;
        ControlBits bit;
    } keys[] = {{'Z', 'z', CONTROL_ZOOM1},
                {'X', 'x', CONTROL_ZOOM2},
                {'C', 'c', CONTROL_ZOOM3},
                {' ', ' ', CONTROL_FIRE}};
    for (const auto& key : keys) {
        keyboard(key.upper, 0, 0);
        EXPECT_EQ(world.keyBits, key.bit);
        keyboardUp(key.lower, 0, 0);  // pressed with Shift, released without
        EXPECT_EQ(world.keyBits, 0);
        keyboard(key.lower, 0, 0);
        keyboard(key.lower, 0, 0);  // a repeated press changes nothing
        EXPECT_EQ(world.keyBits, key.bit);
        keyboardUp(key.upper, 0, 0);
        EXPECT_EQ(world.keyBits, 0);
    }
    EXPECT_EQ(world.joystickBits, 0);
    EXPECT_EQ(world.showFps, 0);
}

TEST_F(Controls, AReleaseClearsOnlyItsOwnBit) {
    keyboard('c', 0, 0);
    keyboard('x', 0, 0);
    keyboardUp('x', 0, 0);
    EXPECT_EQ(world.keyBits, CONTROL_ZOOM3);
    special(KEY_LEFT, 0, 0);
    special(KEY_UP, 0, 0);
    specialUp(KEY_LEFT, 0, 0);
    EXPECT_EQ(world.keyBits, CONTROL_ZOOM3 | CONTROL_UP);
    keyboardUp('z', 0, 0);  // a key that is not held
    specialUp(KEY_DOWN, 0, 0);
    EXPECT_EQ(world.keyBits, CONTROL_ZOOM3 | CONTROL_UP);
}

TEST_F(Controls, ArrowKeysHoldTheirBits) {
    const struct {
        int key;
        ControlBits bit;
    } arrows[] = {{KEY_LEFT, CONTROL_LEFT},
                  {KEY_UP, CONTROL_UP},
                  {KEY_RIGHT, CONTROL_RIGHT},
                  {KEY_DOWN, CONTROL_DOWN}};
    for (const auto& arrow : arrows) {
        special(arrow.key, 0, 0);
        EXPECT_EQ(world.keyBits, arrow.bit);
        specialUp(arrow.key, 0, 0);
        EXPECT_EQ(world.keyBits, 0);
    }
}

TEST_F(Controls, OtherKeysChangeNothing) {
    for (int code = 0; code < 256; code++) {
        const unsigned char key = static_cast<unsigned char>(code);
        if (key == ' ' ||
            std::string("ZzXxCcFf").find(static_cast<char>(key)) != std::string::npos) {
            continue;
        }
        keyboard(key, 0, 0);
        keyboardUp(key, 0, 0);
    }
    for (int code = -5; code < 400; code++) {
        if (code >= KEY_LEFT && code <= KEY_DOWN) continue;
        special(code, 0, 0);
    }
    EXPECT_EQ(world.keyBits, 0);
    EXPECT_EQ(world.showFps, 0);
}

TEST_F(Controls, FTogglesTheRateOnReleaseOnly) {
    keyboard('F', 0, 0);
    keyboard('f', 0, 0);
    EXPECT_EQ(world.showFps, 0);
    keyboardUp('F', 0, 0);
    EXPECT_EQ(world.showFps, 1);
    keyboardUp('f', 0, 0);
    EXPECT_EQ(world.showFps, 0);
    EXPECT_EQ(world.keyBits, 0);
}

TEST_F(Controls, JoystickAxesHaveAStrictDeadZone) {
    const struct {
        int x, y;
        ControlBits bits;
    } samples[] = {{0, -500, 0},
                   {0, -501, CONTROL_UP},
                   {0, 500, 0},
                   {0, 501, CONTROL_DOWN},
                   {-500, 0, 0},
                   {-501, 0, CONTROL_LEFT},
                   {500, 0, 0},
                   {1000, 0, CONTROL_RIGHT},
                   {-1000, 1000, CONTROL_LEFT | CONTROL_DOWN}};
    for (const auto& sample : samples) {
        world.joystickBits = 0;  // as the step does before each poll
        joystickInput(0, sample.x, sample.y, 999);
        EXPECT_EQ(world.joystickBits, sample.bits) << "x " << sample.x << " y " << sample.y;
    }
    EXPECT_EQ(world.keyBits, 0);
}

TEST_F(Controls, JoystickButtonsMapTheFirstFour) {
    joystickInput(1, 0, 0, 0);
    EXPECT_EQ(world.joystickBits, CONTROL_FIRE);
    world.joystickBits = 0;
    joystickInput(15, 0, 0, 0);
    EXPECT_EQ(world.joystickBits, CONTROL_FIRE | CONTROL_ZOOM1 | CONTROL_ZOOM2 | CONTROL_ZOOM3);
    world.joystickBits = 0;
    joystickInput(0xFFFFFFF0u, 0, 0, 0);
    EXPECT_EQ(world.joystickBits, 0) << "buttons beyond the fourth are ignored";
}

// freeglut calls the callback once per attached stick at each poll: an idle
// second stick must not cancel what the first holds, in either order.
TEST_F(Controls, AControlHeldOnAnyOfTwoSticksCounts) {
    world.hasJoystick = 1;
    recorder.joystickAttached = true;
    recorder.joystickButtons = 1;  // the first stick fires and turns left
    recorder.joystickX = -1000;
    recorder.secondJoystick = true;  // the second lies idle, polled after it
    stepBy(10);
    EXPECT_EQ(world.joystickBits, CONTROL_FIRE | CONTROL_LEFT);
    EXPECT_LT(world.shotsLeft, 10000);
    EXPECT_GT(world.yawRate, 0.0f);
    recorder.joystickButtons = 0;  // let go: nothing is left held
    recorder.joystickX = 0;
    stepBy(10);
    EXPECT_EQ(world.joystickBits, 0);
    EXPECT_EQ(world.yawRate, 0.0f);
    keyboard(' ', 0, 0);
    stepBy(10);
    EXPECT_EQ(world.keyBits, CONTROL_FIRE) << "the sticks leave the keyboard's bits alone";
}
