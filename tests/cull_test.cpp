// SPDX-License-Identifier: MIT
// What can reach a pixel: the view of a frame and the ball test, worked out
// without a display. Positions are placed in eye terms (sideways, upward,
// depth) and turned into world points, so each case sits where it means to.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "render.h"

namespace {

constexpr double PI = 3.141592653589793;

// The world point at `along` right, `upward` up and `depth` ahead of the eye.
struct Point {
    double x = 0.0;  // world units
    double y = 0.0;  // world units
    double z = 0.0;  // world units
};

Point inView(const FrameView& view, double along, double upward, double depth) {
    Point p;
    p.x = view.eye[0] + along * view.side[0] + upward * view.up[0] + depth * view.forward[0];
    p.y = view.eye[1] + along * view.side[1] + upward * view.up[1] + depth * view.forward[1];
    p.z = view.eye[2] + along * view.side[2] + upward * view.up[2] + depth * view.forward[2];
    return p;
}

bool seen(const FrameView& view, Point p, double radius) {
    return sphereMayBeSeen(view, p.x, p.y, p.z, radius);
}

// Eye offset `along` that puts a point at depth `depth` on window column
// `column` (pixels from the left, fractional).
double alongForColumn(const FrameView& view, double column, double depth) {
    return (column / view.halfWidth - 1.0) * depth / view.focalX;
}

}  // namespace

TEST(FrameViewTest, LooksAlongTheHeadingFromTheEye) {
    const FrameView view = frameView(90.0, 64.0, 800, 400);
    ASSERT_TRUE(view.usable);
    EXPECT_DOUBLE_EQ(view.eye[1], 1.5);
    EXPECT_NEAR(view.forward[0], 1.0, 1e-6) << "heading 90 looks along +x";
    EXPECT_NEAR(view.forward[2], 0.0, 1e-9);
    EXPECT_NEAR(view.side[2], 1.0, 1e-6) << "looking along +x, +z is on the right";
    EXPECT_GT(view.up[1], 0.999);
    const double focal = 1.0 / std::tan(32.0 / 180.0 * PI);
    EXPECT_NEAR(view.focalY, focal, 1e-12);
    EXPECT_NEAR(view.focalX, focal / 2.0, 1e-12) << "aspect 2";
    EXPECT_DOUBLE_EQ(view.halfWidth, 400.0);
    EXPECT_DOUBLE_EQ(view.halfHeight, 200.0);

    const FrameView unsized = frameView(0.0, 64.0, 600, 0);
    EXPECT_FALSE(unsized.usable);
    EXPECT_TRUE(sphereMayBeSeen(unsized, 0.0, 0.0, -500.0, 0.05)) << "no size: skip nothing";
}

TEST(SphereMayBeSeenTest, BallsAheadAreSeenBehindAndBeyondAreNot) {
    const FrameView view = frameView(0.0, 64.0, 600, 600);
    EXPECT_TRUE(seen(view, inView(view, 0.0, 0.0, 100.0), 2.0));
    EXPECT_TRUE(seen(view, inView(view, 0.0, 0.0, 799.0), 2.0)) << "a far ball is over a pixel";
    EXPECT_FALSE(seen(view, inView(view, 0.0, 0.0, -100.0), 2.0)) << "behind the eye";
    EXPECT_FALSE(seen(view, inView(view, 0.0, 0.0, -6.5), 2.0)) << "just behind the eye";
    EXPECT_TRUE(seen(view, inView(view, 0.0, 0.0, 1000.0), 2.0)) << "across the far plane";
    EXPECT_TRUE(seen(view, inView(view, 0.0, 0.0, 1002.9), 2.0)) << "within the far slack";
    EXPECT_FALSE(seen(view, inView(view, 0.0, 0.0, 1003.5), 2.0)) << "wholly past the far plane";
}

TEST(SphereMayBeSeenTest, EverythingNearTheEyeIsDrawn) {
    const FrameView view = frameView(200.0, 8.0, 600, 600);
    EXPECT_TRUE(seen(view, inView(view, 0.0, 0.0, -3.0), 0.05)) << "behind, but near";
    EXPECT_TRUE(seen(view, inView(view, 3.0, 0.0, 0.0), 2.0)) << "beside the eye";
    EXPECT_TRUE(seen(view, inView(view, 0.0, 0.0, 0.0), 0.05)) << "at the eye";
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(sphereMayBeSeen(view, nan, 0.0, 10.0, 2.0)) << "an unknown place is drawn";
}

TEST(SphereMayBeSeenTest, BallsStraddlingASidePlaneAreSeenUntilWhollyOutside) {
    // Each side plane, at several fields of view and a wide window: a ball
    // touching from outside is seen, one clear of the plane by 1 % is not.
    const double fovs[4] = {64.0, 32.0, 16.0, 8.0};
    for (double fovy : fovs) {
        const FrameView view = frameView(37.0, fovy, 800, 400);
        const double depth = 300.0;
        const double r = 2.0;
        // Inward unit normals in (along, upward, depth) and the on-plane point.
        struct Plane {
            double n[3];
            double onPlane[3];
        };
        const Plane planes[4] = {
            {{view.focalX / view.planeX, 0.0, 1.0 / view.planeX}, {-depth / view.focalX, 0, depth}},
            {{-view.focalX / view.planeX, 0.0, 1.0 / view.planeX}, {depth / view.focalX, 0, depth}},
            {{0.0, view.focalY / view.planeY, 1.0 / view.planeY}, {0, -depth / view.focalY, depth}},
            {{0.0, -view.focalY / view.planeY, 1.0 / view.planeY}, {0, depth / view.focalY, depth}},
        };
        for (int p = 0; p < 4; p++) {
            for (double offset : {0.5, 0.0, -0.5, -0.99}) {
                const double* n = planes[p].n;
                const double* o = planes[p].onPlane;
                const double s = offset * r;
                EXPECT_TRUE(
                    seen(view, inView(view, o[0] + s * n[0], o[1] + s * n[1], o[2] + s * n[2]), r))
                    << "fovy " << fovy << " plane " << p << " offset " << offset;
            }
            const double s = -1.01 * r;
            const double* n = planes[p].n;
            const double* o = planes[p].onPlane;
            EXPECT_FALSE(
                seen(view, inView(view, o[0] + s * n[0], o[1] + s * n[1], o[2] + s * n[2]), r))
                << "fovy " << fovy << " plane " << p;
        }
    }
}

TEST(SphereMayBeSeenTest, ABallBetweenPixelCentresIsSkippedOneOverACentreIsNot) {
    const FrameView view = frameView(0.0, 64.0, 600, 600);
    // A shot 500 units ahead covers about a tenth of a pixel.
    const double depth = 500.0;
    const double upward = 0.5 / view.halfHeight * depth / view.focalY;  // on row centre 300.5
    const Point onEdge = inView(view, alongForColumn(view, 300.0, depth), upward, depth);
    EXPECT_FALSE(seen(view, onEdge, 0.05)) << "between the centres of columns 299 and 300";
    const Point onCentre = inView(view, alongForColumn(view, 300.5, depth), upward, depth);
    EXPECT_TRUE(seen(view, onCentre, 0.05)) << "over the centre of column 300";
    const Point nearCentre = inView(view, alongForColumn(view, 300.42, depth), upward, depth);
    EXPECT_TRUE(seen(view, nearCentre, 0.05)) << "the margin keeps a near miss";
    // Between row centres: the same on the other axis.
    const Point betweenRows = inView(view, alongForColumn(view, 300.5, depth), 0.0, depth);
    EXPECT_FALSE(seen(view, betweenRows, 0.05));
    // Zoomed in eight times the same shot covers a pixel centre.
    const FrameView zoomed = frameView(0.0, 8.0, 600, 600);
    EXPECT_TRUE(
        seen(zoomed, inView(zoomed, alongForColumn(zoomed, 300.0, depth), 0.0, depth), 0.05));
    // A target is never that small inside the field.
    EXPECT_TRUE(seen(view, onEdge, 2.0));
}

TEST(SphereMayBeSeenTest, ShallowBallsAreNotSkippedForTheirSize) {
    // Under 2 units deep the size test is not trusted. Only a very wide
    // window puts a ball there that is neither near the eye nor outside.
    const FrameView view = frameView(0.0, 64.0, 3000, 300);
    const Point shallow = inView(view, 4.0, 0.0, 1.5);
    EXPECT_TRUE(seen(view, shallow, 0.0001));
    const double column = std::floor((view.focalX * 4.0 / 1.5 + 1.0) * view.halfWidth);
    const Point deep = inView(view, alongForColumn(view, column, 50.0), 0.0, 50.0);
    EXPECT_FALSE(seen(view, deep, 0.0001)) << "the same dot deeper, on a column edge, is skipped";
}
