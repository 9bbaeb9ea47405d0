// SPDX-License-Identifier: MIT
// The picture tests' window, frame read-back, probes and view arithmetic.
#include "window.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "render.h"
#include "shell.h"
#include "world.h"

namespace {

unsigned char frame[PICTURE_SIZE * PICTURE_SIZE * 3] = {};  // RGB rows, bottom row first
bool windowOpen = false;                                    // openGameWindow ran


// Channel value 0..1 as 0..255, the way an 8-bit frame buffer stores it.
int toByte(double value) { return static_cast<int>(std::lround(std::clamp(value, 0.0, 1.0) * 255.0)); }

}  // namespace

void openGameWindow() {
    if (windowOpen) return;
    int argc = 1;
    char name[] = "zarvel_picture_tests";
    char* argv[] = {name, nullptr};
    startGame(&argc, argv);
    for (int i = 0; i < 200 && world.windowHeight == 0; i++) glutMainLoopEvent();
    windowOpen = true;
}

void resetWorld() {
    clearWorld();
    startGameState(0);
    // OpenGL as a frame leaves it, then the reshape the toolkit delivers.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    reshape(PICTURE_SIZE, PICTURE_SIZE);
}

void drawAndRead() {
    display();
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, PICTURE_SIZE, PICTURE_SIZE, GL_RGB, GL_UNSIGNED_BYTE, frame);
}

Rgb colourAt(Pixel pixel) {
    const int row = PICTURE_SIZE - 1 - pixel.y;
    const unsigned char* p = frame + 3 * (row * PICTURE_SIZE + pixel.x);
    return {p[0], p[1], p[2]};
}

::testing::AssertionResult probe(const char* what, Pixel pixel, Rgb expected, int tolerance) {
    if (pixel.x < 0 || pixel.x >= PICTURE_SIZE || pixel.y < 0 || pixel.y >= PICTURE_SIZE) {
        return ::testing::AssertionFailure()
               << what << ": pixel (" << pixel.x << ", " << pixel.y << ") is off the picture";
    }
    const Rgb seen = colourAt(pixel);
    const bool close = std::abs(seen.r - expected.r) <= tolerance &&
                       std::abs(seen.g - expected.g) <= tolerance &&
                       std::abs(seen.b - expected.b) <= tolerance;
    if (close) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << what << " at (" << pixel.x << ", " << pixel.y << "): expected RGB " << expected.r
           << ", " << expected.g << ", " << expected.b << " (+-" << tolerance << "), observed "
           << seen.r << ", " << seen.g << ", " << seen.b;
}

Pixel project(double yawDeg, int zoomLevel, double x, double y, double z) {
    // The eye at (0, 1.5, 0) looks at (1000 sin yaw, 1, 1000 cos yaw), y up.
    const double yaw = yawDeg / 180.0 * PI;
    double forward[3] = {1000.0 * std::sin(yaw), 1.0 - 1.5, 1000.0 * std::cos(yaw)};
    const double forwardLength = std::sqrt(forward[0] * forward[0] + forward[1] * forward[1] +
                                           forward[2] * forward[2]);
    for (double& c : forward) c /= forwardLength;
    // side = forward x up, up = (0, 1, 0); then the true up = side x forward.
    double side[3] = {-forward[2], 0.0, forward[0]};
    const double sideLength = std::hypot(side[0], side[2]);
    side[0] /= sideLength;
    side[2] /= sideLength;
    const double up[3] = {side[1] * forward[2] - side[2] * forward[1],
                          side[2] * forward[0] - side[0] * forward[2],
                          side[0] * forward[1] - side[1] * forward[0]};
    const double d[3] = {x, y - 1.5, z};
    const double eyeX = side[0] * d[0] + side[1] * d[1] + side[2] * d[2];
    const double eyeY = up[0] * d[0] + up[1] * d[1] + up[2] * d[2];
    const double depth = forward[0] * d[0] + forward[1] * d[1] + forward[2] * d[2];
    const double fovy[4] = {64.0, 32.0, 16.0, 8.0};
    const double focal = 1.0 / std::tan(fovy[zoomLevel] / 2.0 / 180.0 * PI);
    const double ndcX = focal * eyeX / depth;  // aspect 1
    const double ndcY = focal * eyeY / depth;
    return {static_cast<int>(std::floor((ndcX + 1.0) / 2.0 * PICTURE_SIZE)),
            static_cast<int>(std::floor((1.0 - ndcY) / 2.0 * PICTURE_SIZE))};
}

Rgb litColour(const float* colour, double nx, double ny, double nz) {
    // Light 0 shines from the world direction (0, 1, 0.8), diffuse (1, 0.9, 0.6).
    const double light[3] = {0.0, 1.0, 0.8};
    const double lightLength = std::sqrt(light[1] * light[1] + light[2] * light[2]);
    const double facing =
        std::max(0.0, (nx * light[0] + ny * light[1] + nz * light[2]) / lightLength);
    const double diffuse[3] = {1.0, 0.9, 0.6};
    double channel[3] = {};
    for (int c = 0; c < 3; c++) channel[c] = 0.2 * colour[c] + facing * colour[c] * diffuse[c];
    return {toByte(channel[0]), toByte(channel[1]), toByte(channel[2])};
}

void savePicture(const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << PICTURE_SIZE << " " << PICTURE_SIZE << "\n255\n";
    for (int row = PICTURE_SIZE - 1; row >= 0; row--) {
        out.write(reinterpret_cast<const char*>(frame + 3 * row * PICTURE_SIZE), 3 * PICTURE_SIZE);
    }
}

bool compareWithPicture(const std::string& path, int& largest, int& differing) {
    largest = 0;
    differing = 0;
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int width = 0, height = 0, depth = 0;
    in >> magic >> width >> height >> depth;
    in.get();  // the one white space before the pixels
    if (!in || magic != "P6" || width != PICTURE_SIZE || height != PICTURE_SIZE || depth != 255) {
        return false;
    }
    std::vector<char> pixels(3 * PICTURE_SIZE * PICTURE_SIZE, 0);
    if (!in.read(pixels.data(), static_cast<std::streamsize>(pixels.size()))) return false;
    for (int y = 0; y < PICTURE_SIZE; y++) {
        for (int x = 0; x < PICTURE_SIZE; x++) {
            const Rgb seen = colourAt({x, y});
            const unsigned char* wanted =
                reinterpret_cast<const unsigned char*>(pixels.data()) + 3 * (y * PICTURE_SIZE + x);
            const int most = std::max({std::abs(seen.r - wanted[0]), std::abs(seen.g - wanted[1]),
                                       std::abs(seen.b - wanted[2])});
            largest = std::max(largest, most);
            if (most > 0) differing++;
        }
    }
    return true;
}
