// SPDX-License-Identifier: MIT
// The procedural meshes: sine and cosine tables, the gun barrel tube, the
// unit sphere with its target and shot copies, and the impact mark's ring.
// Built once at start-up into static arrays. The exact single-precision
// constants and the order of rounding below give the same floats on every
// run and every platform.
#include "render.h"
#include "trig.h"

float sinTable[TABLE_SIZE] = {};
float cosTable[TABLE_SIZE] = {};
float gunVertices[GUN_VERTEX_COUNT * 3] = {};
float gunNormals[GUN_VERTEX_COUNT * 3] = {};
float unitSphereVertices[SPHERE_VERTEX_COUNT * 3] = {};
float unitSphereNormals[SPHERE_VERTEX_COUNT * 3] = {};
float targetSphereVertices[SPHERE_VERTEX_COUNT * 3] = {};
float targetSphereNormals[SPHERE_VERTEX_COUNT * 3] = {};
float shotSphereVertices[SPHERE_VERTEX_COUNT * 3] = {};
float shotSphereNormals[SPHERE_VERTEX_COUNT * 3] = {};
float markRingX[MARK_RING_POINTS] = {};
float markRingZ[MARK_RING_POINTS] = {};

namespace {

constexpr float TABLE_STEP_F = 0.19634954631328583f;  // pi/16 rounded to single precision
constexpr float PI_F = 3.1415927410125732f;           // pi rounded to single precision
constexpr float RING_STEP_F = 0.39269909262657166f;   // pi/8 rounded to single precision
constexpr double RING_RADIUS = 0.8f;                  // world units, 0.8 rounded to float
constexpr double BARREL_RADIUS = 0.06;                // world units, kept in double
constexpr float TARGET_SCALE = 2.0f;                  // target radius, world units
constexpr float SHOT_SCALE = 0.05f;                   // shot radius, world units
constexpr int SPHERE_BANDS = 32;                      // rings of phi
constexpr int SPHERE_SEGMENTS = 32;                   // steps of theta within a band

// Fills the 32 table entries, k * pi/16 radians apart, each rounded to float.
void buildTables() {
    for (int k = 0; k < TABLE_SIZE; k++) {
        sinTable[k] = static_cast<float>(roundedSin(tableAngle(k)));
        cosTable[k] = static_cast<float>(roundedCos(tableAngle(k)));
    }
}

// Fills the ring of a mark's tube: 16 points 0.8 units from its axis, and
// the first point again to close it.
void buildMarkRing() {
    for (int k = 0; k < MARK_RING_POINTS - 1; k++) {
        markRingX[k] = static_cast<float>(roundedCos(markRingAngle(k)) * RING_RADIUS);
        markRingZ[k] = static_cast<float>(roundedSin(markRingAngle(k)) * RING_RADIUS);
    }
    markRingX[MARK_RING_POINTS - 1] = markRingX[0];
    markRingZ[MARK_RING_POINTS - 1] = markRingZ[0];
}

// Writes the triple (x, y, z) at vertex `index` of a packed array.
void putTriple(float* array, int index, float x, float y, float z) {
    array[3 * index] = x;
    array[3 * index + 1] = y;
    array[3 * index + 2] = z;
}

// Fills the four scaled sphere arrays from the unit sphere, float by float.
void buildScaledSpheres() {
    for (int n = 0; n < SPHERE_VERTEX_COUNT * 3; n++) {
        targetSphereVertices[n] = TARGET_SCALE * unitSphereVertices[n];
        targetSphereNormals[n] = TARGET_SCALE * unitSphereNormals[n];
        shotSphereVertices[n] = SHOT_SCALE * unitSphereVertices[n];
        shotSphereNormals[n] = SHOT_SCALE * unitSphereNormals[n];
    }
}

}  // namespace

double tableAngle(int k) { return k * static_cast<double>(TABLE_STEP_F); }

float sphereAngle(int k) { return static_cast<float>(k * static_cast<double>(PI_F) / 16.0); }

double markRingAngle(int k) { return k * static_cast<double>(RING_STEP_F); }

void prepareMeshes() {
    buildTables();
    buildGunMesh();
    buildUnitSphere();
    buildScaledSpheres();
    buildMarkRing();
}

void buildGunMesh() {
    for (int k = 0; k <= TABLE_SIZE; k++) {
        // Ring point 32 closes the tube on point 0.
        const int entry = k % TABLE_SIZE;
        const float x = static_cast<float>(cosTable[entry] * BARREL_RADIUS);
        const float y = static_cast<float>(sinTable[entry] * BARREL_RADIUS);
        putTriple(gunVertices, 2 * k, x, y, 0.0f);      // pivot end
        putTriple(gunVertices, 2 * k + 1, x, y, 1.0f);  // muzzle end
    }
    // The normals divide the ring points as stored, rounded to float. They
    // are read back in a pass of their own: in one loop GCC 12's vectoriser
    // at -O2 divided the products before their rounding, and one normal
    // came out a bit off on x86-64 only.
    for (int k = 0; k <= TABLE_SIZE; k++) {
        const float normalX = static_cast<float>(gunVertices[6 * k] / BARREL_RADIUS);
        const float normalY = static_cast<float>(gunVertices[6 * k + 1] / BARREL_RADIUS);
        putTriple(gunNormals, 2 * k, normalX, normalY, 0.0f);
        putTriple(gunNormals, 2 * k + 1, normalX, normalY, 0.0f);
    }
}

void buildUnitSphere() {
    // phi runs the whole circle, so bands 16..31 cover the sphere a second time.
    for (int band = 0; band < SPHERE_BANDS; band++) {
        const double phi0 = sphereAngle(band);
        const double phi1 = sphereAngle(band + 1);
        const float c0 = static_cast<float>(roundedCos(phi0));
        const float c1 = static_cast<float>(roundedCos(phi1));
        const double s0 = roundedSin(phi0);
        const double s1 = roundedSin(phi1);
        for (int segment = 0; segment < SPHERE_SEGMENTS; segment++) {
            const double theta = sphereAngle(segment);
            const double cosTheta = roundedCos(theta);
            const double sinTheta = roundedSin(theta);
            const int first = 64 * band + 2 * segment;
            putTriple(unitSphereVertices, first, c0, static_cast<float>(cosTheta * s0),
                      static_cast<float>(sinTheta * s0));
            putTriple(unitSphereVertices, first + 1, c1, static_cast<float>(cosTheta * s1),
                      static_cast<float>(sinTheta * s1));
        }
    }
    // On a unit sphere the outward normal is the position itself.
    for (int n = 0; n < SPHERE_VERTEX_COUNT * 3; n++) unitSphereNormals[n] = unitSphereVertices[n];
}
