// SPDX-License-Identifier: MIT
// What the driver does through the X server: find the game's window, read
// its pixels, press and release keys, ask the window to close.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    uint8_t r = 0;  // 0..255
    uint8_t g = 0;  // 0..255
    uint8_t b = 0;  // 0..255
};

// One picture of a window, rows from the top.
struct Frame {
    int width = 0;            // pixels
    int height = 0;           // pixels
    std::vector<Rgb> pixels;  // width * height, row after row from the top
};

// The pixel at x from the left and y from the top.
inline Rgb pixelAt(const Frame& frame, int x, int y) {
    return frame.pixels[static_cast<size_t>(y) * static_cast<size_t>(frame.width) +
                        static_cast<size_t>(x)];
}

// Opens a connection to the display with an error handler that records
// errors instead of ending the driver; nullptr when it cannot connect.
Display* openDisplay(const std::string& name);

// The title of a window: WM_NAME, else _NET_WM_NAME; empty when it has none.
std::string windowTitle(Display* display, Window window);

// The first viewable window titled `title` in the whole tree, or 0.
Window findWindowByTitle(Display* display, const std::string& title);

// The first viewable window of the class `name` (WM_CLASS) in the whole tree, or 0.
Window findWindowByClass(Display* display, const std::string& name);

// Size of a window's drawing area in pixels; false when the window is gone.
bool windowSize(Display* display, Window window, int& width, int& height);

// Reads the window's pixels from the X server, all rows or only the top
// `rows` of them; false when it cannot.
bool grabFrame(Display* display, Window window, Frame& frame, int rows = 0);

// Does what a window manager would: places the window on the screen at
// (0, 0) (freeglut leaves an unplaced window at (-1, -1), one pixel off the
// screen, where XGetImage refuses it), moves the pointer into it and gives
// it the keyboard focus, telling it so with WM_TAKE_FOCUS when it asks for
// that protocol (Wine activates its window on that message, not on the focus).
void focusWindow(Display* display, Window window);

// A real key press (down true) or release through the XTest extension.
void sendKey(Display* display, unsigned long keysym, bool down);

// The window manager's close request: WM_PROTOCOLS / WM_DELETE_WINDOW.
void sendCloseRequest(Display* display, Window window);

// Writes the frame as a binary PPM picture (for looking at a failure).
void saveFrame(const Frame& frame, const std::string& path);

// The window's ancestor that is a child of the root window: the window
// manager's frame around it, or the window itself when it has none.
Window topLevelAncestor(Display* display, Window window);

// True when a window manager has announced itself on the root window
// (_NET_SUPPORTING_WM_CHECK).
bool windowManagerRunning(Display* display);

// True when the XTest extension is there.
bool hasXTest(Display* display);
