// SPDX-License-Identifier: MIT
// The 3D scene of one frame: projection, camera, floor, impact marks,
// targets, shots and the gun barrel under one directional light. Every
// object goes back to the plain view by loading the identity and applying
// the camera again; the matrix stack is not used.
#include <GL/freeglut.h>

#include <cmath>

#include "render.h"
#include "world.h"

const float lightDiffuse[4] = {1.0f, 0.9f, 0.6f, 0.0f};
const float lightPosition[4] = {0.0f, 1.0f, 0.8f, 0.0f};

namespace {

constexpr double NEAR_PLANE = 0.1;          // world units
constexpr double FAR_PLANE = 1000.0;        // world units
constexpr double TARGET_MESH_RADIUS = 2.0;  // world units, the target sphere's vertices
constexpr double SHOT_MESH_RADIUS = 0.05;   // world units, the shot sphere's vertices

const float floorColor[4] = {0.85f, 0.75f, 0.6f, 1.0f};
const float floorSpecular[4] = {0.0f, 0.0f, 0.0f, 1.0f};
const float markColor[4] = {0.6f, 0.5f, 0.3f, 1.0f};
const float markSpecular[4] = {0.0f, 0.0f, 0.0f, 1.0f};
const float targetSpecular[4] = {0.0f, 0.0f, 0.0f, 1.0f};
const float shotColor[4] = {0.0f, 0.0f, 0.0f, 1.0f};
const float shotSpecular[4] = {0.0f, 0.0f, 0.0f, 1.0f};
const float gunColor[4] = {0.0f, 0.0f, 0.0f, 1.0f};
const float gunSpecular[4] = {1.0f, 1.0f, 1.0f, 1.0f};

// Vertical field of view in degrees for a zoom level 0..3 (64, 32, 16, 8).
double fieldOfView(int zoomLevel) {
    switch (zoomLevel) {
        case 1: return 32.0;
        case 2: return 16.0;
        case 3: return 8.0;
        default: return 64.0;
    }
}

// Width over height of the window; 1 until a reshape has given a height.
double windowAspect() {
    if (world.windowHeight <= 0) return 1.0;
    return static_cast<double>(world.windowWidth) / static_cast<double>(world.windowHeight);
}

// Replaces the projection with the perspective of the current zoom level.
void applyProjection() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fieldOfView(world.zoomLevel), windowAspect(), NEAR_PLANE, FAR_PLANE);
}

// Sets ambient and diffuse on `face`, then specular and shininess on the front.
void setMaterial(GLenum face, const float* color, const float* specular, float shininess) {
    glMaterialfv(face, GL_AMBIENT_AND_DIFFUSE, color);
    glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    glMaterialf(GL_FRONT, GL_SHININESS, shininess);
}

// Points the client vertex and normal arrays at one packed mesh and draws
// its `count` vertices as one triangle strip.
void drawMesh(const float* vertices, const float* normals, int count) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, vertices);
    glNormalPointer(GL_FLOAT, 0, normals);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, count);
}

// Loads the identity into the model-view matrix and applies the camera.
void plainView() {
    glLoadIdentity();
    applyCamera();
}

// The camera and projection of this frame, for the tests of what can be seen.
FrameView thisFrameView() {
    return frameView(world.yawDeg, fieldOfView(world.zoomLevel), world.windowWidth,
                     world.windowHeight);
}

// True when a ball of `radius` world units at (x, y, z) is to be drawn.
bool worthDrawing(const FrameView& view, double x, double y, double z, double radius) {
    return drawEverything || sphereMayBeSeen(view, x, y, z, radius);
}

}  // namespace

void display() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glShadeModel(GL_SMOOTH);
    applyProjection();
    glMatrixMode(GL_MODELVIEW);
    applyCamera();
    drawFloor();
    drawImpactMarks();
    drawTargets();
    drawShots();
    drawGun();
    drawHud();
}

void applyCamera() {
    double centre[2] = {0.0, 0.0};
    lookAtCentre(world.yawDeg, centre);
    gluLookAt(0.0, 1.5, 0.0, centre[0], 1.0, centre[1], 0.0, 1.0, 0.0);
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
}

void drawFloor() {
    plainView();
    setMaterial(GL_FRONT_AND_BACK, floorColor, floorSpecular, 0.0f);
    glBegin(GL_TRIANGLE_STRIP);
    glNormal3f(0.0f, 1.0f, 0.0f);
    glVertex3f(-1200.0f, 0.0f, 1200.0f);
    glNormal3f(0.0f, 1.0f, 0.0f);
    glVertex3f(1200.0f, 0.0f, 1200.0f);
    glNormal3f(0.0f, 1.0f, 0.0f);
    glVertex3f(-1200.0f, 0.0f, -1200.0f);
    glNormal3f(0.0f, 1.0f, 0.0f);
    glVertex3f(1200.0f, 0.0f, -1200.0f);
    glEnd();
    // The floor's normal (0, 1, 0) stays current: the marks are lit by it.
}

void drawImpactMarks() {
    // The tube lies in the ball around its middle that reaches its rims.
    const FrameView view = thisFrameView();
    const double middle = world.gunHeight / 2.0;
    const double reach = std::sqrt(0.8 * 0.8 + middle * middle);
    setMaterial(GL_FRONT, markColor, markSpecular, 0.0f);
    for (const ImpactMark& mark : world.impactMarks) {
        if (mark.ttl <= 0) continue;
        if (!worthDrawing(view, mark.x, middle, mark.z, reach)) continue;
        plainView();
        glTranslatef(mark.x, 0.0f, mark.z);
        // An open tube from the floor up to the gun's height, without normals.
        glBegin(GL_TRIANGLE_STRIP);
        for (int k = 0; k < MARK_RING_POINTS; k++) {
            glVertex3f(markRingX[k], 0.0f, markRingZ[k]);
            glVertex3f(markRingX[k], world.gunHeight, markRingZ[k]);
        }
        glEnd();
    }
}

void drawTargets() {
    plainView();
    glMaterialf(GL_FRONT, GL_SHININESS, 0.2f);
    glMaterialfv(GL_FRONT, GL_SPECULAR, targetSpecular);
    const FrameView view = thisFrameView();
    for (const Target& target : world.targets) {
        if (target.state == TARGET_FREE) continue;
        if (!worthDrawing(view, target.pos[0], target.pos[1], target.pos[2], TARGET_MESH_RADIUS)) {
            continue;
        }
        glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, target.color);
        glTranslated(target.pos[0], target.pos[1], target.pos[2]);
        drawMesh(targetSphereVertices, targetSphereNormals, SPHERE_VERTEX_COUNT);
        plainView();
    }
}

void drawShots() {
    plainView();
    setMaterial(GL_FRONT, shotColor, shotSpecular, 0.0f);
    const FrameView view = thisFrameView();
    for (const Shot& shot : world.shots) {
        if (shot.state != SHOT_FLYING) continue;
        if (!worthDrawing(view, shot.pos[0], shot.pos[1], shot.pos[2], SHOT_MESH_RADIUS)) continue;
        glTranslatef(shot.pos[0], shot.pos[1], shot.pos[2]);
        drawMesh(shotSphereVertices, shotSphereNormals, SPHERE_VERTEX_COUNT);
        plainView();
    }
}

void drawGun() {
    plainView();
    glTranslatef(world.playerX, world.gunHeight, world.playerZ);
    glRotatef(world.yawDeg, 0.0f, 1.0f, 0.0f);
    glRotatef(world.pitchDeg, -1.0f, 0.0f, 0.0f);
    setMaterial(GL_FRONT, gunColor, gunSpecular, 92.0f);
    drawMesh(gunVertices, gunNormals, GUN_VERTEX_COUNT);
}
