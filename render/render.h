// The picture: the procedural meshes, the 3D scene and the one-line overlay.
// Everything here only reads the world state; nothing is allocated per frame.
#pragma once

constexpr int SPHERE_VERTEX_COUNT = 2048;  // one strip: 32 bands x 32 segments x 2
constexpr int GUN_VERTEX_COUNT = 66;       // one strip: 33 ring positions x 2
constexpr int TABLE_SIZE = 32;             // entries of the sine and cosine tables

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

// Builds the tables, the barrel, the unit sphere and its two scaled copies.
void prepareMeshes();
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
