// SPDX-License-Identifier: MIT
// Input callbacks: they only record which controls are held (keyBits,
// joystickBits). The one immediate effect is F, whose release flips showFps.
#pragma once

// Key codes of the toolkit's arrow keys (GLUT_KEY_LEFT .. GLUT_KEY_DOWN).
constexpr int KEY_LEFT = 100;
constexpr int KEY_UP = 101;
constexpr int KEY_RIGHT = 102;
constexpr int KEY_DOWN = 103;

// Character key pressed; x and y (mouse position) are ignored.
void keyboard(unsigned char key, int x, int y);
// Character key released; the release of F or f flips showFps.
void keyboardUp(unsigned char key, int x, int y);
// Special key (arrow) pressed.
void special(int key, int x, int y);
// Special key released.
void specialUp(int key, int x, int y);
// One joystick sample: buttons bit 0..3, axes x and y in -1000..1000, z ignored.
void joystickInput(unsigned int buttonMask, int x, int y, int z);
