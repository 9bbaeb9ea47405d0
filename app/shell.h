// SPDX-License-Identifier: MIT
// The application shell: start-up, the new-game reset and the reshape callback.
#pragma once

// Gives the world its starting values, builds the meshes, sets light 0, the
// clear colour, the depth test and lighting, and asks for a joystick. Needs
// the window's OpenGL context to be current.
void newGame();

// The reshape callback: the viewport follows the window, whose size in
// pixels is stored for the projection. A zero height (a minimised window)
// keeps the last good size; the next frame builds its projection from it.
void reshape(int width, int height);

// Keeps memory that is freed in the heap for reuse instead of handing it
// back to the system at once. Called first thing, before the toolkit starts.
void keepFreedMemory();

// Asks the driver not to hold buffer swaps for the display's refresh (swap
// interval 0), where it offers a way; otherwise does nothing. Needs the
// window's OpenGL context to be current. One file per window system.
void unsyncSwaps();

// True when the space-separated list `extensions` (may be null) names the
// extension `name` as a whole word.
bool listsExtension(const char* extensions, const char* name);

// Everything the game does before its main loop: the allocator set-up, the
// toolkit (which takes its own options from the command line), the 600 x 600
// RGBA double-buffered window "Zarvel" with a depth buffer, the callbacks,
// the new-game reset and, when one was found, the joystick.
void startGame(int* argc, char** argv);
