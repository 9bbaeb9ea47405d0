// SPDX-License-Identifier: MIT
// Pixel classes, connected groups and the camera's projection.
#include "scene.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
constexpr int LINE_BOTTOM = 45;  // rows above this hold the text line
constexpr double PI = 3.141592653589793;

bool isBackground(const Rgb& pixel, const Rgb& floor) {
    return nearColour(pixel, SKY_COLOUR, 2) || nearColour(pixel, floor, 2);
}

// Flood fill of the group at (x, y); marks its pixels as seen.
Blob fillBlob(const Frame& frame, const Rgb& floor, std::vector<uint8_t>& seen, int x, int y) {
    Blob blob;
    blob.minX = blob.maxX = x;
    blob.minY = blob.maxY = y;
    std::vector<int> pending{y * frame.width + x};
    seen[static_cast<size_t>(pending.back())] = 1;
    double sumX = 0.0;
    double sumY = 0.0;
    while (!pending.empty()) {
        const int at = pending.back();
        pending.pop_back();
        const int px = at % frame.width;
        const int py = at / frame.width;
        ++blob.pixels;
        sumX += px;
        sumY += py;
        blob.minX = std::min(blob.minX, px);
        blob.maxX = std::max(blob.maxX, px);
        blob.minY = std::min(blob.minY, py);
        blob.maxY = std::max(blob.maxY, py);
        const int neighbours[4][2] = {{px - 1, py}, {px + 1, py}, {px, py - 1}, {px, py + 1}};
        for (const auto& next : neighbours) {
            if (next[0] < 0 || next[0] >= frame.width || next[1] < LINE_BOTTOM ||
                next[1] >= frame.height) {
                continue;
            }
            const int index = next[1] * frame.width + next[0];
            if (seen[static_cast<size_t>(index)] != 0) continue;
            if (isBackground(pixelAt(frame, next[0], next[1]), floor)) continue;
            seen[static_cast<size_t>(index)] = 1;
            pending.push_back(index);
        }
    }
    blob.centreX = sumX / blob.pixels;
    blob.centreY = sumY / blob.pixels;
    return blob;
}
}  // namespace

Rgb expectedSandColour() {
    const double facing = 1.0 / std::sqrt(1.0 + 0.8 * 0.8);  // floor normal . light direction
    const double material[3] = {0.85, 0.75, 0.6};
    const double light[3] = {1.0, 0.9, 0.6};
    uint8_t channel[3] = {0, 0, 0};
    for (int c = 0; c < 3; ++c) {
        const double lit = std::min(1.0, material[c] * (0.2 + light[c] * facing));
        channel[c] = static_cast<uint8_t>(std::lround(lit * 255.0));
    }
    return Rgb{channel[0], channel[1], channel[2]};
}

bool nearColour(const Rgb& a, const Rgb& b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

Rgb floorColourOf(const Frame& frame) { return pixelAt(frame, 3, frame.height - 3); }

std::vector<Blob> objectBlobs(const Frame& frame) {
    const Rgb floor = floorColourOf(frame);
    std::vector<uint8_t> seen(frame.pixels.size(), 0);
    std::vector<Blob> blobs;
    for (int y = LINE_BOTTOM; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            const size_t at = static_cast<size_t>(y) * static_cast<size_t>(frame.width) +
                              static_cast<size_t>(x);
            if (seen[at] != 0 || isBackground(pixelAt(frame, x, y), floor)) continue;
            blobs.push_back(fillBlob(frame, floor, seen, x, y));
        }
    }
    return blobs;
}

bool findBall(const Frame& frame, Blob& ball) {
    bool found = false;
    for (const Blob& blob : objectBlobs(frame)) {
        if (blob.maxY >= frame.height - 1) continue;
        if (!found || blob.pixels > ball.pixels) ball = blob;
        found = true;
    }
    return found;
}

double barrelShare(const Frame& frame) {
    const Rgb floor = floorColourOf(frame);
    int objects = 0;
    int total = 0;
    for (int y = 470; y < 595; ++y) {
        for (int x = 285; x <= 315; ++x) {
            ++total;
            if (!isBackground(pixelAt(frame, x, y), floor)) ++objects;
        }
    }
    return static_cast<double>(objects) / total;
}

int barrelTop(const Frame& frame) {
    for (const Blob& blob : objectBlobs(frame)) {
        if (blob.maxY >= frame.height - 1 && blob.minX <= frame.width / 2 &&
            blob.maxX >= frame.width / 2) {
            return blob.minY;
        }
    }
    return -1;
}

double muzzleTopRow(double pitchDeg) {
    // The barrel: a tube of radius 0.06 and length 1 from the pivot at
    // (0, 1.2, 0), raised about the x axis.
    const double pitch = pitchDeg / 180.0 * PI;
    const double y = 1.2 + std::sin(pitch) + 0.06 * std::cos(pitch);
    const double z = std::cos(pitch) - 0.06 * std::sin(pitch);
    return projectPoint(0.0, 64.0, 0.0, y, z).y;
}

bool bottomIsBareFloor(const Frame& frame) {
    const Rgb floor = floorColourOf(frame);
    for (int y = frame.height * 7 / 10; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            if (!nearColour(pixelAt(frame, x, y), floor, 2)) return false;
        }
    }
    return true;
}

ScreenPoint projectPoint(double yawDeg, double fovyDeg, double x, double y, double z) {
    const double yaw = yawDeg / 180.0 * PI;
    const double eye[3] = {0.0, 1.5, 0.0};
    double forward[3] = {1000.0 * std::sin(yaw), 1.0 - 1.5, 1000.0 * std::cos(yaw)};
    const double length = std::sqrt(forward[0] * forward[0] + forward[1] * forward[1] +
                                    forward[2] * forward[2]);
    for (double& component : forward) component /= length;
    // side = forward x up with up (0, 1, 0); then the true up = side x forward.
    double side[3] = {-forward[2], 0.0, forward[0]};
    const double sideLength = std::sqrt(side[0] * side[0] + side[2] * side[2]);
    side[0] /= sideLength;
    side[2] /= sideLength;
    const double up[3] = {side[1] * forward[2] - side[2] * forward[1],
                          side[2] * forward[0] - side[0] * forward[2],
                          side[0] * forward[1] - side[1] * forward[0]};
    const double d[3] = {x - eye[0], y - eye[1], z - eye[2]};
    const double right = side[0] * d[0] + side[1] * d[1] + side[2] * d[2];
    const double above = up[0] * d[0] + up[1] * d[1] + up[2] * d[2];
    const double ahead = forward[0] * d[0] + forward[1] * d[1] + forward[2] * d[2];
    const double focal = 1.0 / std::tan(fovyDeg / 2.0 / 180.0 * PI);
    ScreenPoint point;
    point.inFront = ahead > 0.1;
    if (!point.inFront) return point;
    point.x = (focal * right / ahead + 1.0) / 2.0 * 600.0;
    point.y = 600.0 - (focal * above / ahead + 1.0) / 2.0 * 600.0;
    return point;
}
