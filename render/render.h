// SPDX-License-Identifier: MIT
// The picture: the procedural meshes, the 3D scene and the one-line overlay.
// Everything here only reads the world state; nothing is allocated per frame.
#pragma once

constexpr int SPHERE_VERTEX_COUNT = 2048;  // one strip: 32 bands x 32 segments x 2
constexpr int GUN_VERTEX_COUNT = 66;       // one strip: 33 ring positions x 2
constexpr int TABLE_SIZE = 32;             // entries of the sine and cosine tables
constexpr int MARK_RING_POINTS = 17;       // a mark's ring: 16 around and the first again

// Meshes (meshes.cpp): packed (x, y, z) float triples, normal n for vertex n.
extern float sinTable[TABLE_SIZE];  // sin(k * pi/16), k = 0..31
extern float cosTable[TABLE_SIZE];  // cos(k * pi/16), k = 0..31
extern float gunVertices[GUN_VERTEX_COUNT * 3];  // barrel tube, radius 0.06, z 0..1
extern float gunNormals[GUN_VERTEX_COUNT * 3];   // radial, length 1, z 0
extern float unitSphereVertices[SPHERE_VERTEX_COUNT * 3];    // radius 1
extern float unitSphereNormals[SPHERE_VERTEX_COUNT * 3];     // equal to the positions
extern float targetSphereVertices[SPHERE_VERTEX_COUNT * 3];  // radius 2
extern float targetSphereNormals[SPHERE_VERTEX_COUNT * 3];   // length 2, not normalised
extern float shotSphereVertices[SPHERE_VERTEX_COUNT * 3];    // radius 0.05
extern float shotSphereNormals[SPHERE_VERTEX_COUNT * 3];     // length 0.05, not normalised
extern float markRingX[MARK_RING_POINTS];  // a mark's ring around its centre, radius 0.8
extern float markRingZ[MARK_RING_POINTS];

// Builds the tables, the barrel, the unit sphere and its two scaled copies,
// and the mark's ring.
void prepareMeshes();
// The angles, in radians, at which the meshes take sines and cosines: table
// entry k = 0..31, the sphere's circle k = 0..32 and the ring's k = 0..15.
double tableAngle(int k);
float sphereAngle(int k);
double markRingAngle(int k);
// Fills gunVertices and gunNormals from the tables.
void buildGunMesh();
// Fills unitSphereVertices and unitSphereNormals.
void buildUnitSphere();

// Light 0 (scene.cpp): RGBA diffuse colour and directional position (w 0).
extern const float lightDiffuse[4];
extern const float lightPosition[4];

// The display callback: the scene, then the overlay and the buffer swap.
void display();
// Multiplies the view from the eye onto the model-view matrix and re-sends
// the light position under it.
void applyCamera();
// The x and z, in world units, of the point the camera looks at (at height
// 1): 1000 units from the eye along the heading yawDeg, in degrees.
void lookAtCentre(double yawDeg, double centre[2]);
// One kind of object each, drawn from the plain view.
void drawFloor();
void drawImpactMarks();
void drawTargets();
void drawShots();
void drawGun();
// The yellow overlay line at the top left; ends the frame with the swap.
void drawHud();

// The overlay's text, NUL-terminated, with its length in characters.
struct HudLine {
    char text[40] = {};  // at most 10 + 1 + 5 + 5 + 3 characters and the NUL
    int length = 0;      // characters before the NUL
};

// The overlay line for these values: hits (three digits up to 999, every
// digit from 1000 on), '/', five digits of shots left, and " FPS:" with the
// last one to three digits of the rate when showFps is not 0.
HudLine hudLine(int hitCount, int shotsLeft, int showFps, int fpsValue);

// Skipping what cannot reach a pixel (cull.cpp) -------------------------------

// When true, drawTargets, drawShots and drawImpactMarks draw every live
// object, as if nothing could be skipped. For comparisons and benchmarks.
extern bool drawEverything;

// The camera and projection of one frame, as the eye sees the world: the
// view basis of the look-at, the projection's focal factors and the window.
struct FrameView {
    bool usable = false;          // false: the window has no size yet, skip nothing
    double eye[3] = {};           // world units
    double side[3] = {};          // unit vector, to the right on the picture
    double up[3] = {};            // unit vector, up on the picture
    double forward[3] = {};       // unit vector, along the line of sight
    double focalX = 0.0;          // x / depth to normalised device x (cot(fovy/2) / aspect)
    double focalY = 0.0;          // y / depth to normalised device y (cot(fovy/2))
    double planeX = 1.0;          // length of the side planes' normal (focalX, 1)
    double planeY = 1.0;          // length of the top and bottom planes' normal (focalY, 1)
    double nearPlane = 0.1;       // world units
    double farPlane = 1000.0;     // world units
    double halfWidth = 0.0;       // pixels per unit of device x (window width / 2)
    double halfHeight = 0.0;      // pixels per unit of device y (window height / 2)
};

// The view of a frame for heading yawDeg (degrees), vertical field of view
// fovyDeg (degrees) and a window of width x height pixels, with the eye,
// look-at centre, up vector and clip planes that the scene uses.
FrameView frameView(double yawDeg, double fovyDeg, int width, int height);

// False only when a ball of `radius` (world units) centred on (x, y, z)
// cannot change a pixel of the frame: it lies wholly outside one of the six
// planes of the view volume, or it is far enough from the eye and so small
// on the picture that no pixel centre falls in the box that bounds it there.
bool sphereMayBeSeen(const FrameView& view, double x, double y, double z, double radius);
