// SPDX-License-Identifier: MIT
// The procedural meshes: reference values of the tables, the barrel and the
// sphere, the lengths of the scaled normals and the seams between bands.
#include <gtest/gtest.h>

#include <cmath>

#include "render.h"

namespace {

// Vertex `index` of a packed triple array, as three doubles.
struct Triple {
    double x, y, z;
};
Triple at(const float* array, int index) {
    return {array[3 * index], array[3 * index + 1], array[3 * index + 2]};
}
double length(Triple t) { return std::sqrt(t.x * t.x + t.y * t.y + t.z * t.z); }

constexpr double FLOAT_EPS = 1e-6;  // a few units in the last place of a float near 1

class Meshes : public ::testing::Test {
protected:
    static void SetUpTestSuite() { prepareMeshes(); }
};

}  // namespace

TEST_F(Meshes, TablesGoOnceAroundInSixteenthsOfPi) {
    EXPECT_EQ(sinTable[0], 0.0f);
    EXPECT_EQ(cosTable[0], 1.0f);
    EXPECT_EQ(sinTable[8], 1.0f);
    EXPECT_NEAR(cosTable[8], 0.0, FLOAT_EPS);
    EXPECT_EQ(cosTable[16], -1.0f);
    EXPECT_NEAR(sinTable[16], 0.0, FLOAT_EPS);
    EXPECT_EQ(sinTable[24], -1.0f);
    for (int k = 0; k < TABLE_SIZE; k++) {
        EXPECT_NEAR(sinTable[k], std::sin(k * 3.141592653589793 / 16), FLOAT_EPS) << "entry " << k;
        EXPECT_NEAR(cosTable[k], std::cos(k * 3.141592653589793 / 16), FLOAT_EPS) << "entry " << k;
    }
    EXPECT_LT(sinTable[31], 0.0f) << "entry 31 is one step short of the full circle";
}

TEST_F(Meshes, BarrelReferenceVertices) {
    const Triple v0 = at(gunVertices, 0), v1 = at(gunVertices, 1), v16 = at(gunVertices, 16);
    EXPECT_FLOAT_EQ(v0.x, 0.06f);
    EXPECT_EQ(v0.y, 0.0);
    EXPECT_EQ(v0.z, 0.0);
    EXPECT_FLOAT_EQ(v1.x, 0.06f);
    EXPECT_EQ(v1.y, 0.0);
    EXPECT_EQ(v1.z, 1.0);
    // Vertex 16 is ring point 8, a quarter turn round.
    EXPECT_NEAR(v16.x, 0.0, FLOAT_EPS);
    EXPECT_FLOAT_EQ(v16.y, 0.06f);
    EXPECT_EQ(v16.z, 0.0);
    const Triple n16 = at(gunNormals, 16);
    EXPECT_NEAR(n16.x, 0.0, FLOAT_EPS);
    EXPECT_NEAR(n16.y, 1.0, FLOAT_EPS);
    // The last pair closes the tube on the first.
    for (int c = 0; c < 3; c++) {
        EXPECT_EQ(gunVertices[64 * 3 + c], gunVertices[c]);
        EXPECT_EQ(gunVertices[65 * 3 + c], gunVertices[3 + c]);
        EXPECT_EQ(gunNormals[64 * 3 + c], gunNormals[c]);
    }
    EXPECT_EQ(at(gunNormals, 0).x, 1.0);
}

TEST_F(Meshes, BarrelIsATubeOfRadiusSixHundredthsWithRadialUnitNormals) {
    for (int i = 0; i < GUN_VERTEX_COUNT; i++) {
        const Triple v = at(gunVertices, i), n = at(gunNormals, i);
        EXPECT_NEAR(std::hypot(v.x, v.y), 0.06, 1e-7) << "vertex " << i;
        EXPECT_EQ(v.z, i % 2 == 0 ? 0.0 : 1.0) << "even vertices at the pivot, odd at the muzzle";
        EXPECT_EQ(n.z, 0.0) << "normal " << i;
        EXPECT_NEAR(length(n), 1.0, FLOAT_EPS) << "normal " << i;
        EXPECT_NEAR(n.x * 0.06, v.x, 1e-7) << "normal " << i << " points away from the axis";
        EXPECT_NEAR(n.y * 0.06, v.y, 1e-7) << "normal " << i;
    }
}

TEST_F(Meshes, SphereReferenceVertices) {
    const Triple v0 = at(unitSphereVertices, 0), v1 = at(unitSphereVertices, 1);
    const Triple v2 = at(unitSphereVertices, 2), v65 = at(unitSphereVertices, 65);
    const Triple v1024 = at(unitSphereVertices, 1024);
    EXPECT_EQ(v0.x, 1.0);
    EXPECT_EQ(v0.y, 0.0);
    EXPECT_EQ(v0.z, 0.0);
    EXPECT_FLOAT_EQ(v1.x, 0.98078525f);
    EXPECT_FLOAT_EQ(v1.y, 0.19509032f);
    EXPECT_EQ(v1.z, 0.0);
    EXPECT_EQ(v2.x, 1.0);
    EXPECT_EQ(v2.y, 0.0);
    EXPECT_EQ(v2.z, 0.0);
    EXPECT_FLOAT_EQ(v65.x, 0.92387950f);
    EXPECT_FLOAT_EQ(v65.y, 0.38268346f);
    EXPECT_EQ(v65.z, 0.0);
    // Band 16 starts on the far pole; phi went past pi, so sin phi < 0.
    EXPECT_EQ(v1024.x, -1.0);
    EXPECT_NEAR(v1024.y, -8.742278e-8, 1e-13);
    EXPECT_EQ(v1024.z, 0.0);
}

TEST_F(Meshes, SecondHalfOfTheStripCoversTheSphereAgain) {
    // Band 31 - i at theta + pi lies on band i at theta (phi past pi flips sin).
    const Triple a = at(unitSphereVertices, 64 * 3 + 2 * 5 + 1);
    const Triple b = at(unitSphereVertices, 64 * 28 + 2 * 21);
    EXPECT_NEAR(a.x, b.x, FLOAT_EPS);
    EXPECT_NEAR(a.y, b.y, FLOAT_EPS);
    EXPECT_NEAR(a.z, b.z, FLOAT_EPS);
}

TEST_F(Meshes, SphereNormalsAreThePositionsAndScaleWithThem) {
    for (int i = 0; i < SPHERE_VERTEX_COUNT; i++) {
        const Triple unit = at(unitSphereVertices, i);
        ASSERT_NEAR(length(unit), 1.0, FLOAT_EPS) << "vertex " << i;
        ASSERT_NEAR(length(at(targetSphereNormals, i)), 2.0, 2 * FLOAT_EPS) << "target " << i;
        ASSERT_NEAR(length(at(shotSphereNormals, i)), 0.05, 0.05 * FLOAT_EPS) << "shot " << i;
    }
    for (int n = 0; n < SPHERE_VERTEX_COUNT * 3; n++) {
        ASSERT_EQ(unitSphereNormals[n], unitSphereVertices[n]) << "float " << n;
        ASSERT_EQ(targetSphereNormals[n], targetSphereVertices[n]) << "float " << n;
        ASSERT_EQ(shotSphereNormals[n], shotSphereVertices[n]) << "float " << n;
        ASSERT_EQ(targetSphereVertices[n], 2.0f * unitSphereVertices[n]) << "float " << n;
        ASSERT_EQ(shotSphereVertices[n], 0.05f * unitSphereVertices[n]) << "float " << n;
    }
    EXPECT_EQ(at(targetSphereVertices, 0).x, 2.0);
    EXPECT_EQ(at(targetSphereNormals, 0).x, 2.0);
    EXPECT_FLOAT_EQ(shotSphereVertices[0], 0.05f);
}

TEST_F(Meshes, NeighbouringBandsShareTheirRingExactly) {
    for (int band = 0; band < 31; band++) {
        for (int segment = 0; segment < 32; segment++) {
            const int upper = 64 * band + 1 + 2 * segment;
            const int lower = 64 * (band + 1) + 2 * segment;
            for (int c = 0; c < 3; c++) {
                ASSERT_EQ(unitSphereVertices[3 * upper + c], unitSphereVertices[3 * lower + c])
                    << "band " << band << " segment " << segment << " component " << c;
            }
        }
    }
}

TEST_F(Meshes, BuildingAgainGivesTheSameFloats) {
    float before[SPHERE_VERTEX_COUNT * 3] = {};
    for (int n = 0; n < SPHERE_VERTEX_COUNT * 3; n++) before[n] = targetSphereNormals[n];
    prepareMeshes();
    for (int n = 0; n < SPHERE_VERTEX_COUNT * 3; n++) ASSERT_EQ(before[n], targetSphereNormals[n]);
}
