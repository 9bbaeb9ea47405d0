// SPDX-License-Identifier: MIT
// Keyboard, special-key and joystick callbacks.
#include "controls.h"

#include "world.h"

// The control a character key holds, or 0 for keys the game ignores.
// Both cases of a letter act alike.
static ControlBits characterControl(unsigned char key) {
    switch (key) {
        case ' ': return CONTROL_FIRE;
        case 'Z':
        case 'z': return CONTROL_ZOOM1;
        case 'X':
        case 'x': return CONTROL_ZOOM2;
        case 'C':
        case 'c': return CONTROL_ZOOM3;
        default: return 0;
    }
}

// The control an arrow key holds, or 0 for other special keys.
static ControlBits specialControl(int key) {
    switch (key) {
        case KEY_LEFT: return CONTROL_LEFT;
        case KEY_UP: return CONTROL_UP;
        case KEY_RIGHT: return CONTROL_RIGHT;
        case KEY_DOWN: return CONTROL_DOWN;
        default: return 0;
    }
}

void keyboard(unsigned char key, int /*x*/, int /*y*/) { world.keyBits |= characterControl(key); }

void keyboardUp(unsigned char key, int /*x*/, int /*y*/) {
    world.keyBits &= ~characterControl(key);
    if (key == 'F' || key == 'f') {
        world.showFps ^= 1;
    }
}

void special(int key, int /*x*/, int /*y*/) { world.keyBits |= specialControl(key); }

void specialUp(int key, int /*x*/, int /*y*/) { world.keyBits &= ~specialControl(key); }

void joystickInput(unsigned int buttonMask, int x, int y, int /*z*/) {
    ControlBits bits = 0;
    // The axis tests are strict: the middle half of each axis is a dead zone.
    if (y < -500) bits |= CONTROL_UP;
    if (y > 500) bits |= CONTROL_DOWN;
    if (x < -500) bits |= CONTROL_LEFT;
    if (x > 500) bits |= CONTROL_RIGHT;
    if (buttonMask & 1u) bits |= CONTROL_FIRE;
    if (buttonMask & 2u) bits |= CONTROL_ZOOM1;
    if (buttonMask & 4u) bits |= CONTROL_ZOOM2;
    if (buttonMask & 8u) bits |= CONTROL_ZOOM3;
    // freeglut calls this once for each attached stick, and the step clears
    // the bits before it polls: a control held on any stick counts.
    world.joystickBits |= bits;
}
