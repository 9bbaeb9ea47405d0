// SPDX-License-Identifier: MIT
// The overlay: one yellow line of hits, shots left and, when switched on,
// the step rate, drawn in the toolkit's bitmap font; then the buffer swap.
#include <GL/freeglut.h>

#include "render.h"
#include "world.h"

namespace {

// Appends one character to the line.
void put(HudLine& line, char c) {
    line.text[line.length] = c;
    line.length++;
    line.text[line.length] = '\0';
}

// Appends the digit `value` (0..9) as a character.
void putDigit(HudLine& line, int value) { put(line, static_cast<char>('0' + value)); }

// Appends the hit count: three digits with leading zeros up to 999, and
// from 1000 on every digit of the count, so that the field widens.
void putHits(HudLine& line, int hitCount) {
    if (hitCount < 1000) {
        putDigit(line, hitCount / 100);
        putDigit(line, (hitCount % 100) / 10);
        putDigit(line, hitCount % 10);
        return;
    }
    char digits[12] = {};
    int count = 0;
    for (int rest = hitCount; rest > 0; rest /= 10) {
        digits[count] = static_cast<char>('0' + rest % 10);
        count++;
    }
    while (count > 0) {
        count--;
        put(line, digits[count]);
    }
}

}  // namespace

HudLine hudLine(int hitCount, int shotsLeft, int showFps, int fpsValue) {
    HudLine line;
    putHits(line, hitCount);
    put(line, '/');
    putDigit(line, shotsLeft / 10000);
    putDigit(line, (shotsLeft % 10000) / 1000);
    putDigit(line, (shotsLeft % 1000) / 100);
    putDigit(line, (shotsLeft % 100) / 10);
    putDigit(line, shotsLeft % 10);
    if (showFps != 0) {
        const char label[] = " FPS:";
        for (int i = 0; i < 5; i++) put(line, label[i]);
        if (fpsValue > 99) putDigit(line, (fpsValue % 1000) / 100);
        if (fpsValue > 9) putDigit(line, (fpsValue % 100) / 10);
        putDigit(line, fpsValue % 10);
    }
    return line;
}

void drawHud() {
    glDisable(GL_LIGHTING);
    // Both matrices at the identity: the raster position is in device units.
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glColor3f(1.0f, 1.0f, 0.0f);
    glRasterPos3f(-0.95f, 0.9f, 0.5f);
    const HudLine line = hudLine(world.hitCount, world.shotsLeft, world.showFps, world.fpsValue);
    for (int i = 0; i < line.length; i++) {
        glutBitmapCharacter(GLUT_BITMAP_HELVETICA_18, static_cast<unsigned char>(line.text[i]));
    }
    glutSwapBuffers();
}
