// SPDX-License-Identifier: MIT
// The shell and the frame as OpenGL sees them: the reset's fixed state, the
// reshape's viewport and projection, and what a frame leaves behind.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "render.h"
#include "shell.h"
#include "window.h"
#include "world.h"

namespace {

class Shell : public ::testing::Test {
protected:
    static void SetUpTestSuite() { openGameWindow(); }
    void SetUp() override { resetWorld(); }

    // The current matrix of `which` (GL_MODELVIEW_MATRIX or GL_PROJECTION_MATRIX).
    static void matrix(GLenum which, float* m) { glGetFloatv(which, m); }

    static bool isIdentity(const float* m) {
        for (int i = 0; i < 16; i++) {
            if (m[i] != ((i % 5 == 0) ? 1.0f : 0.0f)) return false;
        }
        return true;
    }
};

}  // namespace

TEST_F(Shell, NewGameSetsTheFixedStateAndFreesEverySlot) {
    world.targets[5].state = TARGET_ALIVE;
    world.targets[5].colorStep[0] = 0.01f;
    world.shots[299].state = SHOT_FLYING;
    world.impactMarks[49].ttl = 2;
    world.hitCount = 12;
    world.shotsLeft = 3;
    world.zoomLevel = 2;
    world.showFps = 1;
    world.keyBits = CONTROL_FIRE;
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glDisable(GL_DEPTH_TEST);
    newGame();

    EXPECT_EQ(world.targets[5].state, TARGET_FREE);
    EXPECT_EQ(world.targets[5].colorStep[0], 0.01f) << "only the state is written";
    EXPECT_EQ(world.shots[299].state, SHOT_FREE);
    EXPECT_EQ(world.impactMarks[49].ttl, 0);
    EXPECT_EQ(world.hitCount, 0);
    EXPECT_EQ(world.shotsLeft, 10000);
    EXPECT_EQ(world.zoomLevel, 0);
    EXPECT_EQ(world.showFps, 0);
    EXPECT_EQ(world.keyBits, 0);
    EXPECT_EQ(world.hasJoystick, 0) << "Xvfb has no joystick";
    EXPECT_EQ(world.clockDivisor, 1);

    float clear[4] = {};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(clear[0], 0.0f);
    EXPECT_EQ(clear[1], 0.0f);
    EXPECT_EQ(clear[2], 1.0f);
    EXPECT_EQ(clear[3], 1.0f);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    float diffuse[4] = {};
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    for (int c = 0; c < 4; c++) EXPECT_EQ(diffuse[c], lightDiffuse[c]) << "channel " << c;
    EXPECT_EQ(targetSphereVertices[0], 2.0f) << "the meshes are built";
}

TEST_F(Shell, ReshapeSetsViewportSizeAndTheUnzoomedProjection) {
    reshape(800, 400);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 400);
    EXPECT_EQ(world.windowWidth, 800);
    EXPECT_EQ(world.windowHeight, 400);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_PROJECTION);
    float m[16] = {};
    matrix(GL_PROJECTION_MATRIX, m);
    const double focal = 1.0 / std::tan(32.0 / 180.0 * 3.141592653589793);
    EXPECT_NEAR(m[5], focal, 1e-5) << "64 degrees in y";
    EXPECT_NEAR(m[0], focal / 2.0, 1e-5) << "aspect 2: the view widens, nothing stretches";
    EXPECT_NEAR(m[10], -(1000.0 + 0.1) / (1000.0 - 0.1), 1e-5);
    EXPECT_NEAR(m[14], -2.0 * 1000.0 * 0.1 / (1000.0 - 0.1), 1e-5);
}

TEST_F(Shell, ZeroHeightKeepsTheLastGoodSizeAndFramesStayFinite) {
    reshape(800, 400);
    reshape(640, 0);
    EXPECT_EQ(world.windowWidth, 800);
    EXPECT_EQ(world.windowHeight, 400);
    reshape(0, 0);
    EXPECT_EQ(world.windowHeight, 400);
    float m[16] = {};
    matrix(GL_PROJECTION_MATRIX, m);
    for (float value : m) EXPECT_TRUE(std::isfinite(value));

    // A frame drawn now still builds a finite projection.
    display();
    glMatrixMode(GL_PROJECTION);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_PROJECTION);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Shell, FrameLeavesOpenGLAsTheNextFrameExpects) {
    world.targets[0].state = TARGET_ALIVE;
    world.targets[0].pos[2] = 20.0f;
    world.shots[0].state = SHOT_FLYING;
    world.shots[0].pos[2] = 5.0f;
    world.impactMarks[0].ttl = 2;
    world.impactMarks[0].z = 8.0f;
    display();
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_NORMALIZE));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_TRUE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_TRUE(glIsEnabled(GL_NORMAL_ARRAY));
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_PROJECTION);
    float m[16] = {};
    matrix(GL_MODELVIEW_MATRIX, m);
    EXPECT_TRUE(isIdentity(m)) << "model-view";
    matrix(GL_PROJECTION_MATRIX, m);
    EXPECT_TRUE(isIdentity(m)) << "projection";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Shell, DisplayChangesNoGameVariable) {
    world.yawDeg = 33.0f;
    world.pitchDeg = 7.5f;
    world.zoomLevel = 1;
    world.showFps = 1;
    world.fpsValue = 87;
    world.hitCount = 1500;
    world.targets[2].state = TARGET_DYING;
    world.shots[9].state = SHOT_FLYING;
    world.impactMarks[3].ttl = 1;
    static unsigned char before[sizeof(WorldState)] = {};
    std::memcpy(before, &world, sizeof(WorldState));
    display();
    display();
    EXPECT_EQ(std::memcmp(before, &world, sizeof(WorldState)), 0);
}
