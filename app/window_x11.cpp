// SPDX-License-Identifier: MIT
// What the game asks of the X window system itself, where freeglut tells it
// nothing: whether its window still has the keyboard and which keys are
// down, and that buffer swaps need not wait for the display. The window and
// its connection are the current GLX drawable and display, which freeglut
// made current when it created the one window.
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include "shell.h"
#include "toolkit.h"
#include "world.h"

namespace {

// The keys that hold one control: any of them down holds it (the keypad's
// arrows are arrows to freeglut too).
struct ControlKeys {
    ControlBits control = 0;
    KeySym keys[2] = {NoSymbol, NoSymbol};
};

constexpr int MAX_CONTROL_KEYS = 8;
const ControlKeys controlKeys[MAX_CONTROL_KEYS] = {
    {CONTROL_UP, {XK_Up, XK_KP_Up}},       {CONTROL_DOWN, {XK_Down, XK_KP_Down}},
    {CONTROL_LEFT, {XK_Left, XK_KP_Left}}, {CONTROL_RIGHT, {XK_Right, XK_KP_Right}},
    {CONTROL_FIRE, {XK_space, NoSymbol}},  {CONTROL_ZOOM1, {XK_z, XK_Z}},
    {CONTROL_ZOOM2, {XK_x, XK_X}},         {CONTROL_ZOOM3, {XK_c, XK_C}},
};

// True when a key that makes `keysym` is down in the server's key map;
// `known` is set when the keyboard has such a key at all.
bool keyIsDown(Display* display, const char keymap[32], KeySym keysym, bool& known) {
    const KeyCode code = XKeysymToKeycode(display, keysym);
    if (code == 0) return false;
    known = true;
    return (keymap[code >> 3] & (1 << (code & 7))) != 0;
}

// True while key events go to `window`: the input focus is on it, or the
// focus follows the pointer (PointerRoot, or an ancestor such as a window
// manager's frame) and the pointer is inside it. One to three round trips.
bool hasKeyboard(Display* display, Window window) {
    Window focus = None;
    int revertTo = 0;
    XGetInputFocus(display, &focus, &revertTo);
    if (focus == window) return true;
    if (focus == None) return false;
    if (focus != PointerRoot) {
        // Is the focus an ancestor of the game's window?
        Window root = None;
        Window parent = window;
        Window* children = nullptr;
        unsigned int count = 0;
        while (parent != focus && parent != root) {
            if (XQueryTree(display, parent, &root, &parent, &children, &count) == 0) return false;
            if (children != nullptr) XFree(children);
        }
        if (parent != focus) return false;
    }
    Window root = None;
    Window child = None;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned int buttons = 0;
    if (XQueryPointer(display, window, &root, &child, &rootX, &rootY, &x, &y, &buttons) == 0) {
        return false;
    }
    return x >= 0 && y >= 0 && x < world.windowWidth && y < world.windowHeight;
}

}  // namespace

// Of the controls `held`, those whose keys are down while the game's window
// has the keyboard: two round trips to the server (focus, key map).
int toolkitKeysStillDown(int held) {
    Display* display = glXGetCurrentDisplay();
    const Window window = glXGetCurrentDrawable();
    if (display == nullptr || window == None) return held;
    if (!hasKeyboard(display, window)) return 0;
    char keymap[32] = {};
    XQueryKeymap(display, keymap);
    int down = 0;
    for (const ControlKeys& entry : controlKeys) {
        if ((held & entry.control) == 0) continue;
        bool known = false;
        bool pressed = false;
        for (const KeySym keysym : entry.keys) {
            if (keysym != NoSymbol) pressed = keyIsDown(display, keymap, keysym, known) || pressed;
        }
        // A control that no key of this keyboard makes is left as it is.
        if (pressed || !known) down |= entry.control;
    }
    return held & down;
}

void unsyncSwaps() {
    // Many drivers start a window at swap interval 1, where every swap waits
    // for the display's refresh; each step draws one frame, so the step would
    // wait too and the game would run at 60 steps a second on a 60 Hz
    // display. Interval 0 lets the swap return at once. The extension list
    // is asked first: glXGetProcAddress hands out a pointer for any name.
    // GLX_SGI_swap_control is never used, as it refuses 0.
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    if (display == nullptr || drawable == None) return;
    const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
    if (listsExtension(extensions, "GLX_EXT_swap_control")) {
        const auto swapIntervalExt = reinterpret_cast<PFNGLXSWAPINTERVALEXTPROC>(
            glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXSwapIntervalEXT")));
        if (swapIntervalExt != nullptr) swapIntervalExt(display, drawable, 0);
    } else if (listsExtension(extensions, "GLX_MESA_swap_control")) {
        const auto swapIntervalMesa = reinterpret_cast<PFNGLXSWAPINTERVALMESAPROC>(
            glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXSwapIntervalMESA")));
        if (swapIntervalMesa != nullptr) swapIntervalMesa(0);
    }
}
