// SPDX-License-Identifier: MIT
// Skipping what cannot reach a pixel leaves every frame as it was: busy
// scenes drawn once with the skipping and once with everything drawn, read
// back whole from the back buffer and compared pixel for pixel, at every
// zoom level, around the whole circle, in a square and in a wide window.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <random>
#include <thread>
#include <vector>

#include "render.h"
#include "shell.h"
#include "sim.h"
#include "window.h"
#include "world.h"

namespace {

const double FIELDS_OF_VIEW[4] = {64.0, 32.0, 16.0, 8.0};  // degrees, by zoom level

// The scene's objects at heading 0; each scene turns them to its own heading.
WorldState baseScene;

// Fires at 20 degrees with 10 ms steps until every shot slot flies, as
// continuous fire leaves them, then leaves the first 100 spawner targets.
void buildBaseScene() {
    resetWorld();
    world.pitchDeg = 20.0f;
    world.keyBits = CONTROL_FIRE;
    for (int i = 0; i < 2000; i++) {
        decodeControls();
        updateImpactMarks();
        updateShots(0.010);
        updateFiring();
    }
    world.keyBits = 0;
    for (int i = 0; i < 100; i++) spawnTarget();
    baseScene = world;
}

// The world point `along` right, `upward` up and `depth` ahead of the eye.
void placeInView(const FrameView& view, double along, double upward, double depth, float* out) {
    for (int c = 0; c < 3; c++) {
        out[c] = static_cast<float>(view.eye[c] + along * view.side[c] + upward * view.up[c] +
                                    depth * view.forward[c]);
    }
}

// Turns (x, z) by `degrees` about the vertical axis through the eye.
void turn(float& x, float& z, double degrees) {
    const double a = degrees / 180.0 * PI;
    const double nx = x * std::cos(a) + z * std::sin(a);
    const double nz = -x * std::sin(a) + z * std::cos(a);
    x = static_cast<float>(nx);
    z = static_cast<float>(nz);
}

// Targets 100..299 around the four side planes and the far plane of `view`,
// from well inside to just clear of them, in many colours.
void straddlePlanes(const FrameView& view, std::mt19937& random) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double r = 2.0;
    const double offsets[10] = {-1.2, -1.02, -1.0, -0.98, -0.7, -0.3, 0.0, 0.3, 0.9, 1.5};
    for (int slot = 100; slot < MAX_TARGETS; slot++) {
        Target& target = world.targets[slot];
        target.state = 1 + slot % 3;
        target.radius = 2.0f;
        for (int c = 0; c < 3; c++) target.color[c] = static_cast<float>(unit(random));
        target.color[3] = 1.0f;
        const double s = offsets[slot % 10] * r;
        const double depth = 4.0 + 900.0 * unit(random) * unit(random);
        const int plane = (slot / 10) % 5;
        const double fx = view.focalX, fy = view.focalY;
        double p[3] = {0.0, (unit(random) - 0.3) * depth / fy, depth};
        if (plane == 0 || plane == 1) {
            const double sign = plane == 0 ? -1.0 : 1.0;  // left, right
            p[0] = sign * depth / fx - sign * s * fx / view.planeX;
            p[2] = depth + s / view.planeX;
        } else if (plane == 2 || plane == 3) {
            const double sign = plane == 2 ? -1.0 : 1.0;  // bottom, top
            p[0] = (unit(random) - 0.5) * depth / fx;
            p[1] = sign * depth / fy - sign * s * fy / view.planeY;
            p[2] = depth + s / view.planeY;
        } else {
            p[0] = (unit(random) - 0.5) * 1000.0 / fx;
            p[1] = (unit(random) - 0.5) * 20.0;
            p[2] = 1000.0 - s;  // the far plane
        }
        placeInView(view, p[0], p[1], p[2], target.pos);
    }
}

// Shots 150..299 scattered through and around the view from 2 to 1100
// units deep, most so far that they cover less than a pixel; marks on the
// floor from near to beyond the far plane, some across the side planes.
void scatterShotsAndMarks(const FrameView& view, std::mt19937& random) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int slot = 150; slot < MAX_SHOTS; slot++) {
        Shot& shot = world.shots[slot];
        shot.state = SHOT_FLYING;
        const double depth = 2.0 * std::pow(550.0, unit(random));
        placeInView(view, (unit(random) * 2.4 - 1.2) * depth / view.focalX,
                    (unit(random) * 2.4 - 1.2) * depth / view.focalY, depth, shot.pos);
    }
    for (int slot = 0; slot < MAX_IMPACT_MARKS; slot++) {
        ImpactMark& mark = world.impactMarks[slot];
        mark.ttl = 1 + slot % 2;
        const double depth = 3.0 + 1000.0 * unit(random) * unit(random);
        float p[3] = {};
        placeInView(view, (unit(random) * 2.2 - 1.1) * depth / view.focalX, 0.0, depth, p);
        mark.x = p[0];
        mark.z = p[2];
    }
}

// The whole scene for `yawDeg` and `zoomLevel` in the window as it is now.
void buildScene(double yawDeg, int zoomLevel, unsigned int seed) {
    const int width = world.windowWidth, height = world.windowHeight;
    world = baseScene;
    world.windowWidth = width;
    world.windowHeight = height;
    world.yawDeg = static_cast<float>(yawDeg);
    world.pitchDeg = 20.0f;
    world.zoomLevel = zoomLevel;
    for (Shot& shot : world.shots) turn(shot.pos[0], shot.pos[2], yawDeg);
    for (Target& target : world.targets) turn(target.pos[0], target.pos[2], yawDeg);
    const FrameView view = frameView(yawDeg, FIELDS_OF_VIEW[zoomLevel], width, height);
    std::mt19937 random(seed);
    straddlePlanes(view, random);
    scatterShotsAndMarks(view, random);
}

// Draws one frame and reads the whole back buffer, RGBA rows bottom first.
std::vector<unsigned char> drawAndReadAll(bool everything) {
    drawEverything = everything;
    display();
    drawEverything = false;
    glFinish();
    std::vector<unsigned char> pixels(
        static_cast<size_t>(world.windowWidth) * static_cast<size_t>(world.windowHeight) * 4, 0);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, world.windowWidth, world.windowHeight, GL_RGBA, GL_UNSIGNED_BYTE,
                 pixels.data());
    return pixels;
}

// Passes when the two frames are equal; otherwise names the first pixel
// (from the top left) that differs, with both colours.
::testing::AssertionResult sameFrame(const std::vector<unsigned char>& skipped,
                                     const std::vector<unsigned char>& everything) {
    const int width = world.windowWidth, height = world.windowHeight;
    for (int y = height - 1; y >= 0; y--) {
        for (int x = 0; x < width; x++) {
            const size_t at = (static_cast<size_t>(y) * static_cast<size_t>(width) + x) * 4;
            bool equal = true;
            for (int c = 0; c < 4; c++) equal = equal && skipped[at + c] == everything[at + c];
            if (equal) continue;
            return ::testing::AssertionFailure()
                   << "first differing pixel (" << x << ", " << height - 1 - y
                   << ") from the top left: skipping gives RGBA " << int{skipped[at]} << ", "
                   << int{skipped[at + 1]} << ", " << int{skipped[at + 2]} << ", "
                   << int{skipped[at + 3]} << "; drawing everything gives " << int{everything[at]}
                   << ", " << int{everything[at + 1]} << ", " << int{everything[at + 2]} << ", "
                   << int{everything[at + 3]};
        }
    }
    return ::testing::AssertionSuccess();
}

// Objects of the world that the skipping leaves out of this frame.
int skippedObjects() {
    const FrameView view = frameView(world.yawDeg, FIELDS_OF_VIEW[world.zoomLevel],
                                     world.windowWidth, world.windowHeight);
    int skipped = 0;
    for (const Target& t : world.targets) {
        if (t.state != TARGET_FREE && !sphereMayBeSeen(view, t.pos[0], t.pos[1], t.pos[2], 2.0)) {
            skipped++;
        }
    }
    for (const Shot& s : world.shots) {
        if (s.state == SHOT_FLYING && !sphereMayBeSeen(view, s.pos[0], s.pos[1], s.pos[2], 0.05)) {
            skipped++;
        }
    }
    for (const ImpactMark& m : world.impactMarks) {
        if (m.ttl > 0 && !sphereMayBeSeen(view, m.x, 0.6, m.z, 1.0)) skipped++;
    }
    return skipped;
}

// Resizes the real window and waits for the reshape that follows.
void resizeWindow(int width, int height) {
    glutReshapeWindow(width, height);
    for (int i = 0; i < 400 && (world.windowWidth != width || world.windowHeight != height); i++) {
        glutMainLoopEvent();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

class SkipPicture : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        openGameWindow();
        buildBaseScene();
    }
    void TearDown() override { drawEverything = false; }

    // Every heading in steps of `headingStep` at every zoom level, in the
    // window as it is: both ways, every pixel equal, and much skipped.
    static void compareAroundTheCircle(double headingStep, unsigned int seed) {
        int frames = 0, skipped = 0;
        for (int zoom = 0; zoom < 4; zoom++) {
            for (double yaw = 0.0; yaw < 360.0; yaw += headingStep) {
                buildScene(yaw, zoom, seed + static_cast<unsigned int>(frames));
                skipped += skippedObjects();
                const std::vector<unsigned char> all = drawAndReadAll(true);
                const std::vector<unsigned char> some = drawAndReadAll(false);
                ASSERT_TRUE(sameFrame(some, all))
                    << "heading " << yaw << ", zoom " << zoom << ", window " << world.windowWidth
                    << " x " << world.windowHeight;
                frames++;
            }
        }
        // The comparison means something only if the skipping took place.
        EXPECT_GT(skipped, frames * 100) << "objects skipped in " << frames << " scenes";
    }
};

}  // namespace

TEST_F(SkipPicture, SquareWindowEveryHeadingAndZoom) {
    resizeWindow(PICTURE_SIZE, PICTURE_SIZE);
    compareAroundTheCircle(22.5, 1000);
}

TEST_F(SkipPicture, WideWindowEveryHeadingAndZoom) {
    resizeWindow(800, 400);
    ASSERT_EQ(world.windowWidth, 800);
    compareAroundTheCircle(30.0, 2000);
    resizeWindow(PICTURE_SIZE, PICTURE_SIZE);
}

TEST_F(SkipPicture, TallWindowAtOddHeadings) {
    resizeWindow(300, 640);
    ASSERT_EQ(world.windowHeight, 640);
    compareAroundTheCircle(47.3, 3000);
    resizeWindow(PICTURE_SIZE, PICTURE_SIZE);
}

TEST_F(SkipPicture, TheSceneIsBusyOnScreen) {
    // The scenes put many balls on the picture, not just off it.
    resizeWindow(PICTURE_SIZE, PICTURE_SIZE);
    buildScene(10.0, 0, 7);
    const std::vector<unsigned char> all = drawAndReadAll(true);
    resetWorld();
    const std::vector<unsigned char> empty = drawAndReadAll(true);
    int differing = 0;
    for (size_t i = 0; i < all.size(); i += 4) differing += all[i] != empty[i] ? 1 : 0;
    EXPECT_GT(differing, 2000) << "pixels that the objects change";
}
