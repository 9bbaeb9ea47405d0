// SPDX-License-Identifier: MIT
// What the game asks of Windows itself, where freeglut tells it nothing:
// whether its window still has the keyboard and which keys are down, and
// that buffer swaps need not wait for the display. The window is the one of
// the current OpenGL context, which freeglut made current when it created
// the one window.
#include <GL/gl.h>
#include <windows.h>

#include "shell.h"
#include "toolkit.h"
#include "world.h"

namespace {

// The virtual keys that hold one control: any of them down holds it (the
// keypad's arrows send the same keys as the arrows).
struct ControlKeys {
    ControlBits control = 0;
    int key = 0;
};

constexpr int MAX_CONTROL_KEYS = 8;
const ControlKeys controlKeys[MAX_CONTROL_KEYS] = {
    {CONTROL_UP, VK_UP},       {CONTROL_DOWN, VK_DOWN},  {CONTROL_LEFT, VK_LEFT},
    {CONTROL_RIGHT, VK_RIGHT}, {CONTROL_FIRE, VK_SPACE}, {CONTROL_ZOOM1, 'Z'},
    {CONTROL_ZOOM2, 'X'},      {CONTROL_ZOOM3, 'C'},
};

// A function of the driver by name, or null: wglGetProcAddress's answer as
// a plain function pointer type.
template <typename Function>
Function driverFunction(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(wglGetProcAddress(name)));
}

}  // namespace

// Of the controls `held`, those whose keys are down while the game's window
// has the keyboard focus.
int toolkitKeysStillDown(int held) {
    const HWND window = WindowFromDC(wglGetCurrentDC());
    if (window == nullptr) return held;
    if (GetFocus() != window) return 0;
    int down = 0;
    for (const ControlKeys& entry : controlKeys) {
        if ((GetAsyncKeyState(entry.key) & 0x8000) != 0) down |= entry.control;
    }
    return held & down;
}

void unsyncSwaps() {
    // WGL_EXT_swap_control starts at interval 1, where every swap waits for
    // the display's refresh; each step draws one frame, so the step would
    // wait too. Interval 0 lets the swap return at once. The extension list
    // is asked first, as the extension requires.
    using ExtensionsString = const char*(WINAPI*)();
    using SwapInterval = BOOL(WINAPI*)(int);
    const auto extensionsString = driverFunction<ExtensionsString>("wglGetExtensionsStringEXT");
    if (extensionsString == nullptr) return;
    if (!listsExtension(extensionsString(), "WGL_EXT_swap_control")) return;
    const auto swapInterval = driverFunction<SwapInterval>("wglSwapIntervalEXT");
    if (swapInterval != nullptr) swapInterval(0);
}
